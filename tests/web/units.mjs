// The page's plain parts under Node: key codes, the clash rule, the stick's
// hysteresis, the timers' pause and resume, and the site's server.
//
//   node tests/web/units.mjs
import assert from 'node:assert/strict';
import { mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { basename, join } from 'node:path';
import { stickDirection } from '../../web/gamepad.js';
import { virtualKey } from '../../web/input.js';
import { clashes } from '../../web/key_panel.js';
import { serve } from '../../web/serve.mjs';
import { createTimers } from '../../web/timers.js';

// Keys: keypad digits and unknown keys never reach a digit binding.
for (const [code, key] of [['Digit1', 49], ['Numpad1', 97], ['KeyP', 80], ['ArrowUp', 38], ['ArrowLeft', 37],
                           ['ShiftRight', 16], ['AltLeft', 18], ['Space', 32], ['F1', 0], ['Escape', 0]])
  assert.equal(virtualKey(code), key, code);

// The clash rule: every button whose key another button holds.
for (const [indexes, red] of [[[2, 3, 4, 39, 40], [false, false, false, false, false]],
                              [[2, 3, 4, 2, 40], [true, false, false, true, false]],
                              [[5, 5, 4, 5, 40], [true, true, false, true, false]]])
  assert.deepEqual(clashes(indexes), red, String(indexes));

// The stick turns at half travel and rests only below a quarter.
for (const [current, axis, direction] of [[0, 0.49, 0], [0, 0.5, 1], [1, 0.3, 1], [1, 0.25, 0], [0, 0.3, 0],
                                          [0, -0.6, -1], [-1, -0.3, -1], [-1, -0.2, 0], [-1, 0.6, 1]])
  assert.equal(stickDirection(current, axis), direction, `${current} at ${axis}`);

// Timers on a clock the test moves; `late` holds back the next callback, as
// a busy or throttled browser does.
function testClock() {
  let now = 0, nextId = 1;
  const pending = new Map();
  return {
    late: 0,
    now: () => now,
    setTimeout(f, ms) {
      pending.set(nextId, { at: now + ms + this.late, f });
      this.late = 0;
      return nextId++;
    },
    clearTimeout: id => pending.delete(id),
    advance(ms) {
      const end = now + ms;
      for (;;) {
        const [id, next] = [...pending].filter(([, t]) => t.at <= end).sort((a, b) => a[1].at - b[1].at)[0] || [];
        if (!next) break;
        pending.delete(id);
        now = next.at;
        next.f();
      }
      now = end;
    },
  };
}
{
  const clock = testClock(), fired = [];
  const timers = createTimers(timer => fired.push([timer, clock.now()]), clock);
  const times = (timer, from) => fired.filter(([t, at]) => t === timer && at >= from).map(([, at]) => at);
  timers.arm(0, 250);
  timers.arm(1, 1800);
  clock.advance(1100);
  assert.deepEqual(times(0, 0), [250, 500, 750, 1000], 'every period from the arming');
  timers.pause();
  clock.advance(60000);
  assert.equal(fired.length, 4, 'nothing fires while paused');
  timers.arm(2, 100);  // armed while paused: its period starts at the resume
  timers.resume();
  clock.advance(800);
  assert.deepEqual(times(0, 61100), [61250, 61500, 61750], 'the 150 ms left of its period, then every 250');
  assert.deepEqual(times(1, 61100), [61800], 'the 700 ms left of the start delay');
  assert.equal(times(2, 61100)[0], 61200, 'armed while paused: a whole period after the resume');
  timers.disarm(2);
  clock.late = 600;  // timer 0, firing at 62000, asks for 62250 and is called at 62850
  clock.advance(1300);
  assert.deepEqual(times(0, 61900), [62000, 62850, 63100], 'a late period is not made up in a burst');
}
{
  // A timer that changes its own interval as it fires restarts its period.
  const clock = testClock(), fired = [];
  const timers = createTimers(timer => {
    fired.push(clock.now());
    if (fired.length === 1) timers.arm(timer, 400);
  }, clock);
  timers.arm(5, 100);
  clock.advance(1000);
  assert.deepEqual(fired, [100, 500, 900]);
}

// The server: gzip for what compresses, pictures as they are, a 304 for a
// file the browser has, nothing outside the site, and the files it is told
// are missing.
const root = mkdtempSync(join(tmpdir(), 'zarvik-serve-'));
writeFileSync(join(root, 'page.js'), 'const face = 1;\n'.repeat(200));
writeFileSync(join(root, 'icon.png'), Buffer.alloc(300, 7));
writeFileSync(join(root, 'zarvik.wasm'), Buffer.alloc(300, 1));
const outside = `${root}-outside.txt`;
writeFileSync(outside, 'not for the web');
const server = await serve(root, { missing: ['zarvik.wasm'] });
try {
  const js = await fetch(`${server.url}page.js`, { headers: { 'Accept-Encoding': 'gzip' } });
  assert.equal(js.headers.get('content-encoding'), 'gzip');
  assert.equal(js.headers.get('content-type'), 'text/javascript');
  assert.equal(await js.text(), 'const face = 1;\n'.repeat(200));
  const png = await fetch(`${server.url}icon.png`, { headers: { 'Accept-Encoding': 'gzip' } });
  assert.equal(png.headers.get('content-encoding'), null);
  assert.equal((await png.arrayBuffer()).byteLength, 300);
  const again = await fetch(`${server.url}page.js`, { headers: { 'If-None-Match': js.headers.get('etag') } });
  assert.equal(again.status, 304);
  for (const path of ['zarvik.wasm', `..%2f${basename(outside)}`, 'nothing.js'])
    assert.equal((await fetch(`${server.url}${path}`)).status, 404, path);
} finally {
  await server.close();
  rmSync(root, { recursive: true, force: true });
  rmSync(outside);
}
console.log('ok: key codes, clashes, stick, timers, server');
