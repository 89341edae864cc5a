// The page in headless Chromium: it loads without console errors, draws the
// face with every segment lit, shows the clock on Time, plays a game of A to
// its end when left alone, keeps the high score over a reload, and takes
// clicks on its buttons.
//
//   node tests/web/e2e.mjs SITE_DIR
import assert from 'node:assert/strict';
import { launch, serve, waitFor } from './browser.mjs';

const site = process.argv[2];
const server = await serve(site);
const page = await launch();
const problems = [];
page.on(({ method, params }) => {
  if (method === 'Runtime.exceptionThrown') problems.push(params.exceptionDetails.exception?.description);
  if (method === 'Runtime.consoleAPICalled' && params.type === 'error')
    problems.push(params.args.map(a => a.value ?? a.description).join(' '));
  if (method === 'Log.entryAdded' && params.entry.level === 'error') problems.push(`${params.entry.text} ${params.entry.url || ''}`);
});

async function open() {
  await waitFor(page, 'window.zarvik?.stats.ready || window.zarvik?.stats.errors.length > 0', 20000, 'the page');
  assert.deepEqual(await page.evaluate('zarvik.stats.errors'), [], 'the page reports no error');
}

// Dark LCD pixels on the canvas inside a face rectangle.
const darkPixels = name => page.evaluate(`(() => {
  const r = zarvik.image('${name}'), canvas = document.getElementById('face'), k = canvas.width / 561;
  const d = canvas.getContext('2d').getImageData(r.left * k, r.top * k, r.width * k, r.height * k).data;
  let dark = 0;
  for (let i = 0; i < d.length; i += 4) if (d[i + 3] > 0 && d[i] + d[i + 1] + d[i + 2] < 240) dark++;
  return dark;
})()`);

async function press(digit) {
  const key = { key: digit, code: `Digit${digit}`, windowsVirtualKeyCode: 48 + Number(digit) };
  await page.call('Input.dispatchKeyEvent', { type: 'keyDown', ...key });
  await page.call('Input.dispatchKeyEvent', { type: 'keyUp', ...key });
}

try {
  await Promise.all(['Runtime.enable', 'Log.enable', 'Page.enable'].map(m => page.call(m)));
  await page.call('Page.navigate', { url: `${server.url}?seed=1` });
  await open();

  // Mode 0: every segment shown and drawn.
  assert.equal(await page.evaluate('zarvik.state(0)'), 0);
  for (const name of ['im_hero_2_2', 'im_item_2_3', 'im_panel_miss_01', 'im_panel_game_a']) {
    assert.ok(await page.evaluate(`zarvik.image('${name}').visible`), `${name} is shown`);
    assert.ok(await darkPixels(name) > 10, `${name} is drawn`);
  }

  // Time: the clock's minutes, and the playfield dark.
  await press('3');
  await waitFor(page, 'zarvik.state(0) === 1', 2000, 'mode 1');
  await waitFor(page, `zarvik.digits().slice(2) === String(new Date().getMinutes()).padStart(2, '0')`,
                2000, 'the minutes of the local time');
  assert.equal(await darkPixels('im_item_2_3'), 0, 'the hidden item is no longer drawn');

  // Game A left alone: five misses end it, and its score is the high score.
  await press('1');
  await waitFor(page, 'zarvik.state(0) === 8', 2000, 'game A');
  await waitFor(page, 'zarvik.state(0) === 10', 120000, 'game over');
  assert.equal(await page.evaluate('zarvik.state(2)'), 5, 'five misses');
  const score = await page.evaluate('zarvik.state(1)');
  assert.ok(score > 0, 'the seeded game scores');
  assert.equal(await page.evaluate('zarvik.state(3)'), score);

  await page.call('Page.reload');
  await open();
  assert.equal(await page.evaluate('zarvik.state(3)'), score, 'the high score survives a reload');

  // A click on the Time button acts as the key does.
  const [x, y] = await page.evaluate(`(() => {
    const r = zarvik.image('btn_time_top'), box = document.getElementById('face').getBoundingClientRect();
    const k = box.width / 561;
    return [box.left + (r.left + r.width / 2) * k, box.top + (r.top + r.height / 2) * k];
  })()`);
  for (const type of ['mousePressed', 'mouseReleased'])
    await page.call('Input.dispatchMouseEvent', { type, x, y, button: 'left', clickCount: 1 });
  await waitFor(page, 'zarvik.state(0) === 1', 2000, 'mode 1 after a click on Time');
  assert.deepEqual(problems, [], 'no console errors');
  console.log(`ok: face drawn, clock shown, game A over with ${score}, high score kept, click taken`);
} finally {
  await page.close();
  server.close();
}
