// The Zarvik's page: loads the skin, draws the face on a canvas, turns keys,
// mouse and touch into button presses, plays the samples, and keeps the
// settings in localStorage. The handheld itself runs in the module; it calls
// back through `host` for its timers, pictures, sounds and settings.
'use strict';

(() => {
  const ROLE_BUTTON = 1, ROLE_PRESSED = 2, ROLE_GLYPH = 5;
  const IMAGE_COUNT = 81;
  const STORAGE_PREFIX = 'zarvik.';
  const MIN_TOUCH_TARGET = 44;  // CSS pixels a finger needs

  const canvas = document.getElementById('face');
  const context = canvas.getContext('2d');
  const muteButton = document.getElementById('mute');
  const statusLine = document.getElementById('status');

  let module = null;
  let faceWidth = canvas.width, faceHeight = canvas.height;
  let scale = 1;  // CSS pixels per face pixel
  let deviceScale = 1;  // canvas pixels per face pixel
  const images = [];  // per image: rect, role, bitmap (or null)
  const dirty = [];  // face rectangles to redraw at the next frame
  let frameRequested = false;

  // What the tests and the benchmark look at.
  const stats = { firstFrame: 0, moduleReady: 0, filesReady: 0, frames: 0, ready: false, errors: [] };

  function report(message) {
    stats.errors.push(message);
    statusLine.hidden = false;
    statusLine.textContent = statusLine.textContent ? `${statusLine.textContent}\n${message}` : message;
  }

  // Settings: kept in localStorage, or for this visit only when the browser
  // refuses storage.
  const memorySettings = new Map();
  let storageWorks = true;
  function readSetting(name) {
    if (storageWorks) {
      try { return localStorage.getItem(STORAGE_PREFIX + name); } catch (e) { storageFailed(e); }
    }
    return memorySettings.has(name) ? memorySettings.get(name) : null;
  }
  function writeSetting(name, value) {
    memorySettings.set(name, value);
    if (!storageWorks) return;
    try { localStorage.setItem(STORAGE_PREFIX + name, value); } catch (e) { storageFailed(e); }
  }
  function storageFailed(error) {
    storageWorks = false;
    report(`The browser keeps no settings for this page (${error.message}): high scores last until it is closed.`);
  }

  // Timers: one interval per handheld timer, none while the handheld waits.
  const intervals = new Map();
  function arm(timer, intervalMs) {
    disarm(timer);
    intervals.set(timer, setInterval(() => module._zw_fire(timer), intervalMs));
  }
  function disarm(timer) {
    clearInterval(intervals.get(timer));
    intervals.delete(timer);
  }

  // Sound: samples are fetched at once, decoded and played once the first
  // gesture has let the page start its audio context.
  let audio = null;
  let muted = readSetting('Muted') === '1';
  const samples = [];  // handle - 1: { bytes: Promise<ArrayBuffer>, buffer: AudioBuffer }
  const playing = new Set();
  function loadSample(name) {
    const sample = { name, buffer: null };
    sample.bytes = skinFile(name).catch(e => { report(`Cannot load the sound ${name}: ${e.message}`); return null; });
    samples.push(sample);
    if (audio) decodeSample(sample);
    return samples.length;
  }
  async function decodeSample(sample) {
    const bytes = await sample.bytes;
    if (!bytes) return;
    try {
      sample.buffer = await audio.decodeAudioData(bytes.slice().buffer);
    } catch (e) {
      report(`Cannot decode the sound ${sample.name}: ${e.message}`);
    }
  }
  function startAudio() {
    if (audio || !window.AudioContext) return;
    audio = new AudioContext();
    samples.forEach(decodeSample);
  }
  function playSample(handle) {
    const sample = samples[handle - 1];
    if (muted || !audio || !sample || !sample.buffer) return;
    const source = audio.createBufferSource();
    source.buffer = sample.buffer;
    source.connect(audio.destination);
    source.onended = () => playing.delete(source);
    playing.add(source);
    source.start();
  }
  function stopSamples() {
    for (const source of playing) source.stop();
    playing.clear();
  }
  function showMute() {
    muteButton.textContent = muted ? 'Sound off' : 'Sound on';
    muteButton.setAttribute('aria-pressed', String(muted));
  }
  muteButton.addEventListener('click', () => {
    muted = !muted;
    if (muted) stopSamples();
    writeSetting('Muted', muted ? '1' : '0');
    showMute();
    canvas.focus();
  });
  showMute();

  // Drawing: a change marks its image's rectangle; one frame redraws the
  // marked rectangles, and nothing runs while nothing changes.
  function imageChanged(id) {
    if (!images[id]) return;
    dirty.push(images[id].rect);
    if (!frameRequested) {
      frameRequested = true;
      requestAnimationFrame(drawDirty);
    }
  }
  function drawDirty() {
    frameRequested = false;
    const rects = dirty.splice(0);
    if (rects.length > 24) drawRect({ left: 0, top: 0, width: faceWidth, height: faceHeight });
    else rects.forEach(drawRect);
    stats.frames++;
  }
  function intersects(a, b) {
    return a.left < b.left + b.width && b.left < a.left + a.width &&
           a.top < b.top + b.height && b.top < a.top + a.height;
  }
  // Redraws the images over one face rectangle, clipped to whole canvas pixels.
  function drawRect(rect) {
    const x0 = Math.floor(rect.left * deviceScale), y0 = Math.floor(rect.top * deviceScale);
    const x1 = Math.ceil((rect.left + rect.width) * deviceScale);
    const y1 = Math.ceil((rect.top + rect.height) * deviceScale);
    const area = { left: x0 / deviceScale - 1, top: y0 / deviceScale - 1,
                   width: (x1 - x0) / deviceScale + 2, height: (y1 - y0) / deviceScale + 2 };
    context.save();
    context.setTransform(1, 0, 0, 1, 0, 0);
    context.beginPath();
    context.rect(x0, y0, x1 - x0, y1 - y0);
    context.clip();
    context.clearRect(x0, y0, x1 - x0, y1 - y0);
    context.setTransform(deviceScale, 0, 0, deviceScale, 0, 0);
    context.imageSmoothingEnabled = !Number.isInteger(deviceScale);
    for (let id = 0; id < IMAGE_COUNT; id++) {
      const image = images[id];
      if (!image || image.role === ROLE_GLYPH || !module._zw_image_visible(id)) continue;
      if (!intersects(image.rect, area)) continue;
      const source = module._zw_image_picture(id);
      const bitmap = source >= 0 && images[source].bitmap;
      if (bitmap) context.drawImage(bitmap, image.rect.left, image.rect.top, image.rect.width, image.rect.height);
    }
    context.restore();
  }
  function drawAll() {
    dirty.length = 0;
    drawRect({ left: 0, top: 0, width: faceWidth, height: faceHeight });
    stats.frames++;
  }

  // Whole-pixel steps where the window has room for them, else smooth
  // scaling down; the canvas has a pixel for every device pixel.
  function fit() {
    const bar = document.getElementById('bar').offsetHeight + 8;
    const room = Math.min(innerWidth / faceWidth, (innerHeight - bar) / faceHeight);
    scale = room >= 1 ? Math.floor(room) : Math.max(room, 0.1);
    const ratio = window.devicePixelRatio || 1;
    canvas.style.width = `${faceWidth * scale}px`;
    canvas.style.height = `${faceHeight * scale}px`;
    canvas.width = Math.round(faceWidth * scale * ratio);
    canvas.height = Math.round(faceHeight * scale * ratio);
    deviceScale = canvas.width / faceWidth;
    if (stats.ready) drawAll();
  }

  // A move to a screen of another density refits the canvas.
  function watchDensity() {
    matchMedia(`(resolution: ${devicePixelRatio}dppx)`).addEventListener('change', () => {
      fit();
      watchDensity();
    }, { once: true });
  }

  // The skin's files: from the site's pack when it holds them (one fetch for
  // all; names match whatever their letter case), else fetched one by one.
  let pack = null;
  async function loadPack() {
    const response = await fetch('skin.pack');
    if (!response.ok) return null;
    const buffer = await response.arrayBuffer();
    const length = new DataView(buffer).getUint32(0, true);
    const index = JSON.parse(new TextDecoder().decode(new Uint8Array(buffer, 4, length)));
    const bytes = new Uint8Array(buffer, 4 + length);
    // The pictures start decoding at once, while the module is still starting.
    const bitmaps = new Map();
    for (const [name, [offset, size]] of Object.entries(index))
      if (!name.endsWith('.wav'))
        bitmaps.set(name, createImageBitmap(new Blob([bytes.subarray(offset, offset + size)])));
    return { index, bytes, bitmaps };
  }
  async function skinFile(path) {
    const entry = pack && pack.index[path.toLowerCase()];
    if (entry) return pack.bytes.subarray(entry[0], entry[0] + entry[1]);
    const response = await fetch(path);
    if (!response.ok) throw new Error(`${response.status} ${response.statusText}`);
    return new Uint8Array(await response.arrayBuffer());
  }

  // Pictures: decoded by the browser. PNG and icons bring their own alpha.
  // A bitmap or JPEG is see-through where it has the skin's key colour (which
  // the desktop program's window shows as a hole) and, in any image but a
  // button, where it has the colour of its bottom-left pixel (white for a
  // two-colour bitmap).
  async function loadPicture(file, keyColour, opaque) {
    const bytes = await skinFile(file);
    const bitmap = await (pack?.bitmaps.get(file.toLowerCase()) || createImageBitmap(new Blob([bytes])));
    const isBitmap = bytes[0] === 0x42 && bytes[1] === 0x4d;
    const isJpeg = bytes[0] === 0xff && bytes[1] === 0xd8;
    if (!isBitmap && !isJpeg) return bitmap;
    const work = document.createElement('canvas');
    work.width = bitmap.width;
    work.height = bitmap.height;
    const g = work.getContext('2d', { willReadFrequently: true });
    g.drawImage(bitmap, 0, 0);
    const pixels = g.getImageData(0, 0, work.width, work.height);
    const d = pixels.data;
    const keys = [[keyColour >> 16 & 255, keyColour >> 8 & 255, keyColour & 255]];
    if (!opaque) {
      const twoColour = isBitmap && bytes.length > 29 && (bytes[28] | bytes[29] << 8) === 1;
      const corner = (work.height - 1) * work.width * 4;
      keys.push(twoColour ? [255, 255, 255] : [d[corner], d[corner + 1], d[corner + 2]]);
    }
    for (let i = 0; i < d.length; i += 4)
      for (const [r, gr, b] of keys)
        if (d[i] === r && d[i + 1] === gr && d[i + 2] === b) d[i + 3] = 0;
    g.putImageData(pixels, 0, 0);
    return work;
  }

  // Keys by the Windows-style codes the key bindings use. Keypad digits get
  // codes of their own, so they never act as the digit keys.
  function virtualKey(code) {
    let m;
    if ((m = /^Digit(\d)$/.exec(code))) return 48 + Number(m[1]);
    if ((m = /^Key([A-Z])$/.exec(code))) return m[1].charCodeAt(0);
    if ((m = /^Numpad(\d)$/.exec(code))) return 96 + Number(m[1]);
    return { ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39, ArrowDown: 40, AltLeft: 18, AltRight: 18,
             ControlLeft: 17, ControlRight: 17, ShiftLeft: 16, ShiftRight: 16, Space: 32 }[code] || 0;
  }
  const heldKeys = new Set();
  // A held key repeats its press; the handheld ignores a button already held.
  addEventListener('keydown', event => {
    startAudio();
    if (!module || event.target === muteButton && event.code === 'Space') return;
    const key = virtualKey(event.code);
    if (key && module._zw_key(key, 1)) {
      heldKeys.add(key);
      event.preventDefault();
    }
  });
  addEventListener('keyup', event => {
    const key = virtualKey(event.code);
    if (module && heldKeys.delete(key)) {
      module._zw_key(key, 0);
      event.preventDefault();
    }
  });

  // Mouse and touch: every pointer holds the button it went down on until it
  // is lifted, so that one finger can hold a button while another presses.
  const pointers = new Map();
  function buttonAt(event) {
    const box = canvas.getBoundingClientRect();
    const x = (event.clientX - box.left) / scale, y = (event.clientY - box.top) / scale;
    const reach = event.pointerType === 'mouse' ? 0 : MIN_TOUCH_TARGET / scale;
    let best = 0, bestDistance = Infinity;
    for (let id = 0; id < IMAGE_COUNT; id++) {
      const n = module._zw_button_of(id);
      if (!n) continue;
      const r = images[id].rect;
      const slackX = Math.max(0, (reach - r.width) / 2), slackY = Math.max(0, (reach - r.height) / 2);
      const dx = Math.max(r.left - slackX - x, 0, x - (r.left + r.width + slackX));
      const dy = Math.max(r.top - slackY - y, 0, y - (r.top + r.height + slackY));
      const distance = Math.hypot(x - (r.left + r.width / 2), y - (r.top + r.height / 2));
      if (dx === 0 && dy === 0 && distance < bestDistance) { best = n; bestDistance = distance; }
    }
    return best;
  }
  canvas.addEventListener('pointerdown', event => {
    startAudio();
    if (!module || event.button !== 0) return;
    const n = buttonAt(event);
    if (!n) return;
    event.preventDefault();
    canvas.setPointerCapture(event.pointerId);
    pointers.set(event.pointerId, n);
    module._zw_button(n, 1);
  });
  function pointerUp(event) {
    const n = pointers.get(event.pointerId);
    if (!n) return;
    pointers.delete(event.pointerId);
    module._zw_button(n, 0);
  }
  canvas.addEventListener('pointerup', pointerUp);
  canvas.addEventListener('pointercancel', pointerUp);
  canvas.addEventListener('contextmenu', event => event.preventDefault());
  // A page that loses the keyboard and the pointer releases what they held.
  addEventListener('blur', () => {
    for (const key of heldKeys) module._zw_key(key, 0);
    heldKeys.clear();
    for (const n of pointers.values()) module._zw_button(n, 0);
    pointers.clear();
  });

  function cString(text) {
    const size = module.lengthBytesUTF8(text) + 1;
    const pointer = module._malloc(size);
    module.stringToUTF8(text, pointer, size);
    return pointer;
  }

  async function start() {
    const config = fetch('Config.ini').then(r => {
      if (!r.ok) throw new Error(`Cannot read Config.ini: ${r.status} ${r.statusText}`);
      return r.text();
    });
    const packed = loadPack().catch(e => { report(`Cannot read skin.pack: ${e.message}`); return null; });
    module = await ZarvikModule({ host: { arm, disarm, imageChanged, loadSample, playSample, stopSamples,
                                          readSetting, writeSetting } });
    stats.moduleReady = performance.now();
    pack = await packed;
    const text = cString(await config);
    module._zw_load_config(text);
    module._free(text);
    faceWidth = module._zw_face_width();
    faceHeight = module._zw_face_height();
    stats.filesReady = performance.now();
    const keyColour = module._zw_key_colour();
    const loads = [];
    for (let id = 0; id < IMAGE_COUNT; id++) {
      const rect = ['left', 'top', 'width', 'height'].reduce(
          (r, field, i) => (r[field] = module._zw_image_rect(id, i), r), {});
      const role = module._zw_image_role(id);
      const name = module.UTF8ToString(module._zw_image_name(id));
      const image = images[id] = { name, rect, role, bitmap: null };
      const file = module.UTF8ToString(module._zw_image_file(id));
      if (!file) continue;
      const opaque = role === ROLE_BUTTON || role === ROLE_PRESSED;
      loads.push(loadPicture(file, keyColour, opaque)
          .then(bitmap => { image.bitmap = bitmap; })
          .catch(e => report(`Config.ini, [Image${id + 1}] (${file}): ${e.message}`)));
    }
    await Promise.all(loads);
    fit();
    const seed = Number(new URLSearchParams(location.search).get('seed')) >>> 0;
    module._zw_start(seed);
    drawAll();
    stats.firstFrame = performance.now();
    stats.ready = true;
    addEventListener('resize', fit);
    watchDensity();
    canvas.tabIndex = 0;
    canvas.focus();
  }

  window.zarvik = {
    stats,
    armedTimers: () => intervals.size,
    // 0 mode, 1 score, 2 misses, 3 high score A, 4 high score B.
    state: field => module ? module._zw_state(field) : -1,
    // Each image by name: its rectangle and whether it is shown.
    image: name => {
      const id = images.findIndex(image => image.name === name);
      return { ...images[id].rect, visible: module._zw_image_visible(id) === 1 };
    },
    // The four digit positions as shown, '_' for a blank one.
    digits: () => ['1', '2', '3', '4'].map(k => {
      const glyph = images[module._zw_image_picture(images.findIndex(i => i.name === `im_panel_digit_pos_${k}`))];
      return glyph ? glyph.name.slice(-1) : '_';
    }).join(''),
  };
  start().catch(e => report(e.message));
})();
