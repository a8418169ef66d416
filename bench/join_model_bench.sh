#!/usr/bin/env bash
# The join model as a file, measured: sizes, the start of a short join
# against a plain split, memory, the speed of a long join, and accuracy on
# real text (Debian's fortunes-zh, and every Chinese msgstr of the zh_CN
# translations installed on this machine).
#   bench/join_model_bench.sh BUILD_DIR
set -eu
build=$(realpath "${1:-build}")
root=$(cd "$(dirname "$0")/.." && pwd)
tools=$build/tools
model=$build/data/join-model.bin
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$tools/zelk-dict" create --database Zelk.dll 2>/dev/null

echo "join_model_bench: $(date -u +%Y-%m-%d), $(nproc) cores"
strip -o zelk-split.stripped "$tools/zelk-split"
strip -o zelk-dict.stripped "$tools/zelk-dict"
echo "zelk-split stripped: $(stat -c %s zelk-split.stripped) bytes (zelk-dict $(stat -c %s zelk-dict.stripped))"
echo "model file: $(stat -c %s "$model") bytes, $(gzip -9 -c "$model" | wc -c) after gzip -9"
echo "data/ in the tree: $(du -sb "$root/data" | cut -f1) bytes"
if deb=$(ls "$build"/zelk_*.deb 2>/dev/null | head -1) && [[ -n $deb ]]; then
    echo "package installed size: $(dpkg-deb -f "$deb" Installed-Size) KiB ($(basename "$deb"))"
fi

# Best of 5 wall times and the peak memory of one run.
best_of_5() {
    local best="" start end ms
    for _ in 1 2 3 4 5; do
        start=$(date +%s%N)
        "$@" > /dev/null
        end=$(date +%s%N)
        ms=$(( (end - start) / 1000 ))
        [[ -z "$best" || $ms -lt $best ]] && best=$ms
    done
    echo "$best"
}
peak_kb() { /usr/bin/time -f %M "$@" 2>&1 > /dev/null | tail -1; }
echo 女子 > short.txt
split_us=$(best_of_5 "$tools/zelk-split" --database Zelk.dll --file short.txt)
join_us=$(best_of_5 "$tools/zelk-split" --join --database Zelk.dll --file short.txt)
echo "echo 女子 | zelk-split: split $((split_us / 1000)).$(( split_us % 1000 / 100 )) ms, join $((join_us / 1000)).$(( join_us % 1000 / 100 )) ms (best of 5): $(python3 -c "print(f'{$join_us / $split_us:.2f}')") x"
echo "peak memory: short split $(peak_kb "$tools/zelk-split" --database Zelk.dll --file short.txt) KB, short join $(peak_kb "$tools/zelk-split" --join --database Zelk.dll --file short.txt) KB"

# A long join: 1,000,000 characters of real text, split, then read back.
cat /usr/share/games/fortunes/{tang300,song100,chinese} > fortunes.txt
python3 -c "
text = open('fortunes.txt', encoding='utf-8').read()
print(text[:1000000] if len(text) >= 1000000 else text, end='')" > long.txt
"$tools/zelk-split" --database Zelk.dll < long.txt > long.split
chars=$(python3 -c "print(len(open('long.split', encoding='utf-8').read()))")
open_us=$(best_of_5 "$tools/zelk-split" --join --database Zelk.dll --file short.txt)
long_us=$(best_of_5 "$tools/zelk-split" --join --database Zelk.dll --file long.split)
echo "long join: $chars characters of split text in $((long_us / 1000)) ms; $(python3 -c "print(f'{$chars / max($long_us - $open_us, 1) * 1e6:,.0f}')") characters/s after the open"
echo "peak memory of the long join: $(peak_kb "$tools/zelk-split" --join --database Zelk.dll --file long.split) KB"

# Accuracy: each text split and read back, compared by alignment.
accuracy() {  # NAME FILE
    "$tools/zelk-split" --database Zelk.dll < "$2" > "$2.split"
    "$tools/zelk-split" --join --database Zelk.dll < "$2.split" > "$2.joined"
    python3 "$root/bench/round_trip.py" "accuracy, $1" "$2" "$2.joined"
}
accuracy "fortunes-zh (the join benchmark)" fortunes.txt
if bash "$root/bench/translations.sh" zh_CN > translations.txt 2>/dev/null && [[ -s translations.txt ]]; then
    accuracy "Debian's zh_CN translations on this machine" translations.txt
else
    echo "accuracy, zh_CN translations: skipped (needs gettext's msgunfmt and zh_CN .mo files)"
fi
