#!/usr/bin/env bash
# The main job: set up, build, create Zelk.dll here if it is missing, and split
# the saved sentence with the command-line splitter.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup-debian.sh"
bash "$root/scripts/build.sh"
[[ -e Zelk.dll ]] || "$root/build/tools/zelk-dict" create
"$root/build/tools/zelk-split" "拆功，阴阳，请让精神好，骆驼，难捉狗"
