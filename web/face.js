// The face on its canvas. A change of an image marks its rectangle; one
// animation frame redraws the marked rectangles, and nothing runs while
// nothing changes. The canvas has a pixel for every device pixel and the
// face a whole number of them per face pixel; a window too small for one is
// shown smoothly scaled down from that.
export const ROLE_BUTTON = 1, ROLE_PRESSED = 2, ROLE_SEGMENT = 3, ROLE_GLYPH = 5;
const WHOLE_FACE_AFTER = 24;  // marked rectangles beyond which the whole face is redrawn

export function createFace(canvas, module, images) {
  const context = canvas.getContext('2d');
  let width = canvas.width, height = canvas.height;
  let deviceScale = 1;  // canvas pixels per face pixel, whole
  const dirty = [];
  let wholeFace = false;
  let frameRequested = false;
  let frames = 0;

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
    for (let id = 0; id < images.length; id++) {
      const image = images[id];
      if (image.role === ROLE_GLYPH || !module._zw_image_visible(id) || !intersects(image.rect, area)) continue;
      const source = module._zw_image_picture(id);
      const bitmap = source >= 0 && images[source].bitmap;
      if (bitmap) context.drawImage(bitmap, image.rect.left, image.rect.top, image.rect.width, image.rect.height);
    }
    context.restore();
  }
  function drawAll() {
    dirty.length = 0;
    wholeFace = false;
    drawRect({ left: 0, top: 0, width, height });
    frames++;
  }
  function drawDirty() {
    frameRequested = false;
    if (wholeFace) drawAll();
    else {
      dirty.splice(0).forEach(drawRect);
      frames++;
    }
  }

  return {
    setSize(w, h) { width = w; height = h; },
    imageChanged(id) {
      if (!images[id]) return;
      if (!wholeFace) dirty.push(images[id].rect);
      if (dirty.length > WHOLE_FACE_AFTER) {
        wholeFace = true;
        dirty.length = 0;
      }
      if (!frameRequested) {
        frameRequested = true;
        requestAnimationFrame(drawDirty);
      }
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
