#!/usr/bin/env bash
# The main job: set up, build, create Zelk.dll here if it is missing, and open
# the window on it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup-debian.sh"
bash "$root/scripts/build.sh"
[[ -e Zelk.dll ]] || "$root/build/tools/zelk-dict" create
# Chromium, inside the web panel, refuses to run as root with its sandbox on.
[[ $(id -u) -eq 0 ]] && export QTWEBENGINE_DISABLE_SANDBOX=1
exec "$root/build/app/zelk"
