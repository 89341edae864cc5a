// The Zarvik's page: starts the handheld's module, loads the skin and joins
// the face, the inputs, the sound, the settings and the page's controls. The
// handheld itself runs in the module; it calls back through `host` for its
// timers, pictures, sounds and settings.
import { createFace, ROLE_PRESSED, ROLE_SEGMENT, ROLE_BUTTON } from './face.js';
import { createGamepads } from './gamepad.js';
import { createInput } from './input.js';
import { createKeyPanel } from './key_panel.js';
import { keepOffline } from './offline.js';
import { createReplays } from './replay.js';
import { DownloadError, createSkin, download, loadPack } from './skin.js';
import { createSound } from './sound.js';
import { createSettings } from './storage.js';
import { createTimers } from './timers.js';

const IMAGE_COUNT = 81;
// From the start delay to the end of the game-over display: what waits while
// the page is hidden. The watch displays go on showing the time.
const FIRST_GAME_MODE = 6;
const NO_WEBASSEMBLY = 'This browser cannot run the Zarvik: it has no WebAssembly, or WebAssembly is ' +
                       'switched off. Open the page in a current Chrome, Edge, Firefox or Safari, or switch ' +
                       'WebAssembly on, then reload the page.';

const $ = id => document.getElementById(id);
const canvas = $('face');
const stats = { firstFrame: 0, moduleReady: 0, filesReady: 0, ready: false, errors: [] };

// A line in the status box under the face.
function showStatus(message) {
  const text = $('status-text');
  text.textContent = text.textContent ? `${text.textContent}\n${message}` : message;
  $('status').hidden = false;
}
// A problem that leaves the game playable.
function report(message) {
  stats.errors.push(message);
  $('status').classList.remove('news');
  showStatus(message);
}
// A problem that stops the page: shown in the face's place.
function fail(message) {
  stats.errors.push(message);
  $('notice').classList.add('failed');
  $('notice').textContent = message;
}
// News with one action, in place of what the box said.
function showNews(message, actionText, act) {
  $('status-text').textContent = '';
  $('status').classList.add('news');
  showStatus(message);
  const action = $('status-action');
  action.textContent = actionText;
  action.hidden = false;
  action.onclick = act;
}
// A new build, ready to take over when the player says so.
function offerUpdate(takeOver) {
  const action = $('status-action');
  if (!$('status-text').textContent) $('status').classList.add('news');
  showStatus('A new version of the Zarvik is ready.');
  action.textContent = 'Reload';
  action.hidden = false;
  action.onclick = takeOver;
}

$('status-close').addEventListener('click', () => {
  $('status').hidden = true;
  $('status-text').textContent = '';
});

const settings = createSettings(report);
let module = null;
let skin = createSkin(null);
const timers = createTimers(timer => module._zw_fire(timer));
const sound = createSound({ skinFile: path => skin.file(path), settings, report });
const images = [];  // per image: name, rect, role, bitmap (or null)
let face = null;
let replays = null;
// Once a game of the player's has ended, its session can be saved.
const MISSES_AT_GAME_END = 5;
function offerSave() {
  if ($('save-replay').hidden && !replays.replaying && module._zw_state(2) >= MISSES_AT_GAME_END)
    $('save-replay').hidden = false;
}

const host = {
  arm: (timer, intervalMs) => timers.arm(timer, intervalMs),
  disarm: timer => timers.disarm(timer),
  imageChanged: id => {
    face.imageChanged(id);
    offerSave();
  },
  replayEnded: () => replays.ended(),
  loadSample: name => sound.load(name),
  playSample: handle => sound.play(handle),
  stopSamples: () => sound.stop(),
  readSetting: name => settings.read(name),
  writeSetting: (name, value) => settings.write(name, value),
};

// The module, instantiated from bytes the page downloads itself, so that a
// failed download or a damaged file says so in plain words.
function startModule(wasmBytes) {
  return new Promise((resolve, reject) => {
    ZarvikModule({
      host,
      instantiateWasm(imports, receive) {
        wasmBytes.then(bytes => WebAssembly.instantiate(bytes, imports).catch(e => {
          throw new Error(`The Zarvik's program (zarvik.wasm) is damaged: ${e.message}. Reload the page; ` +
                          'if this message comes back, the site needs to be built again.');
        })).then(({ instance, module }) => receive(instance, module), reject);
        return {};
      },
    }).then(resolve, reject);
  });
}

// Reads Config.ini in the module, then every picture it names.
async function loadImages(configText) {
  const size = module.lengthBytesUTF8(configText) + 1;
  const pointer = module._malloc(size);
  module.stringToUTF8(configText, pointer, size);
  module._zw_load_config(pointer);
  module._free(pointer);
  const keyColour = module._zw_key_colour();
  const loads = [];
  for (let id = 0; id < IMAGE_COUNT; id++) {
    const rect = ['left', 'top', 'width', 'height'].reduce(
        (r, field, i) => (r[field] = module._zw_image_rect(id, i), r), {});
    const role = module._zw_image_role(id);
    const image = images[id] = { name: module.UTF8ToString(module._zw_image_name(id)), rect, role, bitmap: null };
    const file = module.UTF8ToString(module._zw_image_file(id));
    if (!file) continue;
    const opaque = role === ROLE_BUTTON || role === ROLE_PRESSED;
    loads.push(skin.picture(file, keyColour, opaque)
        .then(bitmap => { image.bitmap = bitmap; })
        .catch(e => report(e instanceof DownloadError ? e.message :
            `The skin's picture ${file} (Config.ini, [Image${id + 1}]) is left out of the face: ${e.message}. ` +
            'Reload the page; if this message comes back, the skin needs repairing.')));
  }
  await Promise.all(loads);
}

// The key names as the hint uses them: "1", "P", "Left", "Space"...
function keyName(index) {
  const text = module.UTF8ToString(module._zw_key_choice(index));
  if (!text.startsWith('<')) return text;
  const word = text.slice(1, -1).replace(' ARROW', '').replace('SPACEBAR', 'SPACE');
  return word[0] + word.slice(1).toLowerCase();
}
let pads = null;
function showHint() {
  const [a, b, time, left, right] = [1, 2, 3, 4, 5].map(n => keyName(module._zw_key_index(n)));
  const hint = pads?.connected ? 'Gamepad: A game A, B game B, Start time, D-pad or stick to move'
      : document.documentElement.classList.contains('touch') ? 'Tap the buttons on the face'
      : `Keys ${a}, ${b}, ${time}, ${left} and ${right}, or click the buttons`;
  $('hint').textContent = hint;
  $('hint').title = hint;
}

function setUpControls(input) {
  const muteButton = $('mute');
  const showMute = () => {
    muteButton.textContent = sound.muted ? 'Sound off' : 'Sound on';
    muteButton.setAttribute('aria-pressed', String(sound.muted));
  };
  muteButton.addEventListener('click', () => { sound.muted = !sound.muted; showMute(); });
  showMute();

  const lookButton = $('lcd-look');
  const showLook = () => lookButton.setAttribute('aria-pressed', String(face.lcdLook));
  lookButton.addEventListener('click', () => {
    face.lcdLook = !face.lcdLook;
    settings.write('LcdLook', face.lcdLook ? '1' : '0');
    showLook();
  });
  showLook();
  $('save-replay').addEventListener('click', () => replays.save());
  $('open-replay').addEventListener('click', () => $('replay-file').click());
  $('replay-file').addEventListener('change', event => {
    const [file] = event.target.files;
    if (file) replays.fromFile(file);
  });

  const panel = createKeyPanel({ module, dialog: $('keys'), onAccept: showHint });
  $('keys-button').addEventListener('click', () => { input.releaseAll(); panel.open(); });

  const fullscreenButton = $('fullscreen');
  fullscreenButton.addEventListener('click', () => {
    if (document.fullscreenElement) {
      document.exitFullscreen();
      return;
    }
    document.documentElement.requestFullscreen({ navigationUI: 'hide' }).then(
        // Phones turn to landscape; elsewhere the lock is refused, which is fine.
        () => screen.orientation?.lock?.('landscape').catch(() => {}),
        e => report(`The page cannot go full screen here: ${e.message}`));
  });
  document.addEventListener('fullscreenchange', () => {
    const full = !!document.fullscreenElement;
    document.documentElement.classList.toggle('fullscreen', full);
    fullscreenButton.textContent = full ? 'Exit full screen' : 'Full screen';
    face.fit();
  });

  // A click with the mouse leaves no focus on the bar's buttons, so that the
  // game's keys (the space bar among them) go on reaching the game.
  for (const button of $('bar').querySelectorAll('button'))
    button.addEventListener('click', event => { if (event.detail) button.blur(); });
}

// A hidden page lets go of every input and falls silent; a game waits.
function watchVisibility(input) {
  const hide = () => {
    input.releaseAll();
    pads.releaseAll();
    sound.suspend();
    if (module._zw_state(0) >= FIRST_GAME_MODE) timers.pause();
  };
  const show = () => {
    timers.resume();
    sound.resume();
  };
  document.addEventListener('visibilitychange', () => (document.hidden ? hide() : show()));
  addEventListener('pagehide', hide);
  addEventListener('pageshow', event => { if (event.persisted && !document.hidden) show(); });
}

// A move to a screen of another density refits the face.
function watchDensity() {
  matchMedia(`(resolution: ${devicePixelRatio}dppx)`).addEventListener('change', () => {
    face.fit();
    watchDensity();
  }, { once: true });
}

async function start() {
  if (typeof WebAssembly !== 'object') throw new Error(NO_WEBASSEMBLY);
  if (typeof ZarvikModule !== 'function')
    throw new DownloadError('The Zarvik could not download zarvik.js. Check your connection, then reload the page.');
  const config = download('Config.ini').then(response => response.text());
  const packed = loadPack();
  const wasm = download('zarvik.wasm').then(response => response.arrayBuffer());
  [config, packed, wasm].forEach(p => p.catch(() => {}));  // each is awaited below
  module = await startModule(wasm);
  stats.moduleReady = performance.now();
  skin = createSkin(await packed);
  const configText = await config;
  stats.filesReady = performance.now();
  await loadImages(configText);
  face = createFace(canvas, module, images);
  face.setSize(module._zw_face_width(), module._zw_face_height());

  const params = new URLSearchParams(location.search);
  replays = createReplays({ module, report, status: showNews });
  module._zw_start(Number(params.get('seed')) >>> 0);
  face.lcdLook = settings.read('LcdLook') === '1';
  face.fit();
  if (params.get('replay'))
    replays.fromAddress(params.get('replay'), Math.min(100, Math.max(1, Number(params.get('speed')) | 0)));
  document.documentElement.classList.add('ready');
  stats.firstFrame = performance.now();
  stats.ready = true;

  const input = createInput({ module, canvas, face, images, onGesture: () => sound.start() });
  pads = createGamepads((n, down) => module._zw_button(n, down ? 1 : 0), showHint);
  showHint();
  setUpControls(input);
  watchVisibility(input);
  addEventListener('resize', () => face.fit());
  watchDensity();
  keepOffline(offerUpdate);
}

// What the tests and the benchmark look at.
const nameOf = id => images[id]?.name;
window.zarvik = {
  stats,
  get frames() { return face ? face.frames : 0; },
  armedTimers: () => timers.count,
  // The player's session as a zarvik-sim script, and whether a replay plays.
  sessionScript: () => replays.script(),
  replaying: () => replays?.replaying ?? false,
  paused: () => timers.paused,
  audioState: () => sound.state,
  // 0 mode, 1 score, 2 misses, 3 high score A, 4 high score B, 5 catcher column.
  state: field => (module ? module._zw_state(field) : -1),
  // The face's size in skin pixels, as Config.ini gives it.
  faceSize: () => ({ width: module._zw_face_width(), height: module._zw_face_height() }),
  // Each image by name: its rectangle and whether it is shown.
  image: name => {
    const id = images.findIndex(image => image.name === name);
    return { ...images[id].rect, visible: module._zw_image_visible(id) === 1 };
  },
  // The segments and pressed buttons shown, in the order zarvik-sim lists them.
  lit: () => images.filter((image, id) => (image.role === ROLE_SEGMENT || image.role === ROLE_PRESSED) &&
                                          module._zw_image_visible(id)).map(image => image.name),
  // The four digit positions as shown, '_' for a blank one.
  digits: () => ['1', '2', '3', '4'].map(k => {
    const glyph = nameOf(module._zw_image_picture(images.findIndex(i => i.name === `im_panel_digit_pos_${k}`)));
    return glyph ? glyph.slice(-1) : '_';
  }).join(''),
};
start().catch(e => (stats.ready ? report : fail)(e.message));
