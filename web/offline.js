// The page kept for playing offline: once the game has drawn and the full fonts are in (so the
// service worker's copy of them comes from the browser's cache, not over the network again), the
// service worker (sw.js) is registered; it keeps this version's files and serves them when the
// network is gone. The page is marked once it is in the service worker's hands.
"use strict";

function lusheraKeepOffline() {
  if (!("serviceWorker" in navigator)) return;  // not over https or from the local machine
  const kept = () => { document.body.dataset.offline = "ready"; };
  navigator.serviceWorker.addEventListener("controllerchange", kept);
  lusheraFonts.loadFull().then(() => navigator.serviceWorker.register("sw.js")).then(() => navigator.serviceWorker.ready)
    .then(() => { if (navigator.serviceWorker.controller) kept(); })
    .catch((e) => console.error("the page cannot be kept for offline:", e));
}
