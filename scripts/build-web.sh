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

echo "build-web: the engine (WebAssembly) and the page in $site"
emcmake cmake -S "$root" -B "$work/wasm" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DZELK_SITE_DIR="$site" \
    -DZELK_JOIN_MODEL_FILE="$work/native/data/join-model.bin" \
    -DZELK_CHARACTER_RANKS_FILE="$work/native/data/character-ranks.txt" > /dev/null
cmake --build "$work/wasm" --target zelk-page
echo "build-web: done; open $site/index.html, or publish the folder on any static host"
