// The browser edition in headless Chromium and Firefox, measured: how soon
// the page is ready from disk, what it fetches before the first split, a
// split of 100,000 characters of real text against zelk-split on the same
// text, and the join's speed.
//   node bench/web_bench.mjs [SITE_DIR] [BUILD_DIR]   (defaults: build-web/site, build)
// Needs the browser tests' driver: npm ci --prefix tests/web.
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import http from "node:http";
import os from "node:os";
import path from "node:path";
import { createRequire } from "node:module";

const root = path.dirname(path.dirname(new URL(import.meta.url).pathname));
const require = createRequire(path.join(root, "tests/web/package.json"));
const puppeteer = require("puppeteer-core");
const site = path.resolve(process.argv[2] ?? path.join(root, "build-web/site"));
const build = path.resolve(process.argv[3] ?? path.join(root, "build"));

const text = ["tang300", "song100", "chinese"]
  .map((name) => fs.readFileSync(`/usr/share/games/fortunes/${name}`, "utf8"))
  .join("")
  .slice(0, 100000);
const work = fs.mkdtempSync(path.join(os.tmpdir(), "zelk-bench-"));
const database = path.join(work, "Zelk.dll");
execFileSync(path.join(build, "tools/zelk-dict"), ["create", "--database", database], { stdio: "ignore" });
fs.writeFileSync(path.join(work, "text.txt"), text);
const splitCli = () => execFileSync(path.join(build, "tools/zelk-split"), ["--database", database, "--file", path.join(work, "text.txt")]).toString();

const server = http.createServer((request, response) => {
  const file = path.join(site, decodeURIComponent(new URL(request.url, "http://x").pathname));
  if (!file.startsWith(site) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) return response.writeHead(404).end();
  const type = { ".html": "text/html; charset=utf-8", ".js": "text/javascript", ".css": "text/css" }[path.extname(file)];
  response.writeHead(200, type ? { "Content-Type": type } : {});
  response.end(fs.readFileSync(file));
});
await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
const origin = `http://127.0.0.1:${server.address().port}`;

// Runs a command of the page and gives its time in ms, until the result is drawn.
const timed = (page, id) =>
  page.evaluate((id) => new Promise((done) => {
    const start = performance.now();
    document.getElementById(id).click();
    const wait = () => (document.body.hasAttribute("aria-busy") ? setTimeout(wait, 1)
      : requestAnimationFrame(() => requestAnimationFrame(() => done(performance.now() - start))));
    setTimeout(wait, 0);
  }), id);
const median = (values) => [...values].sort((a, b) => a - b)[values.length >> 1];

console.log(`web_bench: ${new Date().toISOString().slice(0, 10)}, ${os.cpus().length} cores`);
for (const [name, launch] of [
  ["chrome", { executablePath: "/usr/bin/chromium", args: ["--no-sandbox", "--disable-gpu", "--disable-background-networking", "--disable-component-update", "--no-first-run"] }],
  ["firefox", { executablePath: "/usr/bin/firefox-esr", args: [] }],
]) {
  const browser = await puppeteer.launch({ browser: name, headless: true, ...launch });
  console.log(`${name}: ${await browser.version()}`);
  const page = await browser.newPage();
  const ready = [];
  for (let i = 0; i < 5; i++) {
    await page.goto(`file://${path.join(site, "index.html")}`);
    await page.waitForFunction(() => document.body.dataset.ready === "true");
    ready.push(await page.evaluate(() => performance.getEntriesByName("zelk-ready")[0].startTime));
  }
  console.log(`  page ready from local disk: best ${Math.min(...ready).toFixed(0)} ms, median ${median(ready).toFixed(0)} ms (of 5 loads)`);

  await page.goto(`${origin}/index.html`);
  await page.waitForFunction(() => document.body.dataset.ready === "true");
  await page.$eval("#sentence", (box, text) => (box.value = text), text);
  const first = await timed(page, "split");
  const fetched = await page.evaluate(() =>
    [...performance.getEntriesByType("navigation"), ...performance.getEntriesByType("resource")].reduce((n, e) => n + e.decodedBodySize, 0));
  const second = Math.min(await timed(page, "split"), await timed(page, "split"), await timed(page, "split"));
  const shown = await page.$eval("#result", (box) => box.value);
  const cliRuns = [];
  let cli;
  for (let i = 0; i < 5; i++) {
    const start = performance.now();
    cli = splitCli();
    cliRuns.push(performance.now() - start);
  }
  if (shown !== cli) throw new Error("the page's split differs from zelk-split's");
  if (name === "chrome") console.log(`  fetched before the first split: ${fetched.toLocaleString("en")} bytes (uncompressed)`);
  console.log(`  split of ${text.length.toLocaleString("en")} characters, shown: first ${first.toFixed(0)} ms, then ${second.toFixed(0)} ms; zelk-split ${Math.min(...cliRuns).toFixed(0)} ms (best of 5)`);
  await page.$eval("#sentence", (box, text) => (box.value = text), cli);
  const load = await timed(page, "join");
  const join = Math.min(await timed(page, "join"), await timed(page, "join"), await timed(page, "join"));
  console.log(`  join of ${cli.length.toLocaleString("en")} characters: first (with the model's download) ${load.toFixed(0)} ms, then ${join.toFixed(0)} ms = ${Math.round((cli.length / join) * 1000).toLocaleString("en")} characters/s`);
  await browser.close();
}
server.close();
fs.rmSync(work, { recursive: true, force: true });
