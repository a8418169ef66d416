#!/usr/bin/env bash
# Round trip of real text: split with the default dictionary, read back with
# zelk-split --join, and compare by alignment. The text is Debian's
# fortunes-zh (Tang poems, Song lyrics, classical and modern prose).
#   bench/join_bench.sh BUILD_DIR/tools
set -eu
tools=$(realpath "${1:-build/tools}")
bench=$(cd "$(dirname "$0")" && pwd)
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
chars=$(python3 -c "print(len(open('original.txt', encoding='utf-8').read()))")
python3 "$bench/round_trip.py" "fortunes-zh, $(wc -l < original.txt) lines" original.txt joined.txt
echo "join: dictionary and model opened in $load ms; $(python3 -c "print(f'{$chars / max($total - $load, 1) * 1000:,.0f}')") characters/s after that"
