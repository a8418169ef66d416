#!/usr/bin/env bash
# Traditional text: how much of the common traditional left-right characters
# whose simplified forms split (data/traditional-lr.tsv) the default
# dictionary splits, counted over running text, and how much of the text
# comes back from a split and a join. The texts: Debian's fortunes-zh
# converted by Debian's opencc (s2t.json), and Debian's zh_TW translations on
# this machine; neither is data the dictionary or the join model was made
# from.
#   bench/traditional_bench.sh BUILD_DIR/tools
set -eu
tools=$(realpath "${1:-build/tools}")
bench=$(cd "$(dirname "$0")" && pwd)
data=$bench/../data
command -v opencc > /dev/null || { echo "traditional_bench: needs opencc" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$tools/zelk-dict" create --database Zelk.dll 2>/dev/null
cat /usr/share/games/fortunes/{tang300,song100,chinese} | opencc -c s2t.json > fortunes.txt
bash "$bench/translations.sh" zh_TW > translations.txt 2>/dev/null || : > translations.txt
grep -v '^#' "$data/traditional-lr.tsv" | cut -f1 > listed.txt
"$tools/zelk-split" --database Zelk.dll --file listed.txt > listed-split.txt
for text in fortunes.txt translations.txt; do
    [[ -s $text ]] || { echo "$text: none on this machine"; continue; }
    name=$([[ $text == fortunes.txt ]] && echo "fortunes-zh in traditional characters (opencc s2t)" || echo "Debian's zh_TW translations on this machine")
    python3 "$bench/traditional_share.py" "$text" listed.txt listed-split.txt "$name"
    "$tools/zelk-split" --database Zelk.dll --file "$text" > "$text.split"
    "$tools/zelk-split" --join --database Zelk.dll --file "$text.split" > "$text.joined"
    python3 "$bench/round_trip.py" "  split and joined" "$text" "$text.joined"
    "$tools/zelk-split" --database Zelk.dll --separator ' ' --file "$text" > "$text.separated" 2>/dev/null
    "$tools/zelk-split" --join --separator ' ' --database Zelk.dll --file "$text.separated" > "$text.rejoined"
    python3 "$bench/round_trip.py" "  split and joined with --separator ' '" "$text" "$text.rejoined"
done
