// Headless Chromium driven over the DevTools protocol on a pipe, and a small
// static server for the site: what the browser test and benchmark share.
import { spawn } from 'node:child_process';
import { mkdtempSync, rmSync, readFile } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { extname, join, normalize } from 'node:path';

const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
                '.png': 'image/png', '.bmp': 'image/bmp', '.ico': 'image/x-icon', '.jpg': 'image/jpeg',
                '.wav': 'audio/wav', '.ini': 'text/plain' };

// Serves `root` on a free localhost port; resolves to { url, close }.
export function serve(root) {
  const server = createServer((request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname));
    const file = join(root, path.endsWith('/') ? `${path}index.html` : path);
    readFile(file, (error, data) => {
      if (error) { response.writeHead(404); response.end(); return; }
      response.writeHead(200, { 'Content-Type': TYPES[extname(file)] || 'application/octet-stream' });
      response.end(data);
    });
  });
  return new Promise(resolve => server.listen(0, '127.0.0.1', () =>
    resolve({ url: `http://127.0.0.1:${server.address().port}/`, close: () => server.close() })));
}

// A fresh headless Chromium with an empty profile, attached to its page.
export async function launch({ width = 800, height = 500 } = {}) {
  const profile = mkdtempSync(join(tmpdir(), 'zarvik-chromium-'));
  const browser = spawn('chromium', [
    '--headless=new', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
    '--disable-component-update', '--disable-sync', '--no-first-run', '--mute-audio',
    `--user-data-dir=${profile}`, `--window-size=${width},${height}`, '--remote-debugging-pipe',
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
