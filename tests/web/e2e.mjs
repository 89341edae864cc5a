// The page in headless Chromium, as a player meets it, in one browser: it
// loads without console errors and is installable, draws the face with
// every segment lit and no frames while still, shows the clock on Time,
// plays a seeded game of A to the very end zarvik-sim gives it, holding
// the game while the page is hidden, keeps the high score, saves the
// session after a game of B for zarvik-sim to replay exactly and plays it
// back itself, draws the LCD look's shadows, takes new keys
// from its panel, plays offline and with a gamepad, goes full screen, and
// takes a new build whole. Then, on other origins: a phone on a slow
// network (no layout shift, taps), and the messages for no JavaScript, no
// WebAssembly and a failed download.
//
//   node tests/web/e2e.mjs SITE_DIR
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { appendFileSync, cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { launch, serve, waitFor } from './browser.mjs';

const site = process.argv[2];
const webDir = new URL('../../web/', import.meta.url).pathname;
// A copy of the site, so that the test can make a new build of it.
const copy = mkdtempSync(join(tmpdir(), 'zarvik-site-'));
cpSync(site, copy, { recursive: true, filter: path => !path.endsWith('/obj') });

const sleep = ms => new Promise(resolve => setTimeout(resolve, ms));
let server = await serve(copy);
const page = await launch({ width: 1366, height: 900 });
const problems = [];
page.on(({ method, params }) => {
  if (method === 'Runtime.exceptionThrown') problems.push(params.exceptionDetails.exception?.description);
  if (method === 'Runtime.consoleAPICalled' && params.type === 'error')
    problems.push(params.args.map(a => a.value ?? a.description).join(' '));
  if (method === 'Log.entryAdded' && params.entry.level === 'error') problems.push(`${params.entry.text} ${params.entry.url || ''}`);
});

async function open(url) {
  if (url) await page.call('Page.navigate', { url });
  await waitFor(page, 'window.zarvik?.stats.ready || window.zarvik?.stats.errors.length > 0', 20000, 'the page');
  assert.deepEqual(await page.evaluate('zarvik.stats.errors'), [], 'the page reports no error');
}
// The page's message in the face's place, once the page has given up.
async function notice(url) {
  await page.call('Page.navigate', { url });
  await waitFor(page, `document.getElementById('notice')?.classList.contains('failed')`, 10000, `a message at ${url}`);
  return page.evaluate(`document.getElementById('notice').textContent`);
}

// Dark LCD pixels on the canvas inside a face rectangle.
const darkPixels = name => page.evaluate(`(() => {
  const r = zarvik.image('${name}'), canvas = document.getElementById('face'), k = canvas.width / 561;
  const d = canvas.getContext('2d').getImageData(r.left * k, r.top * k, r.width * k, r.height * k).data;
  let dark = 0;
  for (let i = 0; i < d.length; i += 4) if (d[i + 3] > 0 && d[i] + d[i + 1] + d[i + 2] < 240) dark++;
  return dark;
})()`);

const KEYS = { 1: ['1', 'Digit1', 49], 2: ['2', 'Digit2', 50], 3: ['3', 'Digit3', 51], A: ['a', 'KeyA', 65],
               D: ['d', 'KeyD', 68], Enter: ['Enter', 'Enter', 13], Left: ['ArrowLeft', 'ArrowLeft', 37],
               Right: ['ArrowRight', 'ArrowRight', 39] };
async function press(name) {
  const [key, code, windowsVirtualKeyCode] = KEYS[name];
  for (const type of ['keyDown', 'keyUp'])
    await page.call('Input.dispatchKeyEvent', { type, key, code, windowsVirtualKeyCode });
}
async function click(x, y) {
  for (const type of ['mousePressed', 'mouseReleased'])
    await page.call('Input.dispatchMouseEvent', { type, x, y, button: 'left', clickCount: 1 });
}
async function clickElement(id) {
  const [x, y] = await page.evaluate(`(() => {
    const box = document.getElementById('${id}').getBoundingClientRect();
    return [box.left + box.width / 2, box.top + box.height / 2];
  })()`);
  await click(x, y);
}
const frames = n => page.evaluate(`new Promise(r => { let k = ${n}; (function f() { --k ? requestAnimationFrame(f) : r(); })(); })`);
const state = field => page.evaluate(`zarvik.state(${field})`);
// Score, misses, catcher and every segment shown.
const snapshot = () => page.evaluate('JSON.stringify([zarvik.state(1), zarvik.state(2), zarvik.state(5), zarvik.lit()])');

// The final display of the seeded game left alone, as zarvik-sim plays it.
function simulatedGameOver(seed) {
  const script = ['down time', 'up time', 'down game_a', 'up game_a', ...Array(80).fill('wait 1000\nshow')].join('\n');
  const output = execFileSync(join(site, 'zarvik-sim.js'), ['--seed', String(seed), '--now', '2026-06-15T08:30:00'],
                              { input: script }).toString();
  const block = output.split(/^(?=t=)/m).find(b => / mode=10 /.test(b));
  const [, score, misses] = / score=(\d+) misses=(\d+)/.exec(block);
  return { score: Number(score), misses: Number(misses), digits: /^digits=(.*)$/m.exec(block)[1],
           lit: /^lit=(.*)$/m.exec(block)[1].split(' ') };
}

// A saved session replayed by zarvik-sim with the options of its first line:
// every show, and the state the session showed there.
function simulatedSession(script) {
  const args = script.split('\n')[0].replace(/^# zarvik-sim /, '').split(' ');
  const output = execFileSync(join(site, 'zarvik-sim.js'), args, { input: script }).toString();
  const blocks = output.split(/^(?=t=)/m);
  return { shows: blocks.map(b => b.split('\n')[0]), last: blocks.at(-1),
           shown: script.split('\n').filter(line => line.startsWith('# t=')).map(line => line.slice(2)) };
}

try {
  await Promise.all(['Runtime.enable', 'Log.enable', 'Page.enable'].map(m => page.call(m)));
  await open(`${server.url}?seed=1`);
  await page.evaluate('navigator.serviceWorker.ready.then(() => true)');
  assert.deepEqual((await page.call('Page.getInstallabilityErrors')).installabilityErrors, [], 'installable');
  assert.equal(await page.evaluate('document.activeElement === document.body'), true, 'nothing focused by the script');

  // Mode 0: every segment shown and drawn, and nothing drawn while it stands.
  assert.equal(await state(0), 0);
  for (const name of ['im_hero_2_2', 'im_item_2_3', 'im_panel_miss_01', 'im_panel_game_a']) {
    assert.ok(await page.evaluate(`zarvik.image('${name}').visible`), `${name} is shown`);
    assert.ok(await darkPixels(name) > 10, `${name} is drawn`);
  }
  const stillFrames = await page.evaluate('zarvik.frames');
  await sleep(1000);
  assert.equal(await page.evaluate('zarvik.frames'), stillFrames, 'a still face draws no frames');

  // Time: the clock's minutes, and the playfield dark.
  await press('3');
  await waitFor(page, 'zarvik.state(0) === 1', 2000, 'mode 1');
  await waitFor(page, `zarvik.digits().slice(2) === String(new Date().getMinutes()).padStart(2, '0')`,
                2000, 'the minutes of the local time');
  assert.equal(await darkPixels('im_item_2_3'), 0, 'the hidden item is no longer drawn');

  // Game A left alone, hidden for 10 s once items fall: it waits, silent,
  // goes on when shown, and ends exactly as zarvik-sim --seed 1 ends it.
  await press('1');
  await waitFor(page, 'zarvik.state(0) === 8', 3000, 'game A');
  await waitFor(page, `zarvik.lit().some(name => /^im_item_\\d_[2-5]$/.test(name))`, 5000, 'items falling');
  const { windowId } = await page.call('Browser.getWindowForTarget');
  const setWindow = windowState => page.call('Browser.setWindowBounds', { windowId, bounds: { windowState } });
  await setWindow('minimized');
  await waitFor(page, 'document.hidden', 2000, 'the page hidden');
  const held = await snapshot();
  assert.equal(await page.evaluate('zarvik.paused()'), true, 'the game waits');
  assert.notEqual(await page.evaluate('zarvik.audioState()'), 'running', 'no sound while hidden');
  await sleep(10000);
  assert.equal(await snapshot(), held, 'score, misses, catcher and items held while hidden');
  await setWindow('normal');
  await waitFor(page, `!document.hidden && ${JSON.stringify(held)} !== JSON.stringify([zarvik.state(1), zarvik.state(2), zarvik.state(5), zarvik.lit()])`,
                3000, 'the game going on');
  await waitFor(page, 'zarvik.state(0) === 10', 120000, 'game over');
  const expected = simulatedGameOver(1);
  const score = await state(1);
  assert.deepEqual({ score, misses: await state(2), digits: await page.evaluate('zarvik.digits()'),
                     lit: await page.evaluate('zarvik.lit()') }, expected, 'the game of zarvik-sim --seed 1');
  assert.equal(await state(3), score, 'the score is the high score');

  // Game B with random presses of the arrow keys; then the session, offered
  // for saving since the first game ended, replays through zarvik-sim show by
  // show to both high scores (the 10 s hidden left out of its time).
  assert.equal(await page.evaluate(`document.getElementById('save-replay').hidden`), false, 'Save replay offered');
  await press('2');
  await waitFor(page, 'zarvik.state(0) === 9', 3000, 'game B');
  for (const end = Date.now() + 90000; await state(2) < 5 && Date.now() < end;) {
    await press(Math.random() < 0.5 ? 'Left' : 'Right');
    await sleep(50 + Math.random() * 350);
  }
  await waitFor(page, 'zarvik.state(0) === 10', 5000, 'game B over');
  const script = await page.evaluate('zarvik.sessionScript()');
  const session = simulatedSession(script);
  assert.ok(session.shown.length > 10, `shows in the saved session: ${session.shown.length}`);
  assert.deepEqual(session.shows, session.shown, 'zarvik-sim shows what the page showed');
  const scoreB = await state(4);
  assert.match(session.last, new RegExp(`^t=\\d+ mode=10 score=${await state(1)} misses=5 hero=\\d hiscore_a=${score} hiscore_b=${scoreB}\n`));
  assert.equal(await page.evaluate(`localStorage.getItem('zarvik.HiScore2')`), scoreB > 0 ? String(scoreB) : null);

  // The LCD look: shadows darken the LCD next to the lit segments, and
  // switched off the face is as it was.
  const pixels = `Array.from(document.getElementById('face').getContext('2d').getImageData(0, 0, 561 * k, 374 * k).data)`;
  const plainFace = await page.evaluate(`(() => { const k = document.getElementById('face').width / 561; return ${pixels}; })()`);
  await clickElement('lcd-look');
  await frames(20);
  const lookFace = await page.evaluate(`(() => { const k = document.getElementById('face').width / 561; return ${pixels}; })()`);
  let changed = 0, lighter = 0;
  for (let i = 0; i < plainFace.length; i++) {
    if (lookFace[i] === plainFace[i]) continue;
    changed++;
    if (i % 4 !== 3 && lookFace[i] > plainFace[i]) lighter++;
  }
  assert.ok(changed > 1000, `${changed} bytes of shadow`);
  assert.equal(lighter, 0, 'shadows only darken');
  assert.equal(await page.evaluate(`localStorage.getItem('zarvik.LcdLook')`), '1');
  await clickElement('lcd-look');
  await frames(2);
  assert.deepEqual(await page.evaluate(`(() => { const k = document.getElementById('face').width / 561; return ${pixels}; })()`),
                   plainFace, 'the plain face again');

  // The saved session played back at 25 times its speed, from ?replay=: it
  // ends as zarvik-sim ends it, and leaves the player's high scores alone.
  writeFileSync(join(copy, 'session.sim'), script);
  await open(`${server.url}?replay=session.sim&speed=25`);
  assert.equal(await page.evaluate('zarvik.replaying()'), true);
  await waitFor(page, `document.getElementById('status-text').textContent === 'The replay has ended.'`, 20000, 'the replay\'s end');
  const [, mode, replayScore, misses] = /^t=\d+ mode=(\d+) score=(\d+) misses=(\d+)/.exec(session.last);
  assert.deepEqual([await state(0), await state(1), await state(2), await state(3), await state(4)],
                   [Number(mode), Number(replayScore), Number(misses), score, scoreB], 'the replay ends as the session');
  assert.deepEqual(await page.evaluate('zarvik.lit()'), /^lit=(.*)$/m.exec(session.last)[1].split(' '));
  assert.equal(await page.evaluate(`localStorage.getItem('zarvik.HiScore1')`), String(score), 'stored scores untouched');
  await open(server.url);

  // The key panel: a clash is refused, new keys are stored.
  await clickElement('keys-button');
  await waitFor(page, `document.getElementById('keys').open`, 2000, 'the key panel');
  const choose = (list, index) => page.evaluate(`(() => { const list = document.getElementById('${list}');
    list.value = '${index}'; list.dispatchEvent(new Event('change')); })()`);
  const clashing = () => page.evaluate(`[...document.querySelectorAll('#keys label')].map(l => l.classList.contains('clash'))`);
  await choose('key1', 4);  // Game A on Time's '3'
  assert.deepEqual(await clashing(), [true, false, true, false, false], 'Game A and Time in red');
  assert.equal(await page.evaluate(`document.getElementById('keys-accept').disabled`), true);
  await press('Enter');
  assert.equal(await page.evaluate(`document.getElementById('keys').open`), true, 'Enter refused during a clash');
  await choose('key1', 2);
  await choose('key4', 11);  // 'A'
  await choose('key5', 14);  // 'D'
  assert.deepEqual(await clashing(), [false, false, false, false, false]);
  await clickElement('keys-accept');
  assert.equal(await page.evaluate(`document.getElementById('keys').open`), false, 'accepted');
  assert.deepEqual(await page.evaluate(`[1, 2, 3, 4, 5].map(n => localStorage.getItem('zarvik.Key' + n))`),
                   ['2', '3', '4', '11', '14'], 'the keys stored');
  assert.match(await page.evaluate(`document.getElementById('hint').textContent`), /^Keys 1, 2, 3, A and D\b/);

  // Offline: the page comes from the service worker, keeps the high score
  // and the keys, and plays: A and D move the catcher, and so does a pad.
  const port = server.port;
  await server.close();
  await page.call('Page.reload');
  await open();
  assert.equal(await state(3), score, 'the high score survives a reload');
  await press('3');
  await press('1');
  await waitFor(page, 'zarvik.state(0) === 8', 3000, 'game A offline');
  await press('A');
  assert.equal(await state(5), 1, 'A moves the catcher left');
  await press('D');
  assert.equal(await state(5), 2, 'D moves it right');
  await page.evaluate(`(() => {
    window.pad = { index: 0, connected: true, mapping: 'standard', axes: [0, 0, 0, 0],
                   buttons: Array.from({ length: 17 }, () => ({ pressed: false, value: 0 })) };
    navigator.getGamepads = () => [pad];
    dispatchEvent(new Event('gamepadconnected'));
  })()`);
  // Each step: what the pad does, then where the catcher is a few frames on.
  const padSteps = [
    ['pad.buttons[14].pressed = true', 1],   // D-pad left
    ['', 1],                                 // held: no second move
    ['pad.buttons[14].pressed = false', 1],
    ['pad.axes[0] = 0.6', 2],                // stick right past half travel
    ['pad.axes[0] = 0.3', 2],                // still held above a quarter
    ['pad.axes[0] = 0.6', 2],                // so no new press
    ['pad.axes[0] = 0.1', 2],                // at rest
    ['pad.axes[0] = 0.7', 3],                // a new press
    ['pad.axes[0] = 0', 3],
  ];
  for (const [action, column] of padSteps) {
    await page.evaluate(action || '0');
    await frames(3);
    assert.equal(await state(5), column, `after "${action || 'holding'}" the catcher is in column ${column}`);
  }
  assert.equal(await state(2), 0, 'no miss paused the catcher meanwhile');
  server = await serve(copy, { port });

  // Full screen: the face grows to the whole screen's whole multiple.
  const faceWidth = () => page.evaluate(`document.getElementById('face').getBoundingClientRect().width`);
  const windowed = await faceWidth();
  await clickElement('fullscreen');
  await waitFor(page, 'document.fullscreenElement !== null', 3000, 'full screen');
  await waitFor(page, `document.getElementById('face').width === 561 * Math.floor(Math.min(
      innerWidth / 561, innerHeight / 374))`, 2000, 'the face fitted to the screen');
  assert.ok(await faceWidth() > windowed, 'a larger face in full screen');
  await clickElement('fullscreen');
  await waitFor(page, 'document.fullscreenElement === null', 3000, 'full screen left');

  // A new build: the waiting build is offered, and reloading into it
  // replaces the cache whole.
  appendFileSync(join(copy, 'Config.ini'), '; a new build\n');
  const built = JSON.parse(/^const BUILD = (\{[\s\S]*?\n\});/.exec(readFileSync(join(copy, 'service-worker.js'), 'utf8'))[1]);
  execFileSync(process.execPath, [join(webDir, 'make_service_worker.mjs'), copy, join(webDir, 'service_worker.js'),
                        ...Object.keys(built.files)]);
  await page.call('Page.reload');
  await open();
  await waitFor(page, `!document.getElementById('status-action').hidden`, 10000, 'the new build offered');
  await clickElement('status-action');
  await waitFor(page, `!document.getElementById('status-text')?.textContent && window.zarvik?.stats.ready`,
                10000, 'the page reloaded into the new build');
  const caches = await page.evaluate(`caches.keys()`);
  assert.equal(caches.length, 1, `one cache: ${caches}`);
  assert.notEqual(caches[0].split(' ').pop(), built.version, 'the new build cached');
  assert.match(await page.evaluate(`caches.match('Config.ini').then(r => r.text())`), /; a new build\n$/);

  // Time's button takes a click as its key does.
  await press('3');
  await waitFor(page, 'zarvik.state(0) === 1', 2000, 'mode 1');
  const [x, y] = await page.evaluate(`(() => {
    const r = zarvik.image('btn_time_top'), box = document.getElementById('face').getBoundingClientRect();
    const k = box.width / 561;
    return [box.left + (r.left + r.width / 2) * k, box.top + (r.top + r.height / 2) * k];
  })()`);
  await click(x, y);
  await waitFor(page, 'zarvik.state(0) === 2', 2000, 'mode 2 after a click on Time');
  assert.deepEqual(problems, [], 'no console errors');

  // A phone on Slow 4G with a 4x slower processor, on an origin of its own:
  // the face's box stands from the first paint, the hint speaks of taps.
  await page.call('Emulation.setDeviceMetricsOverride', { width: 412, height: 915, deviceScaleFactor: 3, mobile: true });
  await page.call('Emulation.setTouchEmulationEnabled', { enabled: true, maxTouchPoints: 5 });
  await page.call('Network.enable');
  await page.call('Network.emulateNetworkConditions',
                  { offline: false, latency: 562.5, downloadThroughput: 180000, uploadThroughput: 84375 });
  await page.call('Emulation.setCPUThrottlingRate', { rate: 4 });
  await page.call('Page.addScriptToEvaluateOnNewDocument', { source: `window.layoutShifts = [];
    new PerformanceObserver(list => layoutShifts.push(...list.getEntries().map(e => ({ value: e.value,
      at: e.startTime, moved: e.sources.map(s => [s.node?.id || s.node?.nodeName, s.previousRect, s.currentRect]) }))))
      .observe({ type: 'layout-shift', buffered: true });` });
  await open(server.url.replace('127.0.0.1', 'localhost'));
  await frames(2);
  const shifts = await page.evaluate('layoutShifts');
  assert.deepEqual(shifts, [], `no layout shift: ${JSON.stringify(shifts)}`);
  assert.equal(await page.evaluate(`document.getElementById('hint').textContent`), 'Tap the buttons on the face');
  assert.equal(await page.evaluate(`document.getElementById('face').width`), 561 * 2, 'two device pixels per face pixel');
  await page.call('Emulation.setCPUThrottlingRate', { rate: 1 });
  await page.call('Network.emulateNetworkConditions', { offline: false, latency: 0, downloadThroughput: -1, uploadThroughput: -1 });
  await page.call('Emulation.clearDeviceMetricsOverride');

  // A skin's values read as the desktop program reads them (the same table
  // is read by tests/shell/skin_loader_test.cpp), on an origin of its own.
  const cases = readFileSync(new URL('../skin/config_value_cases.txt', import.meta.url), 'utf8').split('\n')
    .filter(line => line.trim() && !line.startsWith('#')).map(line => line.trim().split(/\s+/));
  const valued = mkdtempSync(join(tmpdir(), 'zarvik-values-'));
  cpSync(copy, valued, { recursive: true });
  writeFileSync(join(valued, 'Config.ini'), cases.map(([section, key, value]) => `[${section}]\n${key}=${value}\n`)
    .join('') + readFileSync(join(copy, 'Config.ini'), 'utf8'));
  execFileSync(process.execPath, [join(webDir, 'make_service_worker.mjs'), valued, join(webDir, 'service_worker.js'),
                                  ...Object.keys(built.files)]);
  const values = await serve(valued);
  try {
    await open(values.url);
    for (const [section, key, value, result] of cases) {
      const [what, expected] = result.split('=');
      const [name, field] = what.split('.');
      const got = await page.evaluate(field ? `zarvik.image('${name}').${field}` : `zarvik.faceSize().${name}`);
      assert.equal(got, Number(expected), `[${section}] ${key}=${value}`);
    }
  } finally {
    await values.close();
    rmSync(valued, { recursive: true, force: true });
  }

  // When the page cannot play: a site missing its module, a browser without
  // WebAssembly, and one without JavaScript.
  const broken = await serve(copy, { missing: ['zarvik.wasm'] });
  try {
    assert.match(await notice(broken.url), /could not download zarvik\.wasm \(404 Not Found\)\. Check your connection, then reload/);
    const { identifier } = await page.call('Page.addScriptToEvaluateOnNewDocument', { source: 'delete window.WebAssembly;' });
    assert.match(await notice(broken.url), /cannot run the Zarvik: it has no WebAssembly.* current Chrome/);
    await page.call('Page.removeScriptToEvaluateOnNewDocument', { identifier });
    await page.call('Emulation.setScriptExecutionDisabled', { value: true });
    await page.call('Page.navigate', { url: broken.url });
    await waitFor(page, `document.readyState === 'complete' && location.href === '${broken.url}'`, 5000, 'the page without JavaScript');
    assert.match(await page.evaluate(`document.getElementById('notice').innerText`),
                 /^The Zarvik is a game that runs on JavaScript, which is switched off .* Switch JavaScript on/,
                 'the message shown in the face\'s place, and no "Loading"');
  } finally {
    await broken.close();
  }
  console.log(`ok: installable, face drawn and still, game A over with ${score} as zarvik-sim's, held while hidden, ` +
              `game B over with ${scoreB}, its session (${session.shown.length} shows) replayed by zarvik-sim and the page, LCD look, ` +
              'keys set in the panel, offline play with keys and a pad, full screen, new build taken whole, ' +
              'phone without layout shift, Config.ini read as on the desktop, messages for no JavaScript, no WebAssembly and a failed download');
} finally {
  await page.close();
  await server.close();
  rmSync(copy, { recursive: true, force: true });
}
