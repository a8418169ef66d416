#!/usr/bin/env bash
# Time from process start to the window shown, with and without the web
# panel, best and median of 7 runs each (offscreen unless QT_QPA_PLATFORM says
# otherwise).
#   bench/startup_bench.sh BUILD_DIR
set -eu
build=$(realpath "${1:-build}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$build/tools/zelk-dict" create 2>/dev/null
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
[[ $(id -u) -eq 0 ]] && export QTWEBENGINE_DISABLE_SANDBOX=1
for mode in none panel; do
    times=()
    for _ in 1 2 3 4 5 6 7; do
        start=$(date +%s%N)
        shown=$("$build/bench/startup_bench" "$mode" 2>/dev/null | tail -1)
        times+=($(( (shown - start) / 1000000 )))
    done
    sorted=($(printf '%s\n' "${times[@]}" | sort -n))
    echo "start-up to visible window, web panel: $mode: best ${sorted[0]} ms, median ${sorted[3]} ms"
done
