// What the browser edition's tests share: the site, the command-line tools
// to compare with, and real text.
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import { createRequire } from "node:module";
import os from "node:os";
import path from "node:path";

const require = createRequire(import.meta.url);

// ZELK_SITE, ZELK_DICT and ZELK_SPLIT name the page's folder and the tools.
export const site = path.resolve(process.env.ZELK_SITE ?? "build-web/site");
export const dict = path.resolve(process.env.ZELK_DICT ?? "build/tools/zelk-dict");
export const split = path.resolve(process.env.ZELK_SPLIT ?? "build/tools/zelk-split");
export const work = fs.mkdtempSync(path.join(os.tmpdir(), "zelk-web-"));
process.on("exit", () => fs.rmSync(work, { recursive: true, force: true }));

export function engineFactory() {
  return require(path.join(site, "zelk-engine.js"));
}

export function siteData() {
  const context = {};
  new Function("globalThis", fs.readFileSync(path.join(site, "zelk-data.js"), "utf8"))(context);
  return context.ZELK_DATA;
}

// Real text: the three texts of Debian's fortunes-zh, the first count
// code units.
export function realText(count) {
  return ["tang300", "song100", "chinese"]
    .map((name) => fs.readFileSync(`/usr/share/games/fortunes/${name}`, "utf8"))
    .join("")
    .slice(0, count);
}

// zelk-split on a database made as the page's dictionary is: the default
// sets, the top-bottom set when asked for, the user's entries over them.
export function cli(args, input, { topBottom = false, user = "" } = {}) {
  const key = `${topBottom ? "tb" : "lr"}-${Buffer.from(user).toString("hex").slice(0, 40)}`;
  const database = path.join(work, `${key}.dll`);
  if (!fs.existsSync(database)) {
    execFileSync(dict, ["create", "--database", database, ...(topBottom ? ["--with", "top-bottom"] : [])], { stdio: "ignore" });
    if (user) {
      execFileSync(dict, ["import", "--replace-keys", "--database", database, "-"], {
        input: user,
        stdio: ["pipe", "ignore", "ignore"],
      });
    }
  }
  return execFileSync(split, ["--database", database, ...args], { input, maxBuffer: 1 << 28 }).toString("utf8");
}
