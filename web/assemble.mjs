// Puts the browser edition's page together in a folder: the page's static
// files, the engine, the dictionaries, the join model and the service
// worker that keeps them for offline use. A page opened from disk may not
// fetch, so the dictionaries come as a script (zelk-data.js) and the model
// also as scripts that carry it in parts.
//   node assemble.mjs SITE ENGINE_JS PAGE_DIR DATA_DIR MODEL RANKS NOTICE ICONS_DIR
//   node assemble.mjs --worker SITE PAGE_DIR   (once app.js is there too)
import crypto from "node:crypto";
import fs from "node:fs";
import path from "node:path";

const hash = (bytes) => crypto.createHash("sha256").update(bytes).digest("hex");

// The service worker, for the files now in the site: its version is a hash
// of them all, so that every build is a set of its own.
function writeWorker(site, page) {
  const files = fs
    .readdirSync(site)
    .filter((name) => name !== "sw.js" && !/^join-model.*\.(bin|js)$/.test(name))
    .sort();
  const version = hash(files.map((name) => name + "\0" + hash(fs.readFileSync(path.join(site, name)))).join("\n")).slice(0, 16);
  const worker = fs
    .readFileSync(path.join(page, "sw.js"), "utf8")
    .replace('const VERSION = "dev";', `const VERSION = "${version}";`)
    .replace("const FILES = [];", `const FILES = ${JSON.stringify(["./", ...files])};`);
  fs.writeFileSync(path.join(site, "sw.js"), worker);
}

if (process.argv[2] === "--worker") {
  writeWorker(process.argv[3], process.argv[4]);
  process.exit(0);
}

const [site, engine, page, data, model, ranks, notice, icons] = process.argv.slice(2);
if (!icons) {
  console.error("usage: node assemble.mjs SITE ENGINE_JS PAGE_DIR DATA_DIR MODEL RANKS NOTICE ICONS_DIR");
  process.exit(2);
}

fs.rmSync(site, { recursive: true, force: true });
fs.mkdirSync(site, { recursive: true });
for (const name of ["index.html", "style.css", "boot.js", "manifest.webmanifest"])
  fs.copyFileSync(path.join(page, name), path.join(site, name));
fs.copyFileSync(engine, path.join(site, "zelk-engine.js"));
fs.copyFileSync(notice, path.join(site, "NOTICE.txt"));
fs.copyFileSync(path.join(icons, "zelk-64.png"), path.join(site, "icon.png"));
fs.copyFileSync(path.join(icons, "zelk-192.png"), path.join(site, "icon-192.png"));
fs.copyFileSync(path.join(icons, "zelk-512.png"), path.join(site, "icon-512.png"));

// The model under a name of its content: a page of one build never reads
// the model of another from a cache or a host.
const bytes = fs.readFileSync(model);
const modelName = `join-model-${hash(bytes).slice(0, 16)}.bin`;
fs.copyFileSync(model, path.join(site, modelName));
const part = 2 << 20;
let chunks = 0;
for (let at = 0; at < bytes.length; at += part, chunks++) {
  const name = `join-model-${String(chunks).padStart(2, "0")}.js`;
  const base64 = bytes.subarray(at, at + part).toString("base64");
  fs.writeFileSync(path.join(site, name), `self.zelkModelChunk(${chunks},"${base64}");\n`);
}

const read = (file) => fs.readFileSync(file, "utf8");
const values = {
  generated: read(path.join(data, "cjk-decomp-lr.tsv")),
  supplement: read(path.join(data, "supplement.tsv")),
  topBottom: read(path.join(data, "top-bottom.tsv")),
  ranks: read(ranks),
  model: { file: modelName, bytes: bytes.length, chunks },
};
fs.writeFileSync(
  path.join(site, "zelk-data.js"),
  "// The dictionaries and the characters by frequency, put together with the page.\n" +
    `globalThis.ZELK_DATA = ${JSON.stringify(values)};\n`,
);
