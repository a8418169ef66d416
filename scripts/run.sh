#!/usr/bin/env bash
# The main job: set up, build the window and the tools, create Zelk.dll here
# if it is missing, and open the window on it. The window needs a display
# (an X11 or Wayland session, or xvfb-run).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup-debian.sh" run
echo "run: building the window and the tools"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build "$root/build" --target zelk zelk-dict zelk-split
[[ -e Zelk.dll ]] || "$root/build/tools/zelk-dict" create
# Chromium, inside the web panel, refuses to run as root with its sandbox on.
[[ $(id -u) -eq 0 ]] && export QTWEBENGINE_DISABLE_SANDBOX=1
echo "run: opening the window on $(realpath Zelk.dll)"
exec "$root/build/app/zelk"
