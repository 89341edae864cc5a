// Times the page in headless Chromium: the first frame of the face after
// navigation starts (a running browser, its cache disabled, so every file is
// fetched again; the first load, which also starts the browser's page
// process, is reported apart), and the
// main thread's work while the face is still (mode 0) and while only the
// clock's colon blinks (mode 1).
import { launch, serve, waitFor } from '../tests/web/browser.mjs';

const RUNS = 5, IDLE_MS = 5000;
const site = process.argv[2];
const server = await serve(site);

const median = values => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
async function taskSeconds(page) {
  const { metrics } = await page.call('Performance.getMetrics');
  return metrics.find(m => m.name === 'TaskDuration').value;
}
async function idle(page, what) {
  const frames = await page.evaluate('zarvik.stats.frames');
  const before = await taskSeconds(page);
  await new Promise(resolve => setTimeout(resolve, IDLE_MS));
  const busy = (await taskSeconds(page) - before) * 1000;
  const drawn = await page.evaluate('zarvik.stats.frames') - frames;
  const timers = await page.evaluate('zarvik.armedTimers()');
  console.log(`  ${what}: ${timers} timers armed, ${drawn} frames and ${busy.toFixed(1)} ms of ` +
              `main-thread work (this measurement's own included) in ${IDLE_MS} ms`);
}

try {
  const page = await launch();
  try {
    await page.call('Page.enable');
    await page.call('Network.enable');
    await page.call('Network.setCacheDisabled', { cacheDisabled: true });
    const firstFrames = [];
    for (let run = 0; run <= RUNS; run++) {
      await page.call(run ? 'Page.reload' : 'Page.navigate', run ? { ignoreCache: true } : { url: server.url });
      await waitFor(page, 'window.zarvik?.stats.ready', 20000, 'the face');
      firstFrames.push(await page.evaluate('zarvik.stats.firstFrame'));
    }
    const [cold, ...warm] = firstFrames;
    console.log(`First frame after navigation start: median ${median(warm).toFixed(0)} ms ` +
                `(runs: ${warm.map(t => t.toFixed(0)).join(', ')} ms; budget 300 ms); ` +
                `first load in a new browser ${cold.toFixed(0)} ms`);
    await page.call('Performance.enable');
    console.log('Still face:');
    await idle(page, 'mode 0 (all segments)');
    await page.call('Input.dispatchKeyEvent', { type: 'keyDown', key: '3', code: 'Digit3', windowsVirtualKeyCode: 51 });
    await page.call('Input.dispatchKeyEvent', { type: 'keyUp', key: '3', code: 'Digit3', windowsVirtualKeyCode: 51 });
    await idle(page, 'mode 1 (clock, colon blinking)');
  } finally {
    await page.close();
  }
} finally {
  server.close();
}
