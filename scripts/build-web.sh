#!/usr/bin/env bash
# Builds the browser edition into DIR (default build-web/site): index.html
# and the files it needs, all from this origin. The engine is the C++ engine
# compiled to WebAssembly with Debian's emscripten; the dictionaries are the
# same data files as the desktop build's, and the join model the same file,
# compiled natively from the same counts.
#   scripts/build-web.sh [DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
site=$(realpath -m "${1:-$root/build-web/site}")
work=$root/build-web
bash "$root/scripts/setup-debian.sh" web

# Debian's emscripten runs its JavaScript with the node on PATH, which may
# not look where Debian keeps acorn and the other modules emscripten needs.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}

echo "build-web: the join model and the list of characters by frequency (native)"
cmake -S "$root" -B "$work/native" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZELK_ENGINE_ONLY=ON > /dev/null
cmake --build "$work/native" --target join_model

echo "build-web: the engine (WebAssembly)"
emcmake cmake -S "$root" -B "$work/wasm" -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$work/wasm" --target zelk-engine

echo "build-web: the page in $site"
rm -rf "$site"
mkdir -p "$site"
cp "$root"/web/page/{index.html,style.css,app.js,zelk-api.js} "$site/"
cp "$work/wasm/web/zelk-engine.js" "$site/"
cp "$work/native/data/join-model.bin" "$site/"
python3 - "$root/data" "$work/native/data" "$site" <<'PY'
import base64, json, os, sys
data, built, site = sys.argv[1:]
read = lambda folder, name: open(os.path.join(folder, name), encoding="utf-8").read()
model = open(os.path.join(site, "join-model.bin"), "rb").read()
# A page opened from disk may not fetch: the model also comes as scripts,
# each a part of it, loaded one after the other when 还原 is first used.
part = 2 << 20
chunks = [model[at:at + part] for at in range(0, len(model), part)]
for index, chunk in enumerate(chunks):
    with open(os.path.join(site, f"join-model-{index:02d}.js"), "w", encoding="ascii") as out:
        out.write(f'self.zelkModelChunk({index},"{base64.b64encode(chunk).decode()}");\n')
values = {
    "generated": read(data, "cjk-decomp-lr.tsv"),
    "supplement": read(data, "supplement.tsv"),
    "topBottom": read(data, "top-bottom.tsv"),
    "ranks": read(built, "character-ranks.txt"),
    "model": {"file": "join-model.bin", "bytes": len(model), "chunks": len(chunks)},
}
with open(os.path.join(site, "zelk-data.js"), "w", encoding="utf-8") as out:
    out.write("// The dictionaries and the characters by frequency, made by scripts/build-web.sh.\n")
    out.write(f"globalThis.ZELK_DATA = {json.dumps(values, ensure_ascii=False)};\n")
PY
cp "$root/NOTICE" "$site/NOTICE.txt"
cp "$root/app/icons/zelk-64.png" "$site/icon.png"
echo "build-web: done; open $site/index.html, or publish the folder on any static host"
