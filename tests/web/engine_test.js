// The browser edition's engine under Node: the same results as zelk-split
// and zelk-dict on real text, the user's entries, bad input.
//   node --no-experimental-fetch engine_test.js SITE_DIR ZELK_DICT ZELK_SPLIT
"use strict";
const assert = require("assert");
const { execFileSync } = require("child_process");
const fs = require("fs");
const os = require("os");
const path = require("path");

const [site, dict, split] = process.argv.slice(2).map((p) => path.resolve(p));
const { createZelk } = require(path.join(site, "zelk-api.js"));
const factory = require(path.join(site, "zelk-engine.js"));
require(path.join(site, "zelk-data.js"));
const DATA = globalThis.ZELK_DATA;
const work = fs.mkdtempSync(path.join(os.tmpdir(), "zelk-web-"));
let failures = 0;

async function test(name, body) {
  try {
    await body();
    console.log(`ok - ${name}`);
  } catch (error) {
    failures++;
    console.log(`not ok - ${name}\n  ${String(error.stack || error).split("\n").slice(0, 6).join("\n  ")}`);
  }
}

// zelk-split on a database made as the page's dictionary is: the default
// set, the top-bottom set when asked for, the user's entries over them.
function cli(args, input, { topBottom = false, user = "" } = {}) {
  const database = path.join(work, `${topBottom ? "tb" : "lr"}-${Buffer.from(user).toString("hex").slice(0, 40)}.dll`);
  if (!fs.existsSync(database)) {
    execFileSync(dict, ["create", "--database", database, ...(topBottom ? ["--with", "top-bottom"] : [])], { stdio: "ignore" });
    if (user) execFileSync(dict, ["import", "--replace-keys", "--database", database, "-"], { input: user, stdio: ["pipe", "ignore", "ignore"] });
  }
  return execFileSync(split, ["--database", database, ...args], { input, maxBuffer: 1 << 28 }).toString("utf8");
}

(async () => {
  const zelk = await createZelk(factory);
  zelk.setDictionary(0, DATA.generated);
  zelk.setDictionary(1, DATA.supplement);
  zelk.setDictionary(2, DATA.topBottom);
  const text = ["tang300", "song100", "chinese"]
    .map((name) => fs.readFileSync(`/usr/share/games/fortunes/${name}`, "utf8"))
    .join("")
    .slice(0, 400000);
  assert(text.length >= 100000, "at least 100,000 characters of real text");

  await test("split is byte for byte zelk-split's, in every output form", async () => {
    for (const topBottom of [false, true]) {
      zelk.useTopBottom(topBottom);
      for (const [options, args] of [
        [{}, []],
        [{ separator: " " }, ["--separator", " "]],
        [{ separator: " / " }, ["--separator", " / "]],
        [{ mark: "{c}({p})" }, ["--mark", "{c}({p})"]],
        [{ separator: "|", mark: "[{p}]" }, ["--separator", "|", "--mark", "[{p}]"]],
      ]) {
        const page = (await zelk.split(text, { ...options, step: 12345 })).text;
        assert.strictEqual(page, cli(args, text, { topBottom }), JSON.stringify({ topBottom, options }));
      }
    }
  });

  await test("join is byte for byte zelk-split --join's", async () => {
    zelk.loadModel(fs.readFileSync(path.join(site, "join-model.bin")));
    zelk.useTopBottom(false);
    const splitText = cli([], text);
    assert.strictEqual(await zelk.join(splitText, { step: 7777 }), cli(["--join"], splitText));
    const separated = cli(["--separator", " "], text);
    assert.strictEqual(await zelk.join(separated, { separator: " " }), cli(["--join", "--separator", " "], separated));
  });

  await test("the user's entries override the default, as an import with --replace-keys", async () => {
    zelk.useTopBottom(false);
    const user = "好\t女孑\n林\t双木\nq\t[q]\n";
    assert.strictEqual(zelk.setUserEntries("mine.tsv", user, false), 3);
    const sample = "好林李qQ" + text.slice(0, 20000);
    assert.strictEqual((await zelk.split(sample)).text, cli([], sample, { user }));
    assert.deepStrictEqual(zelk.lookup("好"), { found: true, own: true, value: "女孑" });
    assert.deepStrictEqual(zelk.lookup("Q"), { found: true, own: true, value: "[q]" });
    assert.deepStrictEqual(zelk.lookup("请"), { found: true, own: false, value: "讠青" });
    assert.deepStrictEqual(zelk.lookup("龘"), { found: false });
    assert.strictEqual(zelk.remove("好"), true);
    assert.strictEqual(zelk.remove("好"), false, "the default entry is not the user's to delete");
    assert.deepStrictEqual(zelk.lookup("好"), { found: true, own: false, value: "女子" });
    zelk.save("Q", "[Q]");
    assert.strictEqual(zelk.userEntries(), "林\t双木\nQ\t[Q]\n", "a key of either case is one key");
    zelk.setUserEntries("", "", false);
  });

  await test("a damaged file names its line and changes nothing", async () => {
    zelk.save("甲", "一");
    assert.throws(() => zelk.setUserEntries("bad.tsv", "好\t女子\n坏的一行\n", true), /^Error: bad\.tsv:2: no tab between key and replacement$/);
    assert.throws(() => zelk.setUserEntries("bad.tsv", "好\t女子\t多\n", true), /bad\.tsv:1: more than two fields/);
    assert.throws(() => zelk.setUserEntries("bad.tsv", "好\t\\q\n", true), /bad\.tsv:1: unknown escape/);
    assert.strictEqual(zelk.userEntries(), "甲\t一\n");
    zelk.remove("甲");
  });

  await test("lone surrogates and text that is no Chinese pass through", async () => {
    const odd = "a\ud800好\udc00b\ud83d\ude00 \u0000\uffff";
    assert.strictEqual((await zelk.split(odd)).text, "a\ud800女子\udc00b\ud83d\ude00 \u0000\uffff");
    assert.strictEqual(await zelk.join("\ud800女子\udfff"), "\ud800好\udfff");
  });

  await test("a separator of the text between Chinese characters is reported", async () => {
    assert.strictEqual((await zelk.split("好 的", { separator: " " })).ambiguous, true);
    assert.strictEqual((await zelk.split("好，的", { separator: " " })).ambiguous, false);
    await assert.rejects(zelk.join("女子", { separator: "丨" }), (error) => error.code === "separator");
  });

  await test("find by parts and coverage are zelk-dict's", async () => {
    zelk.setRanks(DATA.ranks);
    const found = zelk.find(["木"], false).map((f) => `${f.character}\t${f.parts}`).join("\n") + "\n";
    const database = path.join(work, "find.dll");
    execFileSync(dict, ["create", "--database", database], { stdio: "ignore" });
    const expected = execFileSync(dict, ["find", "--database", database, "木"]).toString("utf8");
    // GBK's order of the rare characters no count ranks is the desktop's alone.
    const ranked = (list) => list.split("\n").slice(0, 60).join("\n");
    assert.strictEqual(ranked(found), ranked(expected));
    assert.deepStrictEqual(zelk.find(["女", "子"], true), [{ character: "好", parts: "女子" }]);
    const coverage = zelk.coverage(text, 30);
    const report = execFileSync(dict, ["coverage", "--database", database], { input: text }).toString("utf8");
    assert.match(report, new RegExp(`^Chinese characters: ${coverage.chinese}, split by the dictionary: ${coverage.split} `));
    assert.strictEqual(report.split("\n").slice(2, 12).join("\n"), coverage.whole.slice(0, 10).map(([c, n]) => `${c}\t${n}`).join("\n"));
  });

  await test("a damaged model is refused with a message", async () => {
    assert.throws(() => zelk.loadModel(new Uint8Array([1, 2, 3])), /is no model file of this program/);
  });

  fs.rmSync(work, { recursive: true, force: true });
  console.log(failures === 0 ? "all passed" : `${failures} failed`);
  process.exit(failures === 0 ? 0 : 1);
})();
