// The browser edition in real browsers, Debian's chromium and firefox-esr
// (driven by puppeteer-core): served from a static host on the loopback
// address and opened straight from disk.
import assert from "node:assert/strict";
import fs from "node:fs";
import http from "node:http";
import path from "node:path";
import { after, before, describe, test } from "node:test";

import puppeteer from "puppeteer-core";

import { cli, realText, site, work } from "./support.mjs";

const BROWSERS = {
  chrome: {
    executablePath: "/usr/bin/chromium",
    args: ["--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage", "--no-first-run",
      "--disable-background-networking", "--disable-component-update", "--disable-sync"],
  },
  firefox: { executablePath: "/usr/bin/firefox-esr", args: [] },
};

const TYPES = { ".html": "text/html; charset=utf-8", ".js": "text/javascript; charset=utf-8", ".css": "text/css",
  ".png": "image/png", ".bin": "application/octet-stream", ".txt": "text/plain; charset=utf-8",
  ".json": "application/manifest+json", ".webmanifest": "application/manifest+json" };

// A static host for the site on a free loopback port. Under /missing-engine/
// the engine is missing; under /damaged-model/ the join model is damaged.
function serve() {
  const requests = [];
  const server = http.createServer((request, response) => {
    let url = decodeURIComponent(new URL(request.url, "http://x").pathname);
    requests.push(url);
    let variant = "";
    for (const prefix of ["/missing-engine", "/damaged-model"]) {
      if (url.startsWith(prefix + "/")) {
        variant = prefix;
        url = url.slice(prefix.length);
      }
    }
    const file = path.join(site, url === "/" ? "index.html" : url);
    if (!file.startsWith(site) || !fs.existsSync(file) || (variant === "/missing-engine" && url === "/zelk-engine.js")) {
      response.writeHead(404).end();
      return;
    }
    let bytes = fs.readFileSync(file);
    if (variant === "/damaged-model" && /^\/join-model-[0-9a-f]+\.bin$/.test(url)) {
      bytes = Buffer.from(bytes);
      bytes[bytes.length >> 1] ^= 1;
    }
    response.writeHead(200, { "Content-Type": TYPES[path.extname(file)] ?? "application/octet-stream", "Content-Length": bytes.length });
    response.end(bytes);
  });
  return new Promise((resolve) => server.listen(0, "127.0.0.1", () => resolve({ server, requests })));
}

const text = realText(150000);
let host;
before(async () => {
  host = await serve();
  host.origin = `http://127.0.0.1:${host.server.address().port}`;
});
after(() => host.server.close());

for (const [name, launch] of Object.entries(BROWSERS)) {
  describe(`the page in ${name}`, () => {
    let browser;
    before(async () => {
      browser = await puppeteer.launch({ browser: name, headless: true, ...launch });
    });
    after(async () => browser?.close());

    // A page in a fresh context of its own (its own storage), with what it
    // reports in its console kept: {page, errors, context}.
    async function open(url = `${host.origin}/index.html`, { context, storage } = {}) {
      context ??= await browser.createBrowserContext();
      const page = await context.newPage();
      const errors = [];
      page.on("console", (message) => message.type() === "error" && errors.push(message.text()));
      page.on("pageerror", (error) => errors.push(String(error)));
      if (storage) {
        await page.goto(`${host.origin}/NOTICE.txt`);
        await page.evaluate((values) => {
          for (const [key, value] of Object.entries(values)) localStorage.setItem(key, value);
        }, storage);
      }
      await page.goto(url);
      return { page, errors, context };
    }
    const ready = (page) => page.waitForFunction(() => document.body.dataset.ready === "true", { timeout: 30000 });
    const value = (page, id) => page.$eval(`#${id}`, (element) => element.value);
    const textOf = (page, id) => page.$eval(`#${id}`, (element) => element.textContent);
    const setValue = (page, id, text) =>
      page.$eval(`#${id}`, (element, text) => {
        element.value = text;
        element.dispatchEvent(new Event("input"));
      }, text);
    const waitText = (page, id, expected, timeout = 30000) =>
      page.waitForFunction((id, expected) => document.getElementById(id).textContent.includes(expected), { timeout }, id, expected);
    // 还原 of the text in the sentence box: the result once it is done.
    const readBack = async (page, text) => {
      await setValue(page, "sentence", text);
      await page.click("#join");
      await waitText(page, "status", "已还原", 60000);
      return value(page, "result");
    };
    const idle = (page, timeout = 60000) =>
      page.waitForFunction(() => !document.body.hasAttribute("aria-busy"), { timeout });

    test("type, split, copy and read back", async () => {
      const { page, context, errors } = await open();
      await ready(page);
      await setValue(page, "sentence", "");
      await page.type("#sentence", "请让精神好，abc");
      await page.click("#split");
      await page.waitForFunction(() => document.getElementById("result").value !== "");
      assert.equal(await value(page, "result"), "讠青讠上米青礻申女子，abc");
      await page.click("#copy");
      await page.waitForFunction(() => document.getElementById("status").textContent !== "");
      if (name === "chrome") {
        await context.overridePermissions(host.origin, ["clipboard-read", "clipboard-write"]);
        assert.equal(await textOf(page, "status"), "已复制到剪贴板。");
        assert.equal(await page.evaluate(() => navigator.clipboard.readText()), "讠青讠上米青礻申女子，abc");
      }
      // Ctrl+Enter splits, from the keyboard.
      await setValue(page, "sentence", "林");
      await page.focus("#sentence");
      await page.keyboard.down("Control");
      await page.keyboard.press("Enter");
      await page.keyboard.up("Control");
      await page.waitForFunction(() => document.getElementById("result").value === "木木");
      // 还原 fetches the model the first time.
      assert.equal(await readBack(page, "讠青讠上米青礻申女子"), "请让精神好");
      assert.deepEqual(errors, []);
      await context.close();
    });

    test("the user's entries are kept across reloads", async () => {
      const { page, context } = await open();
      await ready(page);
      await page.click("#ku");
      await setValue(page, "key", "好");
      await setValue(page, "value", "女孑");
      await page.click("#save");
      await waitText(page, "panel-status", "保存成功");
      await page.reload();
      await ready(page);
      await setValue(page, "sentence", "好");
      await page.click("#split");
      await page.waitForFunction(() => document.getElementById("result").value === "女孑");
      await page.click("#ku");
      await setValue(page, "key", "好");
      await setValue(page, "value", "");
      await page.click("#lookup");
      await waitText(page, "panel-status", "你自己的词条");
      assert.equal(await value(page, "value"), "女孑");
      await page.click("#delete");
      assert.match(await textOf(page, "confirm"), /确定删除【好】吗？/);
      await page.click("#confirm-yes");
      await waitText(page, "panel-status", "删除成功");
      await page.click("#delete");
      await waitText(page, "panel-status", "没有你自己的词条");
      await context.close();
    });

    test("one bad stored line keeps the good ones, and the original can be exported", async () => {
      const stored = "好\t女孑\n请\t讠靑\n坏\n";
      const { page, context } = await open(undefined, { storage: { "zelk.userEntries": stored } });
      await ready(page);
      assert.match(await textOf(page, "status"), /有 1 行无法读取（第 3 行：原始字和替换字之间没有制表符）/);
      await page.click("#ku");
      await setValue(page, "key", "林");
      await setValue(page, "value", "双木");
      await page.click("#save");
      await waitText(page, "panel-status", "保存成功");
      const kept = await page.evaluate(() => {
        const copies = Object.keys(localStorage).filter((key) => key.startsWith("zelk.userEntries.unreadable."));
        return { entries: localStorage.getItem("zelk.userEntries"), copies: copies.map((key) => localStorage.getItem(key)) };
      });
      assert.deepEqual(kept, { entries: "好\t女孑\n请\t讠靑\n林\t双木\n", copies: [stored] });
      assert.equal(await page.$eval("#export-unreadable", (button) => button.hidden), false);
      await context.close();
    });

    test("two tabs keep each other's entries", async () => {
      const first = await open();
      await ready(first.page);
      const second = await open(undefined, { context: first.context });
      await ready(second.page);
      for (const [{ page }, key, replacement] of [[first, "好", "女孑"], [second, "林", "双木"]]) {
        await page.bringToFront();
        await page.click("#ku");
        await setValue(page, "key", key);
        await setValue(page, "value", replacement);
        await page.click("#save");
        await waitText(page, "panel-status", "保存成功");
      }
      assert.equal(await first.page.evaluate(() => localStorage.getItem("zelk.userEntries")), "好\t女孑\n林\t双木\n");
      // The first tab took the second's entry over without a reload.
      await first.page.bringToFront();
      await setValue(first.page, "sentence", "好林");
      await first.page.click("#split");
      await first.page.waitForFunction(() => document.getElementById("result").value === "女孑双木");
      await first.context.close();
    });

    test("an import names the line at fault and refuses what is no UTF-8", async () => {
      const { page, context } = await open();
      await ready(page);
      await page.click("#ku");
      const upload = async (fileName, bytes) => {
        const file = path.join(work, fileName);
        fs.writeFileSync(file, bytes);
        await setValue(page, "panel-status", "");
        const input = await page.$("#import");
        await input.uploadFile(file);
        await page.waitForFunction(() => document.getElementById("panel-status").textContent !== "");
        return textOf(page, "panel-status");
      };
      assert.equal(await upload("damaged.tsv", "甲\t一\n坏的一行\n"), "无法导入，词条没有改动。damaged.tsv 第 2 行：原始字和替换字之间没有制表符");
      assert.match(await upload("gbk.tsv", Buffer.from([0xba, 0xc3, 9, 0xc5, 0xae, 0xd7, 0xd3, 10])), /gbk\.tsv 第 1 行：这一行不是有效的 UTF-8 文本/);
      assert.equal(await page.evaluate(() => localStorage.getItem("zelk.userEntries")), null, "nothing stored");
      assert.equal(await upload("good.tsv", "甲\t一口\n"), "已导入：新增 1 条，修改 0 条。");
      await context.close();
    });

    test("options the page did not write give the defaults, and the page starts", async () => {
      for (const stored of ["{", "null"]) {
        const { page, context } = await open(undefined, { storage: { "zelk.options": stored } });
        await ready(page);
        assert.equal(await textOf(page, "status"), "浏览器里保存的拆分方式无法读取，已恢复默认设置。");
        assert.equal(await page.$eval("#split", (button) => button.disabled), false);
        await context.close();
      }
    });

    test("find by parts and coverage", async () => {
      const { page, context } = await open();
      await ready(page);
      await setValue(page, "parts", "女 子");
      await page.click("#find");
      assert.equal(await page.$eval("#found li", (item) => item.textContent), "好女子");
      await setValue(page, "parts", "木");
      await page.click("#find");
      assert.deepEqual(await page.$$eval("#found li", (items) => items.slice(0, 3).map((item) => item.textContent[0])), ["相", "机", "林"]);
      await setValue(page, "sentence", "好好人人人，一 abc");
      await page.click("#coverage");
      assert.equal(await textOf(page, "coverage-summary"), "汉字 6 个，可拆分 2 个（33.33%）。");
      await context.close();
    });

    test("the same results as the command line, and a long join not disturbed by other controls", async () => {
      const { page, context } = await open();
      await ready(page);
      await setValue(page, "sentence", text);
      await setValue(page, "separator", " ");
      await page.click("#split");
      await idle(page);
      assert.equal(await value(page, "result"), cli(["--separator", " "], text));
      const splitText = cli([], text.repeat(3));
      await setValue(page, "sentence", splitText);
      await setValue(page, "separator", "");
      await page.click("#join");
      // While it runs: what would change the dictionary is locked, and what
      // else the page does may go on.
      await page.waitForFunction(() => document.body.hasAttribute("aria-busy"), { timeout: 60000 });
      assert.equal(await page.$eval("#top-bottom", (box) => box.disabled), true);
      for (const id of ["find", "coverage", "ku", "lookup"]) await page.click(`#${id}`);
      await page.$eval("#top-bottom", (box) => box.click());
      await waitText(page, "status", "已还原", 120000);
      assert.equal(await value(page, "result"), cli(["--join"], splitText));
      await context.close();
    });

    test("a long paste does not freeze the page", async () => {
      const { page, context } = await open();
      await ready(page);
      const long = "请让精神好，骆驼难捉狗。".repeat(90000).slice(0, 1000000);
      await setValue(page, "sentence", long);
      const longest = await page.evaluate(() => new Promise((done) => {
        let last = performance.now(), longest = 0;
        const tick = () => { const now = performance.now(); longest = Math.max(longest, now - last); last = now; };
        const timer = setInterval(tick, 10);
        document.getElementById("split").click();
        const wait = () => (document.body.hasAttribute("aria-busy") ? setTimeout(wait, 20) : (clearInterval(timer), tick(), done(longest)));
        setTimeout(wait, 20);
      }));
      assert.equal(await value(page, "result"), cli([], long));
      assert.ok(longest < 1000, `the page froze for ${longest} ms`);
      await context.close();
    });

    test("a missing script and a damaged model are said in Chinese", async () => {
      const missing = await open(`${host.origin}/missing-engine/index.html`);
      await waitText(missing.page, "status", "zelk-engine.js 无法载入");
      await missing.context.close();
      const damaged = await open(`${host.origin}/damaged-model/index.html`);
      await ready(damaged.page);
      await setValue(damaged.page, "sentence", "女子");
      await damaged.page.click("#join");
      await waitText(damaged.page, "status", "还原模型无法载入：还原模型文件已损坏或不完整。请刷新页面后重试。", 60000);
      await damaged.context.close();
    });

    test("只拆这些词 splits as zelk-split --only, and is kept across reloads", async () => {
      const { page, context } = await open();
      await ready(page);
      await setValue(page, "sentence", text.slice(0, 20000));
      await setValue(page, "only", "春风，明月 江南\n天下");
      await setValue(page, "separator", " ");
      await page.click("#split");
      await idle(page);
      const args = ["--only", "春风", "--only", "明月", "--only", "江南", "--only", "天下", "--separator", " "];
      assert.equal(await value(page, "result"), cli(args, text.slice(0, 20000)));
      await page.reload();
      await ready(page);
      assert.equal(await value(page, "only"), "春风，明月 江南\n天下");
      await setValue(page, "only", "abc");
      await page.click("#split");
      await waitText(page, "status", "“只拆这些词”里有不含汉字的词：“abc”");
      await context.close();
    });

    test("installs as an app and works offline after one visit", async () => {
      const own = await serve();
      const origin = `http://127.0.0.1:${own.server.address().port}`;
      const { page, context, errors } = await open(`${origin}/index.html`);
      await ready(page);
      const manifest = await page.evaluate(async () => {
        const link = document.querySelector('link[rel="manifest"]');
        const response = await fetch(link.href);
        const body = await response.json();
        const icons = await Promise.all(body.icons.map(async (icon) => {
          const image = await fetch(new URL(icon.src, link.href));
          const bitmap = await createImageBitmap(await image.blob());
          return `${icon.sizes}:${bitmap.width}x${bitmap.height}`;
        }));
        return { name: body.name, display: body.display, start: body.start_url, theme: body.theme_color, icons };
      });
      assert.deepEqual(manifest, { name: "澄墨拆字", display: "standalone", start: "./index.html", theme: "#2f6b4f", icons: ["192x192:192x192", "512x512:512x512"] });
      await page.evaluate(() => navigator.serviceWorker.ready);
      await page.waitForFunction(() => navigator.serviceWorker.controller !== null || (location.reload(), false), { timeout: 30000, polling: 2000 });
      await ready(page);
      // Read back once, so that the model is kept too.
      await readBack(page, "女子");
      own.server.closeAllConnections();
      await new Promise((resolve) => own.server.close(resolve));
      await page.reload();
      await ready(page);
      await setValue(page, "sentence", "请让精神好");
      await page.click("#split");
      await page.waitForFunction(() => document.getElementById("result").value === "讠青讠上米青礻申女子");
      assert.equal(await readBack(page, "讠青讠上米青礻申女子"), "请让精神好");
      assert.deepEqual(errors, []);
      await context.close();
    });

    test("a narrow screen, nothing from another origin, no error in the console", async () => {
      host.requests.length = 0;
      const { page, context, errors } = await open();
      await page.setViewport({ width: 360, height: 800 });
      await ready(page);
      await page.click("#ku");
      assert.ok(await page.evaluate(() => document.documentElement.scrollWidth - document.documentElement.clientWidth) <= 0, "the page scrolls sideways at 360 px");
      for (const id of ["sentence", "result", "key", "value", "separator", "mark", "parts"]) {
        assert.ok(await page.$eval(`#${id}`, (element) => element.labels.length > 0 && element.labels[0].textContent.trim() !== ""), id);
      }
      assert.ok(host.requests.length > 0);
      assert.match(await page.$eval('meta[http-equiv="Content-Security-Policy"]', (meta) => meta.content), /default-src 'none'/);
      assert.deepEqual(errors, []);
      await context.close();
    });

    test("opened from disk: split and read back, no error in the console", async () => {
      const { page, context, errors } = await open(`file://${path.join(site, "index.html")}`);
      await ready(page);
      assert.equal(await readBack(page, "女子木木"), "好林");
      assert.deepEqual(errors, []);
      await context.close();
    });
  });
}
