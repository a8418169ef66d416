#!/usr/bin/env bash
# Traditional running text: the share of the common traditional left-right
# characters whose simplified forms split (data/traditional-lr.tsv) that the
# default dictionary splits, on the benchmark texts (Debian's fortunes-zh)
# converted to traditional characters by Debian's opencc, kept out of the
# data tuned on; and the coverage report on such text.
# usage: traditional_test.sh ZELK_DICT ZELK_SPLIT
set -u
dict=$(realpath "$1")
split=$(realpath "$2")
data=$(dirname "$(realpath "$0")")/../../data
source "$(dirname "$(realpath "$0")")/../lib/check.sh"
enter_work_dir
fortunes=/usr/share/games/fortunes
cat "$fortunes/tang300" "$fortunes/song100" "$fortunes/chinese" | opencc -c s2t.json > traditional.txt
"$dict" create --database Zelk.dll 2>/dev/null
grep -v '^#' "$data/traditional-lr.tsv" | cut -f1 > listed.txt
"$split" --database Zelk.dll --file listed.txt > listed-split.txt
share=$(python3 "$(dirname "$(realpath "$0")")/../../bench/traditional_share.py" traditional.txt listed.txt listed-split.txt)
check "the common traditional left-right characters are split (at least 99.5 %)" yes \
    "$(python3 -c "import sys; print('yes' if float(sys.argv[1]) >= 99.5 else sys.argv[1])" "$share")"
"$dict" coverage --database Zelk.dll traditional.txt > coverage.txt
check "the coverage report reads traditional text" yes \
    "$(grep -q '^Chinese characters: 33[0-9]*, split by the dictionary: ' coverage.txt && echo yes || head -2 coverage.txt)"
check "traditional characters split with traditional parts" $'讠青讠上\n訁青訁襄\n又寸丵寸' \
    "$("$split" --database Zelk.dll 请让 請讓 对對)"
report
