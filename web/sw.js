// The service worker: keeps one build's files, whole, and serves them when the network is
// gone. A new build is a new worker (this file names its build), which keeps its own files
// and, once it takes over, deletes the old build's.
const BUILD = '@VELKORA_BUILD@';
const FILES = [@VELKORA_FILES@];
const CACHE = 'velkora-' + BUILD;

self.addEventListener('install', (event) => {
  event.waitUntil((async () => {
    const cache = await caches.open(CACHE);
    // Past the browser's HTTP cache, which may hold an older build's page.
    await cache.addAll(['./', ...FILES].map((url) => new Request(url, {cache: 'reload'})));
    // The page kept must be the one that names this build: one fetched while the next
    // build was being put up would pair the two.
    const page = await (await cache.match('./')).text();
    if (!page.includes(BUILD)) {
      await caches.delete(CACHE);
      throw new Error('the page on the server belongs to another build');
    }
    await self.skipWaiting();
  })());
});

self.addEventListener('activate', (event) => {
  event.waitUntil((async () => {
    for (const name of await caches.keys()) {
      if (name.startsWith('velkora-') && name !== CACHE) await caches.delete(name);
    }
    await self.clients.claim();
  })());
});

// The page from the network while there is one (a new build shows at once), else the
// kept one: also when the network does not answer within a few seconds.
async function page(request) {
  const kept = await (await caches.open(CACHE)).match('./');
  const network = fetch(request);
  if (!kept) return network;
  const silence = new Promise((resolve) => setTimeout(resolve, 3000, kept));
  return Promise.race([network.catch(() => kept), silence]);
}

// A build's files never change, so the kept copies serve first.
self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET') return;
  if (request.mode === 'navigate') {
    event.respondWith(page(request));
  } else {
    event.respondWith((async () =>
      (await (await caches.open(CACHE)).match(request)) || fetch(request))());
  }
});
