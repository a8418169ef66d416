// The page's service worker: keeps the page's files, and the join model once
// fetched, so that after one visit the page loads, splits and reads back
// with the network gone. Each build is one set under a name of its own
// (the version below, a hash of the files): a new build's worker takes its
// whole set before it serves anything, and the old set goes only when no
// page of it is open, so that a page never mixes files of two builds.
// assemble.mjs fills in VERSION and FILES.
"use strict";

const VERSION = "dev";
const FILES = [];
const CACHE = `zelk-${VERSION}`;
// Kept when first fetched rather than at install: most visits never read
// text back, and the model is large.
const ON_DEMAND = /\/join-model-[0-9a-f]+\.bin$/;

self.addEventListener("install", (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)));
});

self.addEventListener("activate", (event) => {
  event.waitUntil(
    caches
      .keys()
      .then((names) => Promise.all(names.filter((name) => name.startsWith("zelk-") && name !== CACHE).map((name) => caches.delete(name))))
      .then(() => self.clients.claim()),
  );
});

self.addEventListener("fetch", (event) => {
  const request = event.request;
  if (request.method !== "GET" || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith(
    caches.open(CACHE).then(async (cache) => {
      const kept = await cache.match(request, { ignoreSearch: true });
      if (kept) return kept;
      const response = await fetch(request);
      if (response.ok && ON_DEMAND.test(new URL(request.url).pathname)) await cache.put(request, response.clone());
      return response;
    }),
  );
});
