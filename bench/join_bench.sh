#!/usr/bin/env bash
# Round trip of real text: split with the default dictionary, read back with
# zelk-split --join, and compare by alignment. The text is Debian's
# fortunes-zh (Tang poems, Song lyrics, classical and modern prose).
#   bench/join_bench.sh BUILD_DIR/tools
set -eu
tools=$(realpath "${1:-build/tools}")
data=$(cd "$(dirname "$0")/../data" && pwd)
texts=(/usr/share/games/fortunes/tang300 /usr/share/games/fortunes/song100 /usr/share/games/fortunes/chinese)
for text in "${texts[@]}"; do
    [[ -r $text ]] || { echo "join_bench: needs fortunes-zh (apt-get install fortunes-zh)" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$tools/zelk-dict" create --database Zelk.dll 2>/dev/null
cat "${texts[@]}" > original.txt
"$tools/zelk-split" --database Zelk.dll < original.txt > split.txt
ms() { local start end; start=$(date +%s%N); "$@" > /dev/null; end=$(date +%s%N); echo $(( (end - start) / 1000000 )); }
load=$(ms "$tools/zelk-split" --join --database Zelk.dll -- "")
total=$(ms "$tools/zelk-split" --join --database Zelk.dll --file split.txt)
"$tools/zelk-split" --join --database Zelk.dll --file split.txt > joined.txt
PYTHONPATH=$data python3 - "$load" "$total" <<'PY'
import collections, difflib, re, sys
import chinese_characters
load, total = int(sys.argv[1]), int(sys.argv[2])
original = open("original.txt", encoding="utf-8").read().split("\n")
joined = open("joined.txt", encoding="utf-8").read().split("\n")
pattern = re.compile(chinese_characters.character_class())
chinese = lambda c: pattern.fullmatch(c) is not None
count = wrong = 0
mistakes = collections.Counter()
for a, b in zip(original, joined):
    count += sum(map(chinese, a))
    if a == b:
        continue
    for op, a1, a2, b1, b2 in difflib.SequenceMatcher(None, a, b, autojunk=False).get_opcodes():
        if op != "equal":
            wrong += max(sum(map(chinese, a[a1:a2])), 1)
            mistakes[(a[a1:a2], b[b1:b2])] += 1
chars = sum(len(line) + 1 for line in original)
print(f"text: {count} Chinese characters ({chars} in all), {len(original)} lines")
print(f"read back exactly: {100 * (1 - wrong / count):.3f} % of the Chinese characters "
      f"({wrong} wrong)")
print(f"join: dictionary and model opened in {load} ms; "
      f"{chars / max(total - load, 1) * 1000:,.0f} characters/s after that")
print("most common mistakes (original -> read back, times):")
for (a, b), n in mistakes.most_common(12):
    print(f"  {a} -> {b}  {n}")
PY
