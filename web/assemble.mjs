// Puts the browser edition's page together in a folder: the page's static
// files, the engine, the dictionaries and the join model. A page opened
// from disk may not fetch, so the dictionaries come as a script
// (zelk-data.js) and the model also as scripts that carry it in parts.
//   node assemble.mjs SITE ENGINE_JS PAGE_DIR DATA_DIR MODEL RANKS NOTICE ICON
import fs from "node:fs";
import path from "node:path";

const [site, engine, page, data, model, ranks, notice, icon] = process.argv.slice(2);
if (!icon) {
  console.error("usage: node assemble.mjs SITE ENGINE_JS PAGE_DIR DATA_DIR MODEL RANKS NOTICE ICON");
  process.exit(2);
}

fs.rmSync(site, { recursive: true, force: true });
fs.mkdirSync(site, { recursive: true });
for (const name of ["index.html", "style.css", "boot.js"]) fs.copyFileSync(path.join(page, name), path.join(site, name));
fs.copyFileSync(engine, path.join(site, "zelk-engine.js"));
fs.copyFileSync(notice, path.join(site, "NOTICE.txt"));
fs.copyFileSync(icon, path.join(site, "icon.png"));
fs.copyFileSync(model, path.join(site, "join-model.bin"));

const bytes = fs.readFileSync(model);
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
  model: { file: "join-model.bin", bytes: bytes.length, chunks },
};
fs.writeFileSync(
  path.join(site, "zelk-data.js"),
  "// The dictionaries and the characters by frequency, put together with the page.\n" +
    `globalThis.ZELK_DATA = ${JSON.stringify(values)};\n`,
);
