// Keeps the site for offline play: every file of one build in one cache,
// named by the build's content. A new build is a new cache, filled whole and
// checked file by file before it serves, and the old one is dropped once no
// page uses it, so a page never gets files of two builds. Pages are served
// from the cache first; the browser checks for a new build on each visit.
// make_service_worker.mjs puts BUILD (version and files with their SHA-256)
// in front of this file.
const CACHE_PREFIX = `zarvik ${self.registration.scope} `;
const CACHE = CACHE_PREFIX + BUILD.version;

const hex = buffer => [...new Uint8Array(buffer)].map(b => b.toString(16).padStart(2, '0')).join('');

async function fill() {
  const cache = await caches.open(CACHE);
  await Promise.all(Object.entries(BUILD.files).map(async ([name, sha256]) => {
    // Revalidated with the server: a file the HTTP cache kept from an
    // earlier build must not slip in.
    const response = await fetch(name, { cache: 'no-cache' });
    if (!response.ok) throw new Error(`${name}: ${response.status}`);
    const digest = hex(await crypto.subtle.digest('SHA-256', await response.clone().arrayBuffer()));
    if (digest !== sha256) throw new Error(`${name} is not the file of build ${BUILD.version}`);
    await cache.put(name, response);
  }));
}

self.addEventListener('install', event => {
  event.waitUntil(fill().catch(async error => {
    await caches.delete(CACHE);
    throw error;
  }));
});

// A page that has the new build ready asks for it.
self.addEventListener('message', event => {
  if (event.data === 'activate') self.skipWaiting();
});

self.addEventListener('activate', event => {
  event.waitUntil((async () => {
    for (const name of await caches.keys())
      if (name.startsWith(CACHE_PREFIX) && name !== CACHE) await caches.delete(name);
    await self.clients.claim();
  })());
});

self.addEventListener('fetch', event => {
  const request = event.request;
  if (request.method !== 'GET' || !request.url.startsWith(self.registration.scope)) return;
  event.respondWith((async () => {
    const cache = await caches.open(CACHE);
    const page = request.mode === 'navigate' && new URL(request.url).pathname.endsWith('/');
    const cached = await cache.match(page ? 'index.html' : request, { ignoreSearch: true });
    return cached || fetch(request);
  })());
});
