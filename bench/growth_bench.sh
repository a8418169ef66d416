#!/usr/bin/env bash
# Time and memory of zelk-split on 1,000,000 characters against the default
# dictionary and against the same with 1,000,000 extra entries whose keys are
# several characters long (as large imported dictionaries have; they can
# never match a single character), in the same run.
#   bench/growth_bench.sh BUILD_DIR/tools
set -eu
tools=$(realpath "${1:-build/tools}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$tools/zelk-dict" create --database default.dll 2>/dev/null
cp default.dll large.dll
python3 -c "
import sys
out = sys.stdout
for i in range(1000000):
    out.write(f'长键{i:07d}\t部件{i}\n')
" > extra.tsv
"$tools/zelk-dict" import --database large.dll extra.tsv 2>/dev/null
python3 - > text.txt <<'PY'
import random
random.seed(7305)
print("".join(chr(0x4E00 + random.randrange(0x5000)) if random.random() < .9 else random.choice("，。\n")
              for _ in range(1000000)), end="")
PY
# Best of 3 of: seconds, peak resident kilobytes.
measure() {
    python3 - "$@" <<'PY'
import resource, subprocess, sys, time
best = None
for _ in range(3):
    start = time.perf_counter()
    child = subprocess.Popen(sys.argv[1:], stdin=open("text.txt", "rb"), stdout=subprocess.DEVNULL)
    _, status, usage = __import__("os").wait4(child.pid, 0)
    seconds = time.perf_counter() - start
    if status != 0:
        sys.exit(f"failed: {sys.argv[1:]}")
    if best is None or seconds < best[0]:
        best = (seconds, usage.ru_maxrss)
print(f"{best[0] * 1000:.0f} ms, {best[1] / 1024:.1f} MB peak")
PY
}
echo "zelk-split on 1,000,000 characters, best of 3 runs:"
echo "  default dictionary ($(stat -c %s default.dll) bytes):           $(measure "$tools/zelk-split" --database default.dll)"
echo "  with 1,000,000 long keys ($(stat -c %s large.dll) bytes):  $(measure "$tools/zelk-split" --database large.dll)"
