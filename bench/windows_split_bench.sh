#!/usr/bin/env bash
# zelk-split.exe under wine against the Linux zelk-split, the same run, on
# 10,000,000 characters of real text (Debian's fortunes-zh, repeated): best
# of 5 runs each, start-up left out (the time of a run on one character,
# best of 5, is taken off).
#   bench/windows_split_bench.sh LINUX_TOOLS WINDOWS_TOOLS
#   e.g. bench/windows_split_bench.sh build/tools build-windows/cross/tools
set -eu
linux=$(realpath "$1")
windows=$(realpath "$2")
here=$(dirname "$(realpath "$0")")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
export WINEPREFIX=${WINEPREFIX:-$(dirname "$windows")/wineprefix} WINEDEBUG=-all
"$linux/zelk-dict" create --database Zelk.dll 2> /dev/null
python3 - <<'PY'
text = "".join(open(f"/usr/share/games/fortunes/{n}", encoding="utf-8").read()
               for n in ("tang300", "song100", "chinese"))
open("text.txt", "w", encoding="utf-8").write((text * (10_000_000 // len(text) + 1))[:10_000_000])
open("one.txt", "w", encoding="utf-8").write("好")
PY
# Best of 5, in milliseconds, of a program on a file.
best() {
    local best="" start end ms
    for _ in 1 2 3 4 5; do
        start=$(date +%s%N)
        "$@" > /dev/null
        end=$(date +%s%N)
        ms=$(((end - start) / 1000000))
        [[ -z $best || $ms -lt $best ]] && best=$ms
    done
    echo "$best"
}
# A session of wine's own, so that no run pays for starting it.
wineserver -p60 && wine wineboot > /dev/null 2>&1 < /dev/null
run_linux() { "$linux/zelk-split" --database Zelk.dll --file "$1"; }
run_windows() { wine "$windows/zelk-split.exe" --database Zelk.dll --file "$1"; }
linux_all=$(best run_linux text.txt)
linux_start=$(best run_linux one.txt)
windows_all=$(best run_windows text.txt)
windows_start=$(best run_windows one.txt)
check=$(cmp <(run_linux text.txt) <(run_windows text.txt) && echo "the same output" || echo "DIFFERENT OUTPUT")
linux_work=$((linux_all - linux_start))
windows_work=$((windows_all - windows_start))
echo "zelk-split on 10,000,000 characters, best of 5, start-up left out ($check):"
echo "  Linux:              $linux_work ms  (run $linux_all ms, start $linux_start ms)"
echo "  Windows under wine: $windows_work ms  (run $windows_all ms, start $windows_start ms)"
echo "  ratio: $(python3 -c "print(f'{$windows_work / max($linux_work, 1):.2f}')") x (target: at most 1.5 x)"
