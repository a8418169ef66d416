// The browser edition's engine under Node: the same results as zelk-split
// and zelk-dict on real text, the user's entries, faults as codes.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import path from "node:path";
import { before, test } from "node:test";

import { createZelk, EngineFault } from "../../web/page/src/engine.mjs";
import { faultText } from "../../web/page/src/messages.mjs";
import { cli, dict, engineFactory, realText, site, siteData, work } from "./support.mjs";

const text = realText(400000);
let zelk;

before(async () => {
  zelk = await createZelk(engineFactory(), siteData());
  zelk.loadModel(fs.readFileSync(path.join(site, siteData().model.file)));
});

test("split is byte for byte zelk-split's, in every output form", async () => {
  assert.ok(text.length >= 100000, "at least 100,000 characters of real text");
  for (const topBottom of [false, true]) {
    zelk.useTopBottom(topBottom);
    for (const [options, args] of [
      [{}, []],
      [{ separator: " " }, ["--separator", " "]],
      [{ separator: " / " }, ["--separator", " / "]],
      [{ mark: "{c}({p})" }, ["--mark", "{c}({p})"]],
      [{ separator: "|", mark: "[{p}]" }, ["--separator", "|", "--mark", "[{p}]"]],
    ]) {
      const page = (await zelk.split(text, options, { step: 12345 })).text;
      assert.equal(page, cli(args, text, { topBottom }), JSON.stringify({ topBottom, options }));
    }
  }
  zelk.useTopBottom(false);
});

test("join is byte for byte zelk-split --join's, however the text is cut", async () => {
  const splitText = cli([], text);
  const expected = cli(["--join"], splitText);
  for (const step of [7777, 1 << 16, 1 << 22]) {
    assert.equal(await zelk.join(splitText, {}, { step }), expected, `parts of ${step}`);
  }
  const separated = cli(["--separator", " "], text);
  const expectedSeparated = cli(["--join", "--separator", " "], separated);
  for (const step of [4321, 1 << 22]) {
    assert.equal(await zelk.join(separated, { separator: " " }, { step }), expectedSeparated, `parts of ${step}`);
  }
});

test("a join keeps the dictionary it started with while the page changes it", async () => {
  const splitText = cli([], text.slice(0, 100000));
  const expected = cli(["--join"], splitText);
  let changes = 0;
  const joined = await zelk.join(splitText, {}, {
    step: 5000,
    progress: async () => {
      // What 上下结构, 查找, 统计, 查询 and 保存 do between two parts.
      zelk.useTopBottom(changes % 2 === 0);
      zelk.find(["木"], false);
      zelk.coverage("好林", 5);
      zelk.lookup("好");
      zelk.save("好", `女${changes}`);
      zelk.remove("好");
      changes++;
    },
  });
  assert.ok(changes > 10);
  assert.equal(joined, expected);
  zelk.useTopBottom(false);
});

test("the user's entries override the default, as an import with --replace-keys", async () => {
  const user = "好\t女孑\n林\t双木\nq\t[q]\n";
  assert.deepEqual(zelk.loadUserEntries(user), { count: 3, faults: [] });
  const sample = "好林李qQ" + text.slice(0, 20000);
  assert.equal((await zelk.split(sample)).text, cli([], sample, { user }));
  assert.deepEqual(zelk.lookup("好"), { found: true, own: true, value: "女孑" });
  assert.deepEqual(zelk.lookup("Q"), { found: true, own: true, value: "[q]" });
  assert.deepEqual(zelk.lookup("请"), { found: true, own: false, value: "讠青" });
  assert.deepEqual(zelk.lookup("龘"), { found: false });
  assert.equal(zelk.remove("好"), true);
  assert.equal(zelk.remove("好"), false, "the default entry is not the user's to delete");
  assert.deepEqual(zelk.lookup("好"), { found: true, own: false, value: "女子" });
  zelk.save("Q", "[Q]");
  assert.equal(zelk.userEntries(), "林\t双木\nQ\t[Q]\n", "a key of either case is one key");
  zelk.loadUserEntries("");
});

test("stored entries are read as far as they can be, each bad line named", () => {
  assert.deepEqual(zelk.loadUserEntries("好\t女子\n请\t讠青\n坏\n多\t1\t2\n"), {
    count: 2,
    faults: [
      { code: "NoTab", line: 3, text: "坏", source: "" },
      { code: "MoreThanTwoFields", line: 4, text: "多\t1\t2", source: "" },
    ],
  });
  assert.equal(zelk.userEntries(), "好\t女子\n请\t讠青\n");
  zelk.loadUserEntries("");
});

test("an import is read strictly, as zelk-dict reads it, and names the line at fault", () => {
  zelk.save("甲", "一");
  const refused = (bytes, code, line) => {
    assert.throws(
      () => zelk.importUserEntries(bytes, "bad.tsv"),
      (error) => error instanceof EngineFault && error.fault.code === code && error.fault.line === line,
    );
  };
  refused(new TextEncoder().encode("好\t女子\n坏的一行\n"), "NoTab", 2);
  refused(new TextEncoder().encode("好\t\\q\n"), "UnknownEscapeInReplacement", 1);
  refused(Uint8Array.from([0xba, 0xc3, 9, 0xc5, 0xae, 0xd7, 0xd3, 10]), "LineNotUtf8", 1); // 好 女子 in GBK
  refused(Uint8Array.from([0xff, 0xfe, 0x7d, 0x59, 9, 0]), "LineNotUtf8", 1); // UTF-16
  refused(new TextEncoder().encode("好\t女子\na\0b\tc\n"), "LineWithNul", 2);
  refused(Uint8Array.from([0x61, 9, 0xed, 0xa0, 0x80, 10]), "LineNotUtf8", 1); // a surrogate half
  assert.equal(zelk.userEntries(), "甲\t一\n", "nothing changed");
  for (const bytes of [new TextEncoder().encode("坏\n"), Uint8Array.from([0xff])]) {
    const database = path.join(work, "strict.dll");
    fs.rmSync(database, { force: true });
    execFileSync(dict, ["create", "--empty", "--database", database], { stdio: "ignore" });
    assert.throws(() => execFileSync(dict, ["import", "--database", database, "-"], { input: bytes, stdio: "pipe" }));
  }
  const summary = zelk.importUserEntries(new TextEncoder().encode("甲\t二\n乙\t一\n乙\t二\n"), "good.tsv");
  assert.deepEqual(summary, { added: 1, changed: 1, repeated: 1 });
  zelk.loadUserEntries("");
});

test("lone surrogates and text that is no Chinese pass through", async () => {
  const odd = "a\ud800好\udc00b\ud83d\ude00 \u0000\uffff" + "x".repeat(100) + "\udfff";
  assert.equal((await zelk.split(odd)).text, odd.replace("好", "女子"));
  assert.equal(await zelk.join("\ud800女子\udfff"), "\ud800好\udfff");
});

test("the output forms are judged by the engine", async () => {
  assert.equal((await zelk.split("好 的", { separator: " " })).ambiguous, true);
  assert.equal((await zelk.split("好，的", { separator: " " })).ambiguous, false);
  assert.equal(zelk.markFault("{c}({p})"), null);
  assert.equal(zelk.markFault("[]").code, "MarkWithoutPlaceholder");
  assert.equal(zelk.separatorFault("丨").code, "SeparatorWithChinese");
  await assert.rejects(zelk.join("女子", { separator: "丨" }), (error) => error.fault.code === "SeparatorWithChinese");
});

test("every fault the engine can give is worded in Chinese", () => {
  const codes = zelk.errorCodes();
  assert.ok(codes.length >= 10);
  for (const code of codes) {
    const words = faultText({ code, line: 0, text: "x", source: "" });
    assert.doesNotMatch(words, /拆字引擎出错/, code);
    assert.match(words, /[\u4e00-\u9fff]/, code);
  }
});

test("find by parts and coverage are zelk-dict's", () => {
  const found = zelk.find(["木"], false).map((f) => `${f.character}\t${f.parts}`).join("\n") + "\n";
  const database = path.join(work, "find.dll");
  execFileSync(dict, ["create", "--database", database], { stdio: "ignore" });
  const expected = execFileSync(dict, ["find", "--database", database, "木"]).toString("utf8");
  // GBK's order of the rare characters no count ranks is the desktop's alone.
  const ranked = (list) => list.split("\n").slice(0, 60).join("\n");
  assert.equal(ranked(found), ranked(expected));
  assert.deepEqual(zelk.find(["女", "子"], true), [{ character: "好", parts: "女子" }]);
  const coverage = zelk.coverage(text, 30);
  const report = execFileSync(dict, ["coverage", "--database", database], { input: text }).toString("utf8");
  assert.match(report, new RegExp(`^Chinese characters: ${coverage.chinese}, split by the dictionary: ${coverage.split} `));
  assert.equal(
    report.split("\n").slice(2, 12).join("\n"),
    coverage.whole.slice(0, 10).map(([c, n]) => `${c}\t${n}`).join("\n"),
  );
});

test("a model that is no model is refused with its code", () => {
  assert.throws(() => zelk.loadModel(new Uint8Array([1, 2, 3])), (error) => error.fault.code === "ModelNotAModel");
});
