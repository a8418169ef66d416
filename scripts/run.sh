#!/usr/bin/env bash
# The main job: set up, build the window and the tools, create Zelk.dll here
# if it is missing, and open the window on it. The build's output goes to
# build/run-build.log and is shown only when the build fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup-debian.sh"
log="$root/build/run-build.log"
mkdir -p "$root/build"
echo "run: building the window and the tools (log: $log)"
if ! { cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo &&
    cmake --build "$root/build" --target zelk zelk-dict zelk-split; } > "$log" 2>&1; then
    cat "$log"
    echo "run: the build failed" >&2
    exit 1
fi
[[ -e Zelk.dll ]] || "$root/build/tools/zelk-dict" create
# Chromium, inside the web panel, refuses to run as root with its sandbox on.
[[ $(id -u) -eq 0 ]] && export QTWEBENGINE_DISABLE_SANDBOX=1
echo "run: opening the window on $(realpath Zelk.dll)"
exec "$root/build/app/zelk"
