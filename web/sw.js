// The service worker: keeps one build's files, whole, and serves them when the network is
// gone. A new build is a new worker (this file names its build), which keeps its own files,
// takes over, and deletes an old build's once no open page uses them.
const BUILD = '@VELKORA_BUILD@';
const FILES = [@VELKORA_FILES@];
// Named by the scope as well: two deployments on one origin (a site and its preview) each
// keep their own, and neither deletes the other's.
const SCOPE = self.registration.scope;
const CACHE = `velkora ${SCOPE} ${BUILD}`;
const PAGES = [SCOPE, SCOPE + 'index.html'];

async function fetchOk(url, mode) {
  const response = await fetch(url, {cache: mode});
  if (!response.ok) throw new Error(`${url}: ${response.status}`);
  return response;
}

// From the browser's HTTP cache where it has them: the page has just downloaded them, and a
// first visit downloads nothing twice. A build's folder never changes; the page and the
// manifest, whose names stay, must name this build, or they are asked of the server again:
// one fetched while the next build was being put up would pair the two.
async function keep(cache, url) {
  let response = await fetchOk(url, 'force-cache');
  if (!url.startsWith(BUILD + '/') && !(await response.clone().text()).includes(BUILD)) {
    response = await fetchOk(url, 'reload');
    if (!(await response.clone().text()).includes(BUILD)) {
      throw new Error(`${url} on the server belongs to another build`);
    }
  }
  await cache.put(url, response);
}

self.addEventListener('install', (event) => {
  event.waitUntil((async () => {
    const cache = await caches.open(CACHE);
    try {
      await Promise.all(['./', ...FILES].map((url) => keep(cache, url)));
    } catch (error) {
      await caches.delete(CACHE);
      throw error;
    }
    await self.skipWaiting();
  })());
});

// Each open page holds a lock named after its build's cache while it is open (offline.js).
async function tidy() {
  if (!navigator.locks) return;  // no way to know what open pages use: keep it all
  const used = new Set((await navigator.locks.query()).held.map((lock) => lock.name));
  for (const name of await caches.keys()) {
    if (name.startsWith(`velkora ${SCOPE} `) && name !== CACHE && !used.has(name)) {
      await caches.delete(name);
    }
  }
}

// Every open page hears which build now serves: one of this build can say it works offline,
// one of an older build can offer to load the new one.
self.addEventListener('activate', (event) => {
  event.waitUntil((async () => {
    await self.clients.claim();
    const pages = await self.clients.matchAll({type: 'window', includeUncontrolled: true});
    for (const page of pages) page.postMessage({build: BUILD});
    await tidy();
  })());
});

self.addEventListener('message', (event) => {
  if (event.data === 'tidy') event.waitUntil(tidy());
});

// The page from the network while there is one (a new build shows at once), else the kept
// one: also when the network does not answer within a few seconds, or answers with anything
// but a page of Velkora's (an error during a deploy, a captive portal's login).
async function page(request) {
  const kept = await (await caches.open(CACHE)).match('./');
  if (!kept) return fetch(request);
  const network = fetch(request).then(async (response) =>
    response.ok && (await response.clone().text()).includes('<body data-build="') ?
      response : kept).catch(() => kept);
  const silence = new Promise((resolve) => setTimeout(resolve, 3000, kept));
  return Promise.race([network, silence]);
}

// A build's files never change, so kept copies serve first: this build's, or those of an
// older build that an open page still uses.
async function file(request) {
  const mine = await (await caches.open(CACHE)).match(request);
  if (mine) return mine;
  for (const name of await caches.keys()) {
    if (!name.startsWith(`velkora ${SCOPE} `)) continue;
    const theirs = await (await caches.open(name)).match(request);
    if (theirs) return theirs;
  }
  return fetch(request);
}

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET') return;
  if (request.mode !== 'navigate') {
    event.respondWith(file(request));
  } else if (PAGES.includes(request.url.replace(/[?#].*/, ''))) {
    // Only the page itself: any other page in this folder is the server's to answer.
    event.respondWith(page(request));
  }
});
