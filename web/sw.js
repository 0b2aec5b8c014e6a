// The page's service worker: it keeps one version of the page (the page, the game, its data, the
// fonts and icons, all under content-hashed names but the page itself) in a cache of that
// version's name, and serves them from there; the page is asked of the network first, and taken
// from the cache when the network fails or takes too long. The page build writes the version
// and its files in here; a new version is a new worker, which fills its own cache (what an older
// one holds under the same name is the same bytes), takes over and drops the older caches, so a
// page and its game always come from one version.
"use strict";

const version = "";  // written by the page build
const files = [];    // written by the page build
const cacheName = "lushera-" + version;
const page = new URL("index.html", self.registration.scope).href;
const patienceMs = 3000;  // the network's time for the page before the kept one is shown

self.addEventListener("install", (event) => {
  event.waitUntil((async () => {
    const cache = await caches.open(cacheName);
    for (const name of files) {
      const url = new URL(name, self.registration.scope).href;
      if (await cache.match(url)) continue;
      let kept = name === "index.html" ? null : await caches.match(url);
      if (!kept) {
        kept = await fetch(url, { cache: "no-cache" });
        if (!kept.ok) throw new Error(`${name}: HTTP ${kept.status}`);
      }
      await cache.put(url, kept);
    }
    await self.skipWaiting();
  })());
});

self.addEventListener("activate", (event) => {
  event.waitUntil((async () => {
    for (const name of await caches.keys())
      if (name.startsWith("lushera-") && name !== cacheName) await caches.delete(name);
    await self.clients.claim();
  })());
});

async function fromNetworkFirst(request) {
  const network = fetch(request);
  network.catch(() => {});  // a late failure is the kept page's, not an error
  const late = new Promise((ok) => setTimeout(ok, patienceMs));
  try {
    const answer = await Promise.race([network, late]);
    if (answer && answer.ok) return answer;
  } catch {}
  return (await caches.match(page)) || network;
}

self.addEventListener("fetch", (event) => {
  const request = event.request;
  if (request.method !== "GET") return;
  if (request.mode === "navigate") {
    event.respondWith(fromNetworkFirst(request));
    return;
  }
  event.respondWith(caches.match(request).then((kept) => kept || fetch(request)));
});
