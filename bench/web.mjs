// Times the page in headless Chromium: the first frame of the face after
// navigation starts (a running browser, its cache and service worker
// bypassed, so every file is fetched again; the first load, which also
// starts the browser's page process, is reported apart); a first visit from
// a phone on Slow 4G with a 4x slower processor (first frame, layout shift
// and the bytes that crossed the network); and the main thread's work while
// the face is still (mode 0) and while only the clock's colon blinks (mode 1).
import { launch, serve, waitFor } from '../tests/web/browser.mjs';

const RUNS = 5, IDLE_MS = 5000;
const SLOW_4G = { offline: false, latency: 562.5, downloadThroughput: 180000, uploadThroughput: 84375 };
const site = process.argv[2];
const server = await serve(site);

const median = values => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
async function taskSeconds(page) {
  const { metrics } = await page.call('Performance.getMetrics');
  return metrics.find(m => m.name === 'TaskDuration').value;
}
async function idle(page, what) {
  const frames = await page.evaluate('zarvik.frames');
  const before = await taskSeconds(page);
  await new Promise(resolve => setTimeout(resolve, IDLE_MS));
  const busy = (await taskSeconds(page) - before) * 1000;
  const drawn = await page.evaluate('zarvik.frames') - frames;
  const timers = await page.evaluate('zarvik.armedTimers()');
  console.log(`  ${what}: ${timers} timers armed, ${drawn} frames and ${busy.toFixed(1)} ms of ` +
              `main-thread work (this measurement's own included) in ${IDLE_MS} ms`);
}

async function phoneVisit(page) {
  let bytes = 0;
  const requests = new Set();
  page.on(({ method, params }) => {
    if (method === 'Network.loadingFinished') bytes += params.encodedDataLength;
    if (method === 'Network.requestWillBeSent') requests.add(params.request.url);
  });
  await page.call('Emulation.setDeviceMetricsOverride', { width: 412, height: 915, deviceScaleFactor: 3, mobile: true });
  await page.call('Emulation.setTouchEmulationEnabled', { enabled: true, maxTouchPoints: 5 });
  await page.call('Network.emulateNetworkConditions', SLOW_4G);
  await page.call('Emulation.setCPUThrottlingRate', { rate: 4 });
  await page.call('Page.addScriptToEvaluateOnNewDocument', { source: `window.layoutShift = 0;
    new PerformanceObserver(list => list.getEntries().forEach(e => { layoutShift += e.value; }))
      .observe({ type: 'layout-shift', buffered: true });` });
  // localhost: an origin the desktop runs above have not visited.
  await page.call('Page.navigate', { url: server.url.replace('127.0.0.1', 'localhost') });
  await waitFor(page, 'window.zarvik?.stats.ready', 60000, 'the face on the phone');
  const firstFrame = await page.evaluate('zarvik.stats.firstFrame');
  await page.evaluate('navigator.serviceWorker.ready.then(() => true)');
  await new Promise(resolve => setTimeout(resolve, 3000));  // the service worker's own downloads
  console.log(`Phone (412 x 915, scale 3) on Slow 4G, 4x slower processor: first frame ${firstFrame.toFixed(0)} ms, ` +
              `layout shift ${await page.evaluate('layoutShift')}, ${requests.size} requests, ` +
              `${bytes} bytes over the network (page and service worker)`);
}

try {
  const page = await launch();
  try {
    await page.call('Page.enable');
    await page.call('Network.enable');
    await page.call('Network.setCacheDisabled', { cacheDisabled: true });
    await page.call('Network.setBypassServiceWorker', { bypass: true });
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
    await page.call('Network.setCacheDisabled', { cacheDisabled: false });
    await page.call('Network.setBypassServiceWorker', { bypass: false });
    await phoneVisit(page);
  } finally {
    await page.close();
  }
} finally {
  await server.close();
}
