#!/usr/bin/env bash
# zelk-split --only: 10,000 listed words over 1,000,000 characters of real
# text (Debian's fortunes-zh, repeated), against a plain split of the same
# text; best of 5 runs each.
#   bench/only_bench.sh BUILD_DIR/tools
set -eu
tools=$(realpath "${1:-build/tools}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$tools/zelk-dict" create --database Zelk.dll 2>/dev/null
python3 - <<'PY'
import collections, re
text = "".join(open(f"/usr/share/games/fortunes/{n}", encoding="utf-8").read() for n in ("tang300", "song100", "chinese"))
open("text.txt", "w", encoding="utf-8").write((text * 2)[:1000000])
# The words: the most frequent runs of two and three Chinese characters.
counts = collections.Counter()
for run in re.findall(r"[\u4e00-\u9fff]+", text):
    for n in (2, 3):
        counts.update(run[i:i + n] for i in range(len(run) - n + 1))
open("words.txt", "w", encoding="utf-8").write("\n".join(w for w, _ in counts.most_common(10000)) + "\n")
PY
best() {
    local best=
    for _ in 1 2 3 4 5; do
        local start end
        start=$(date +%s%N); "$@" > /dev/null; end=$(date +%s%N)
        local ms=$(( (end - start) / 1000000 ))
        [[ -z $best || $ms -lt $best ]] && best=$ms
    done
    echo "$best"
}
plain=$(best "$tools/zelk-split" --database Zelk.dll --file text.txt)
only=$(best "$tools/zelk-split" --database Zelk.dll --only-file words.txt --file text.txt)
echo "zelk-split on 1,000,000 characters: plain $plain ms; --only with 10,000 words $only ms ($(python3 -c "print(f'{$only / max($plain, 1):.2f}')") x)"
