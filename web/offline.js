// The service worker that keeps the site for offline play. A new build
// installs beside the running one and waits: the page offers to reload into
// it, and until then every page keeps the build it started with.
export function keepOffline(offerUpdate) {
  if (!('serviceWorker' in navigator) || !window.isSecureContext) return;
  const offer = worker => offerUpdate(() => {
    navigator.serviceWorker.addEventListener('controllerchange', () => location.reload(), { once: true });
    worker.postMessage('activate');
  });
  navigator.serviceWorker.register('service-worker.js').then(registration => {
    if (registration.waiting && navigator.serviceWorker.controller) offer(registration.waiting);
    registration.addEventListener('updatefound', () => {
      const worker = registration.installing;
      worker.addEventListener('statechange', () => {
        if (worker.state === 'installed' && navigator.serviceWorker.controller) offer(worker);
      });
    });
  }).catch(e => console.warn(`The Zarvik cannot be kept for offline play: ${e.message}`));
}
