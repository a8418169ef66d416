// The page's modules under Node, outside a browser: what it keeps, how it
// reads what it kept, the model's download, one command at a time.
import assert from "node:assert/strict";
import { before, test } from "node:test";

import { createZelk } from "../../web/page/src/engine.mjs";
import { Entries } from "../../web/page/src/entries.mjs";
import { fetchModel, ModelError, modelFromScripts } from "../../web/page/src/model.mjs";
import { joinFault, splitFault } from "../../web/page/src/options.mjs";
import {
  DEFAULT_OPTIONS,
  EntryStore,
  ENTRIES_KEY,
  OPTIONS_KEY,
  readOptions,
  SafeStorage,
  UNREADABLE_PREFIX,
  writeOptions,
} from "../../web/page/src/storage.mjs";
import { TaskRunner } from "../../web/page/src/tasks.mjs";
import { engineFactory, siteData } from "./support.mjs";

// localStorage as a browser gives it, shared by the "tabs" made on it.
class MemoryStorage {
  constructor(values = {}) {
    this.values = new Map(Object.entries(values));
  }
  get length() {
    return this.values.size;
  }
  key(i) {
    return [...this.values.keys()][i] ?? null;
  }
  getItem(key) {
    return this.values.has(key) ? this.values.get(key) : null;
  }
  setItem(key, value) {
    this.values.set(key, String(value));
  }
}

let factory, data;
before(() => {
  factory = engineFactory();
  data = siteData();
});

// A tab of the page: its own engine, the browser's storage.
async function tab(storage) {
  const zelk = await createZelk(factory, data);
  const entries = new Entries(zelk, new EntryStore(new SafeStorage(storage), () => 1700000000000));
  return { zelk, entries, problem: entries.load() };
}

test("one bad stored line keeps the others and a copy of the whole, and says so", async () => {
  const stored = "好\t女子\n请\t讠青\n坏\n";
  const storage = new MemoryStorage({ [ENTRIES_KEY]: stored });
  const { zelk, entries, problem } = await tab(storage);
  assert.match(problem.text, /有 1 行无法读取（第 3 行：原始字和替换字之间没有制表符）/);
  assert.deepEqual(zelk.lookup("请"), { found: true, own: true, value: "讠青" });
  assert.equal(entries.save("林", "木木").text.startsWith("保存成功！"), true);
  assert.equal(storage.getItem(ENTRIES_KEY), "好\t女子\n请\t讠青\n林\t木木\n");
  assert.equal(storage.getItem(`${UNREADABLE_PREFIX}1700000000000`), stored, "the original is kept");
  // Saved again: the copy is not made twice.
  entries.save("林", "双木");
  assert.equal([...storage.values.keys()].filter((key) => key.startsWith(UNREADABLE_PREFIX)).length, 1);
});

test("two tabs keep each other's saves and deletions", async () => {
  const storage = new MemoryStorage({ [ENTRIES_KEY]: "甲\t一\n乙\t二\n" });
  const first = await tab(storage);
  const second = await tab(storage);
  assert.equal(first.entries.save("好", "女孑").text, "保存成功！");
  assert.equal(second.entries.save("林", "木木").text, "保存成功！");
  assert.equal(first.entries.remove("甲").text, "删除成功！");
  assert.equal(second.entries.save("乙", "二二").text, "保存成功！");
  assert.equal(storage.getItem(ENTRIES_KEY), "乙\t二二\n好\t女孑\n林\t木木\n");
  // The deletion in the first tab is not undone by the second's view of it.
  assert.deepEqual(second.zelk.lookup("甲"), { found: false });
  first.entries.load();
  assert.deepEqual(first.zelk.lookup("林"), { found: true, own: true, value: "木木" });
});

test("an import is read strictly, changes nothing when refused and says what it did", async () => {
  const storage = new MemoryStorage({ [ENTRIES_KEY]: "甲\t一\n" });
  const { entries } = await tab(storage);
  const gbk = Uint8Array.from([0xba, 0xc3, 9, 0xc5, 0xae, 0xd7, 0xd3, 10]);
  assert.equal(entries.import(gbk, "gbk.tsv").text, "无法导入，词条没有改动。gbk.tsv 第 1 行：这一行不是有效的 UTF-8 文本（请把文件存为 UTF-8）");
  assert.equal(storage.getItem(ENTRIES_KEY), "甲\t一\n");
  const many = new TextEncoder().encode("甲\t二\n" + "乙\t二\n".repeat(5000));
  assert.equal(entries.import(many, "many.tsv").text, "已导入：新增 1 条，修改 1 条；4999 行重复了前面的原始字，以最后一行为准。");
  assert.equal(storage.getItem(ENTRIES_KEY), "甲\t二\n乙\t二\n");
});

test("storage that refuses is said, never taken for success", async () => {
  const refusing = { getItem: () => null, setItem: () => { throw new Error("QuotaExceededError"); }, length: 0, key: () => null };
  const { entries } = await tab(refusing);
  assert.deepEqual(entries.save("好", "女孑"), { text: "无法保存到这个浏览器：请导出词条，以免丢失。", error: true });
});

test("options that are not what the page wrote give the defaults", () => {
  for (const raw of ["{", "null", "[]", "42", '"x"', '{"separator": 5}']) {
    const { options, unreadable } = readOptions(new SafeStorage(new MemoryStorage({ [OPTIONS_KEY]: raw })));
    assert.equal(unreadable, true, raw);
    assert.deepEqual(options, DEFAULT_OPTIONS, raw);
  }
  const storage = new SafeStorage(new MemoryStorage());
  assert.deepEqual(readOptions(storage), { options: DEFAULT_OPTIONS, unreadable: false });
  writeOptions(storage, { ...DEFAULT_OPTIONS, separator: " ", topBottom: true });
  assert.deepEqual(readOptions(storage).options, { ...DEFAULT_OPTIONS, separator: " ", topBottom: true });
});

test("the forms are judged by the engine and the fault is said in Chinese", async () => {
  const zelk = await createZelk(factory, data);
  assert.deepEqual(splitFault(zelk, { ...DEFAULT_OPTIONS, mark: "[]" }), {
    field: "mark",
    text: "标注格式里要有 {c}（原字）或 {p}（部件）",
  });
  assert.equal(splitFault(zelk, { ...DEFAULT_OPTIONS, mark: "{p}" }), null);
  assert.equal(joinFault(zelk, { ...DEFAULT_OPTIONS, separator: "丨" }).text, "还原用的分隔符里不能有汉字或部件");
});

test("the model's download says in Chinese what went wrong", async () => {
  const body = (chunks) => ({
    getReader: () => ({ read: async () => (chunks.length ? { done: false, value: chunks.shift() } : { done: true }) }),
  });
  const ok = async () => ({ ok: true, status: 200, headers: new Map([["Content-Length", "4"]]), body: body([Uint8Array.of(1, 2), Uint8Array.of(3, 4)]) });
  const seen = [];
  assert.deepEqual(await fetchModel(ok, "m", 4, (done, total) => seen.push([done, total])), Uint8Array.of(1, 2, 3, 4));
  assert.deepEqual(seen, [[2, 4], [4, 4]]);
  await assert.rejects(fetchModel(async () => ({ ok: false, status: 404 }), "m", 4), (e) => e instanceof ModelError && e.message === "服务器答复 404");
  await assert.rejects(fetchModel(async () => { throw new TypeError("Failed to fetch"); }, "m", 4), { message: "网络连接失败" });
});

test("the model from scripts: every part in order, or the missing one named", async () => {
  const global = { atob: (b) => Buffer.from(b, "base64").toString("latin1") };
  const parts = [Buffer.from([1, 2, 3]), Buffer.from([4, 5])];
  const load = async (name) => {
    const index = Number(name.slice(11, 13));
    if (name === "join-model-01.js" && global.fail) throw new Error("404");
    global.zelkModelChunk(index, parts[index].toString("base64"));
  };
  assert.deepEqual(await modelFromScripts(global, load, 2, 5), Uint8Array.of(1, 2, 3, 4, 5));
  assert.equal(global.zelkModelChunk, undefined);
  global.fail = true;
  await assert.rejects(modelFromScripts(global, load, 2, 5), { message: "join-model-01.js 无法读取" });
});

test("one command at a time, and the controls are locked while it runs", async () => {
  const states = [];
  const runner = new TaskRunner((busy) => states.push(busy));
  let release;
  const first = runner.run(() => new Promise((resolve) => (release = resolve)), assert.fail);
  assert.equal(await runner.run(async () => assert.fail("ran beside the first"), assert.fail), false);
  release();
  assert.equal(await first, true);
  const failures = [];
  assert.equal(await runner.run(async () => { throw new Error("x"); }, (e) => failures.push(e.message)), false);
  assert.deepEqual(failures, ["x"]);
  assert.deepEqual(states, [true, false, true, false]);
});
