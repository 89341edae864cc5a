// The face on its canvas. A change of an image marks its rectangle; one
// animation frame redraws the marked rectangles, and nothing runs while
// nothing changes. The canvas has a pixel for every device pixel and the
// face a whole number of them per face pixel; a window too small for one is
// shown smoothly scaled down from that.
//
// With the LCD look, the face behaves as the desktop's does (shell/lcd_look.h):
// a segment darkens over 60 ms and clears over 120 ms, a digit's old picture
// clearing while the new one darkens, and every dark segment casts a faint
// shadow, its own shape in black 2 face pixels down and to the right, within
// the LCD area. Animation frames run only while a segment is changing.
export const ROLE_BUTTON = 1, ROLE_PRESSED = 2, ROLE_SEGMENT = 3, ROLE_DIGIT = 4, ROLE_GLYPH = 5;
const WHOLE_FACE_AFTER = 24;  // marked rectangles beyond which the whole face is redrawn
const DARKEN_MS = 60, CLEAR_MS = 120, SHADOW_OFFSET = 2, SHADOW_OPACITY = 0.2;
const LCD_AREA = 1;  // the overlay im_background_screen_top lies over the whole LCD

export function createFace(canvas, module, images) {
  const context = canvas.getContext('2d');
  let width = canvas.width, height = canvas.height;
  let deviceScale = 1;  // canvas pixels per face pixel, whole
  const dirty = [];
  let wholeFace = false;
  let frameRequested = false;
  let frames = 0;
  let look = false;
  const fades = new Map();  // image id -> { shown, shownFrom, shownSince, leaving, leavingFrom, leavingSince }
  const silhouettes = new Map();  // picture's image id -> its shape in black
  const isLcd = id => images[id].role === ROLE_SEGMENT || images[id].role === ROLE_DIGIT;
  const drawnPicture = id => (module._zw_image_visible(id) ? module._zw_image_picture(id) : -1);
  const atRest = shown => ({ shown, shownFrom: 1, shownSince: 0, leaving: -1, leavingFrom: 0, leavingSince: 0 });
  const shownLevel = (f, now) => Math.min(1, f.shownFrom + (now - f.shownSince) / DARKEN_MS);
  const leavingLevel = (f, now) => Math.max(0, f.leavingFrom - (now - f.leavingSince) / CLEAR_MS);
  const settled = (f, now) => (f.shown < 0 || shownLevel(f, now) >= 1) && (f.leaving < 0 || leavingLevel(f, now) <= 0);
  const reach = r => ({ left: r.left, top: r.top, width: r.width + SHADOW_OFFSET, height: r.height + SHADOW_OFFSET });
  function silhouette(source) {
    if (!silhouettes.has(source)) {
      const bitmap = images[source].bitmap;
      const shape = document.createElement('canvas');
      shape.width = bitmap.width;
      shape.height = bitmap.height;
      const c = shape.getContext('2d');
      c.drawImage(bitmap, 0, 0);
      c.globalCompositeOperation = 'source-in';
      c.fillStyle = '#000';
      c.fillRect(0, 0, shape.width, shape.height);
      silhouettes.set(source, shape);
    }
    return silhouettes.get(source);
  }
  // One picture of an LCD image at a darkness, moved by `offset`.
  function drawPicture(image, source, darkness, offset, shadow) {
    const bitmap = source >= 0 && images[source].bitmap;
    if (!bitmap || darkness <= 0) return;
    context.globalAlpha = darkness;
    context.drawImage(shadow ? silhouette(source) : bitmap, image.rect.left + offset, image.rect.top + offset,
                      image.rect.width, image.rect.height);
    context.globalAlpha = 1;
  }
  function drawShadows(area, now) {
    const lcd = images[LCD_AREA].rect;
    context.save();
    context.beginPath();
    context.rect(lcd.left, lcd.top, lcd.width, lcd.height);
    context.clip();
    for (const [id, f] of fades) {
      const image = images[id];
      if (!intersects(reach(image.rect), area)) continue;
      drawPicture(image, f.leaving, SHADOW_OPACITY * leavingLevel(f, now), SHADOW_OFFSET, true);
      drawPicture(image, f.shown, SHADOW_OPACITY * shownLevel(f, now), SHADOW_OFFSET, true);
    }
    context.restore();
  }

  function intersects(a, b) {
    return a.left < b.left + b.width && b.left < a.left + a.width &&
           a.top < b.top + b.height && b.top < a.top + a.height;
  }
  // Redraws the images over one face rectangle, clipped to whole canvas pixels.
  function drawRect(rect) {
    const x0 = rect.left * deviceScale, y0 = rect.top * deviceScale;
    const w = rect.width * deviceScale, h = rect.height * deviceScale;
    const area = { left: rect.left - 1, top: rect.top - 1, width: rect.width + 2, height: rect.height + 2 };
    context.save();
    context.setTransform(1, 0, 0, 1, 0, 0);
    context.beginPath();
    context.rect(x0, y0, w, h);
    context.clip();
    context.clearRect(x0, y0, w, h);
    context.setTransform(deviceScale, 0, 0, deviceScale, 0, 0);
    context.imageSmoothingEnabled = false;
    const now = performance.now();
    for (let id = 0; id < images.length; id++) {
      const image = images[id];
      if (look && isLcd(id)) {
        const f = fades.get(id);
        if (!intersects(reach(image.rect), area)) continue;
        drawPicture(image, f.leaving, leavingLevel(f, now), 0, false);
        drawPicture(image, f.shown, shownLevel(f, now), 0, false);
        continue;
      }
      if (image.role === ROLE_GLYPH || !module._zw_image_visible(id) || !intersects(image.rect, area)) continue;
      const source = module._zw_image_picture(id);
      const bitmap = source >= 0 && images[source].bitmap;
      if (bitmap) context.drawImage(bitmap, image.rect.left, image.rect.top, image.rect.width, image.rect.height);
      if (look && id === 0) drawShadows(area, now);
    }
    context.restore();
  }
  function drawAll() {
    dirty.length = 0;
    wholeFace = false;
    drawRect({ left: 0, top: 0, width, height });
    frames++;
  }
  function mark(rect) {
    if (!wholeFace) dirty.push(rect);
    if (dirty.length > WHOLE_FACE_AFTER) {
      wholeFace = true;
      dirty.length = 0;
    }
    if (!frameRequested) {
      frameRequested = true;
      requestAnimationFrame(drawDirty);
    }
  }
  // Each frame marks the fading segments again until they rest.
  function drawDirty() {
    frameRequested = false;
    const now = performance.now();
    const fading = [];
    for (const [id, f] of fades)
      if (f.leaving >= 0 || f.shownFrom < 1) {
        fading.push(id);
        if (settled(f, now)) fades.set(id, atRest(f.shown));
      }
    if (wholeFace) drawAll();
    else {
      dirty.splice(0).forEach(drawRect);
      frames++;
    }
    for (const id of fading) if (!settled(fades.get(id), now) || fades.get(id).leaving >= 0) mark(reach(images[id].rect));
  }

  return {
    setSize(w, h) { width = w; height = h; },
    imageChanged(id) {
      if (!images[id]) return;
      if (!(look && isLcd(id))) return mark(images[id].rect);
      // A segment going back to the picture it was clearing from darkens
      // again from where that had got to.
      const f = fades.get(id), drawn = drawnPicture(id), now = performance.now();
      if (drawn === f.shown) return;
      const returning = drawn >= 0 && drawn === f.leaving ? leavingLevel(f, now) : 0;
      fades.set(id, { shown: drawn, shownFrom: returning, shownSince: now, leaving: f.shown,
                      leavingFrom: f.shown >= 0 ? shownLevel(f, now) : 0, leavingSince: now });
      mark(reach(images[id].rect));
    },
    get lcdLook() { return look; },
    set lcdLook(on) {
      look = on;
      fades.clear();
      if (on) images.forEach((image, id) => { if (isLcd(id)) fades.set(id, atRest(drawnPicture(id))); });
      drawAll();
    },
    // Sizes the face for the window (the rule lives in index.html, which
    // applies it before the first paint) and redraws it.
    fit() {
      deviceScale = Math.max(1, window.zarvikLayout(width, height));
      canvas.width = width * deviceScale;
      canvas.height = height * deviceScale;
      drawAll();
    },
    // A point of the page in face pixels, and how many face pixels a CSS
    // pixel spans there.
    facePoint(clientX, clientY) {
      const box = canvas.getBoundingClientRect();
      const k = width / box.width;
      return { x: (clientX - box.left) * k, y: (clientY - box.top) * k, perCssPixel: k };
    },
    get frames() { return frames; },
  };
}
