// The page's service worker with the browser's caches stood in for: a build
// is one set, taken whole before it serves, and the sets of two builds
// never mix.
import assert from "node:assert/strict";
import fs from "node:fs";
import path from "node:path";
import { test } from "node:test";
import vm from "node:vm";

import { site } from "./support.mjs";

// The caches of one origin, as CacheStorage keeps them.
class Caches {
  constructor() {
    this.stores = new Map();
  }
  async open(name) {
    if (!this.stores.has(name)) this.stores.set(name, new Map());
    const store = this.stores.get(name);
    return {
      addAll: async (urls) => {
        const responses = await Promise.all(urls.map((url) => this.fetch(url)));
        if (responses.some((response) => !response.ok)) throw new TypeError("addAll: a request failed");
        urls.forEach((url, i) => store.set(new URL(url, "http://host/site/").pathname, responses[i]));
      },
      match: async (request) => store.get(new URL(request.url ?? request, "http://host/site/").pathname),
      put: async (request, response) => store.set(new URL(request.url).pathname, response),
    };
  }
  async keys() {
    return [...this.stores.keys()];
  }
  async delete(name) {
    return this.stores.delete(name);
  }
}

const response = (body, ok = true) => ({ ok, body, clone() { return this; } });

// A worker of the built site, as the browser runs it: {handlers, caches}.
function worker(caches, files) {
  const handlers = {};
  const self = {
    location: new URL("http://host/site/sw.js"),
    clients: { claim: async () => {} },
    addEventListener: (type, handler) => (handlers[type] = handler),
  };
  caches.fetch = async (url) => {
    const name = new URL(url.url ?? url, "http://host/site/").pathname.slice("/site/".length) || "index.html";
    return name in files ? response(files[name]) : response(null, false);
  };
  const source = fs.readFileSync(path.join(site, "sw.js"), "utf8");
  vm.runInNewContext(source, { self, caches, fetch: caches.fetch, URL, Promise, console });
  return handlers;
}

async function run(handler, request) {
  let done;
  const event = { request, waitUntil: (promise) => (done = promise), respondWith: (promise) => (done = promise) };
  handler(event);
  return done;
}

test("a build's files are kept as one set and the model once fetched", async () => {
  const source = fs.readFileSync(path.join(site, "sw.js"), "utf8");
  const files = JSON.parse(/const FILES = (\[.*\]);/.exec(source)[1]);
  assert.ok(files.includes("app.js") && files.includes("zelk-engine.js") && files.includes("index.html"));
  assert.ok(!files.some((name) => name.startsWith("join-model")), "the model is kept when fetched, not before");
  const model = fs.readdirSync(site).find((name) => /^join-model-[0-9a-f]+\.bin$/.test(name));
  const contents = Object.fromEntries([...files.filter((f) => f !== "./"), model].map((name) => [name, `${name} of the first build`]));
  const caches = new Caches();
  const first = worker(caches, contents);
  await run(first.install);
  await run(first.activate);
  const [name] = await caches.keys();
  assert.match(name, /^zelk-[0-9a-f]{16}$/);
  assert.equal((await run(first.fetch, { method: "GET", url: "http://host/site/app.js" })).body, "app.js of the first build");
  // The host changes under the page: what the worker kept is what it serves.
  for (const key of Object.keys(contents)) contents[key] = `${key} of the second build`;
  assert.equal((await run(first.fetch, { method: "GET", url: "http://host/site/app.js" })).body, "app.js of the first build");
  assert.equal((await run(first.fetch, { method: "GET", url: `http://host/site/${model}` })).body, `${model} of the second build`);
  assert.equal((await caches.stores.get(name).get(`/site/${model}`)).body, `${model} of the second build`, "kept once fetched");

  // A build whose set cannot be taken whole is not installed: the old set stays.
  const broken = { ...contents };
  delete broken["zelk-engine.js"];
  const failed = worker(caches, broken);
  await assert.rejects(run(failed.install));
  assert.deepEqual(await caches.keys(), [name]);
});

test("a new build's set replaces the old one whole when it takes over", async () => {
  const caches = new Caches();
  const old = "zelk-0000000000000000";
  caches.stores.set(old, new Map([["/site/app.js", response("old app.js")]]));
  caches.stores.set("someone-else", new Map());
  const source = fs.readFileSync(path.join(site, "sw.js"), "utf8");
  const files = JSON.parse(/const FILES = (\[.*\]);/.exec(source)[1]).filter((f) => f !== "./");
  const next = worker(caches, Object.fromEntries(files.map((f) => [f, `new ${f}`])));
  await run(next.install);
  assert.equal((await caches.keys()).length, 3, "the old set serves until the new worker takes over");
  await run(next.activate);
  assert.deepEqual((await caches.keys()).filter((n) => n.startsWith("zelk-")).length, 1);
  assert.ok(!(await caches.keys()).includes(old));
  assert.ok((await caches.keys()).includes("someone-else"), "other caches of the origin stay");
});
