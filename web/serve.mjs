// Serves the site as a web server should: compressed with gzip for browsers
// that take it (all but the pictures, which are compressed already), with
// validators so that a revisit or the service worker's check costs a 304.
//
//   node web/serve.mjs [SITE_DIR] [PORT]   default build-web/ on port 8000, localhost only
import { createHash } from 'node:crypto';
import { readFile } from 'node:fs/promises';
import { createServer } from 'node:http';
import { extname, join, normalize, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';
import { gzipSync } from 'node:zlib';

const TYPES = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.mjs': 'text/javascript',
                '.wasm': 'application/wasm', '.webmanifest': 'application/manifest+json', '.ini': 'text/plain',
                '.pack': 'application/octet-stream', '.png': 'image/png', '.bmp': 'image/bmp',
                '.ico': 'image/x-icon', '.jpg': 'image/jpeg', '.wav': 'audio/wav' };
const COMPRESSED_ALREADY = new Set(['.png', '.jpg']);

// Starts serving `root`; resolves to { url, port, close }. `missing` lists
// files answered with 404, as a site with a failed upload would.
export function serve(root, { port = 0, host = '127.0.0.1', missing = [] } = {}) {
  const compressed = new Map();  // ETag -> gzip body
  const server = createServer(async (request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname));
    const name = path.endsWith('/') ? `${path}index.html` : path;
    const file = join(root, name);
    let body;
    try {
      if (missing.includes(name.slice(1))) throw new Error('missing');
      body = await readFile(file);
    } catch {
      response.writeHead(404, { 'Content-Type': 'text/plain' });
      response.end('Not found');
      return;
    }
    const tag = `"${createHash('sha1').update(body).digest('base64url')}"`;
    const headers = { 'Content-Type': TYPES[extname(file)] || 'application/octet-stream',
                      'Cache-Control': 'no-cache', ETag: tag, Vary: 'Accept-Encoding' };
    if (request.headers['if-none-match'] === tag) {
      response.writeHead(304, headers);
      response.end();
      return;
    }
    if (!COMPRESSED_ALREADY.has(extname(file)) && /\bgzip\b/.test(request.headers['accept-encoding'] || '')) {
      if (!compressed.has(tag)) compressed.set(tag, gzipSync(body, { level: 9 }));
      body = compressed.get(tag);
      headers['Content-Encoding'] = 'gzip';
    }
    headers['Content-Length'] = body.length;
    response.writeHead(200, headers);
    response.end(request.method === 'HEAD' ? undefined : body);
  });
  return new Promise((done, fail) => {
    server.once('error', fail);
    server.listen(port, host, () => {
      const { port: chosen } = server.address();
      done({ url: `http://${host}:${chosen}/`, port: chosen,
             close: () => new Promise(closed => { server.close(closed); server.closeAllConnections(); }) });
    });
  });
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
  const root = resolve(process.argv[2] || 'build-web');
  const { url } = await serve(root, { port: Number(process.argv[3] || 8000), host: 'localhost' });
  console.log(`Serving ${root} at ${url}`);
}
