// Headless Chromium driven over the DevTools protocol on a pipe, and the
// site's server: what the browser test and benchmark share.
import { spawn } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

export { serve } from '../../web/serve.mjs';

// A fresh headless Chromium with an empty profile, attached to its page.
export async function launch({ width = 800, height = 500 } = {}) {
  const profile = mkdtempSync(join(tmpdir(), 'zarvik-chromium-'));
  const browser = spawn('chromium', [
    '--headless=new', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
    '--disable-component-update', '--disable-sync', '--no-first-run', '--mute-audio',
    `--user-data-dir=${profile}`, `--window-size=${width},${height}`, '--remote-debugging-pipe', `--screen-info={${width}x${height}}`,
    'about:blank'], { stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe'] });
  let stderr = '';
  browser.stderr.on('data', chunk => { stderr += chunk; });
  const exited = new Promise(resolve => browser.on('exit', resolve));

  let nextId = 1, buffer = '';
  const waiting = new Map(), listeners = [];
  browser.stdio[4].on('data', chunk => {
    buffer += chunk;
    let end;
    while ((end = buffer.indexOf('\0')) >= 0) {
      const message = JSON.parse(buffer.slice(0, end));
      buffer = buffer.slice(end + 1);
      if (message.id && waiting.has(message.id)) {
        const { resolve, reject } = waiting.get(message.id);
        waiting.delete(message.id);
        if (message.error) reject(new Error(`${message.error.message} ${message.error.data || ''}`));
        else resolve(message.result);
      } else if (message.method) {
        listeners.forEach(listener => listener(message));
      }
    }
  });
  const send = (method, params = {}, sessionId) => new Promise((resolve, reject) => {
    const id = nextId++;
    waiting.set(id, { resolve, reject });
    browser.stdio[3].write(`${JSON.stringify({ id, method, params, sessionId })}\0`);
  });
  const failure = exited.then(code => { throw new Error(`chromium ended (${code}): ${stderr.slice(-2000)}`); });

  const { targetInfos } = await Promise.race([send('Target.getTargets'), failure]);
  const page = targetInfos.find(t => t.type === 'page');
  const { sessionId } = await send('Target.attachToTarget', { targetId: page.targetId, flatten: true });
  const call = (method, params) => Promise.race([send(method, params, sessionId), failure]);

  return {
    call,
    on: listener => listeners.push(message => message.sessionId === sessionId && listener(message)),
    // The value of an expression in the page (awaited when it is a promise).
    async evaluate(expression) {
      const { result, exceptionDetails } = await call('Runtime.evaluate',
          { expression, awaitPromise: true, returnByValue: true });
      if (exceptionDetails) throw new Error(`${expression}: ${exceptionDetails.exception?.description || exceptionDetails.text}`);
      return result.value;
    },
    async close() {
      await send('Browser.close').catch(() => {});
      await Promise.race([exited, new Promise(resolve => setTimeout(resolve, 5000))]);
      if (browser.exitCode === null) browser.kill('SIGKILL');
      rmSync(profile, { recursive: true, force: true });
    },
    pid: browser.pid,
  };
}

// Polls an expression until it is true; fails after `timeoutMs`.
export async function waitFor(page, expression, timeoutMs, what = expression) {
  const end = Date.now() + timeoutMs;
  while (!(await page.evaluate(expression))) {
    if (Date.now() > end) throw new Error(`timed out after ${timeoutMs} ms waiting for ${what}`);
    await new Promise(resolve => setTimeout(resolve, 100));
  }
}
