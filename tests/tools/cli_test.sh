#!/usr/bin/env bash
# End-to-end checks of the command-line tools: zelk-dict and zelk-split.
# usage: cli_test.sh ZELK_DICT ZELK_SPLIT
set -u
dict=$(realpath "$1")
split=$(realpath "$2")
source "$(dirname "$(realpath "$0")")/../lib/check.sh"
enter_work_dir

# Without a database: an error on standard error, nothing on standard output.
out=$("$split" 好 2>err); status=$?
check "missing database status" 1 "$status"
check "missing database output" "" "$out"
check "missing database message" "zelk-split: Could not find file '$work/Zelk.dll'." "$(cat err)"
check "no file created" "no" "$([[ -e Zelk.dll ]] && echo yes || echo no)"

"$dict" create 2>/dev/null; check "create" 0 $?
"$dict" create 2>err; status=$?
check "create refuses to overwrite" 1 "$status"
check "create refusal message" "zelk-dict: 'Zelk.dll' already exists; it was left as it is." "$(cat err)"
"$dict" create --force 2>/dev/null; check "create --force" 0 $?

check "initial sentence" "扌斥工力，阝月阝日，讠青讠上米青礻申女子，马各马它，又隹扌足犭句" \
    "$("$split" 拆功，阴阳，请让精神好，骆驼，难捉狗)"
check "one line per argument" $'女子\n木木' "$("$split" 好 林)"
check "text after --" "-x" "$("$split" -- -x)"

# Standard input and files, through the memory and the per-character paths.
python3 - > text.txt <<'PY'
import random
random.seed(7305)
keys = "拆功阴阳请让精神好骆驼难捉狗能林明aAzZ'\" ，。\n𠮷"
print("".join(random.choice(keys) if random.random() < .6 else chr(0x4E00 + random.randrange(20000))
              for _ in range(200000)), end="")
PY
"$dict" import - 2>/dev/null <<'TSV'
a	[a]
Z	[Z]
'	[quote]
𠮷	士口
TSV
out=$(printf 'a\t[kept?]\n' | "$dict" import - 2>&1)
check "import keeps a key's entry" \
    "zelk-dict: 0 entries added, 0 changed, 1 kept as they were (their keys have entries; --replace-keys changes them)" \
    "$out"
out=$(printf 'a\t[second a]\n' | "$dict" import --replace-keys - 2>&1)
check "import --replace-keys changes it" "zelk-dict: 0 entries added, 1 changed" "$out"
"$split" < text.txt > memory.out; check "stdin split" 0 $?
"$split" --per-char --file text.txt > perchar.out; check "per-char split" 0 $?
check "memory and per-character paths agree" "$(sha256sum < perchar.out)" "$(sha256sum < memory.out)"
check "output is not empty" "yes" "$([[ -s memory.out ]] && echo yes || echo no)"
check "letters in other case" "[second a][second a][Z][Z][quote]士口" "$("$split" aAzZ"'"𠮷)"

# Export, then import into an empty database: the same dictionary.
"$dict" export > exported.tsv; check "export" 0 $?
"$dict" create --empty --database copy.dll 2>/dev/null
"$dict" import --database copy.dll exported.tsv 2>/dev/null; check "import" 0 $?
check "export round trip" "$(sha256sum < exported.tsv)" \
    "$("$dict" export --database copy.dll | sha256sum)"
check "entry count" "$(grep -c . exported.tsv)" "$("$dict" export --database copy.dll | grep -c .)"

# Export never writes over the database it reads, nor over a file that is not
# text, and replaces a backup only whole.
db_sum=$(sha256sum < Zelk.dll)
ln -s Zelk.dll link.dll
"$dict" export Zelk.dll 2>err; status=$?
check "export onto the database refused" 1 "$status"
check "export onto the database message" \
    "zelk-dict: 'Zelk.dll' is the database being exported; nothing was written. Name another file for the export." \
    "$(cat err)"
"$dict" export --force --database link.dll ./Zelk.dll 2>/dev/null
check "export onto the database through a link refused, also forced" 1 $?
cp copy.dll other.dll
"$dict" export other.dll 2>err; status=$?
check "export onto another database refused" 1 "$status"
check "export onto another database message" \
    "zelk-dict: 'other.dll' exists and is not a text file (it may be a database); nothing was written. Use --force to replace it." \
    "$(cat err)"
check "database intact" "$db_sum" "$(sha256sum < Zelk.dll)"
check "other database intact" "$(sha256sum < copy.dll)" "$(sha256sum < other.dll)"
"$dict" export --force other.dll 2>/dev/null; check "forced export over a database" 0 $?
check "forced export wrote the text" "$(sha256sum < exported.tsv)" "$(sha256sum < other.dll)"
printf 'old\tbackup\n' > backup.tsv
chmod 640 backup.tsv
"$dict" export backup.tsv; check "export over an earlier export" 0 $?
check "earlier export replaced" "$(sha256sum < exported.tsv)" "$(sha256sum < backup.tsv)"
if not_on_windows "replaced export keeps its mode" "Windows files have no Unix mode"; then
    check "replaced export keeps its mode" "640" "$(stat -c %a backup.tsv)"
fi
printf 'old\tbackup\n' > backup.tsv
(ulimit -f 16; trap '' XFSZ; "$dict" export backup.tsv 2>err); status=$?
check "export that runs out of space fails" 1 "$status"
check "old backup intact after a failed export" $'old\tbackup' "$(cat backup.tsv)"
check "no temporary file left" "" "$(ls -A | grep '^\.backup' || true)"

# Closed standard output and unreadable inputs are reported with their reason.
if not_on_windows "closed standard output" "$wine_closed_streams"; then
    "$split" 好 >&- 2>err; status=$?
    check "closed standard output status" 1 "$status"
    check "closed standard output message" "zelk-split: cannot write standard output: it is closed" "$(cat err)"
    "$dict" export >&- 2>/dev/null; check "closed standard output in zelk-dict" 1 $?
fi
"$split" --file nothing.txt 2>err
check "missing input reason" "zelk-split: cannot open 'nothing.txt': No such file or directory" "$(cat err)"
mkdir adir
"$split" --file adir 2>err
check "folder as input" "zelk-split: cannot read 'adir': Is a directory" "$(cat err)"
"$dict" import adir 2>err
check "folder as import" "zelk-dict: cannot read 'adir': Is a directory" "$(cat err)"

# A database in a folder that allows no new files: reading works, a change
# says why it cannot be written. Root ignores permissions: run as nobody.
if [[ $(id -u) -eq 0 ]] && command -v runuser > /dev/null &&
    not_on_windows "read-only folder" "wine runs no program of another user in this user's prefix, nor keeps Windows' folder permissions"; then
    shared=$(mktemp -d /tmp/zelk-ro-XXXXXX)
    "$dict" create --database "$shared/Zelk.dll" 2>/dev/null
    chmod 666 "$shared/Zelk.dll"
    printf 'x\ty\n' > "$shared/x.tsv"
    chmod 555 "$shared"
    out=$(runuser -u nobody -- "$split" --database "$shared/Zelk.dll" 好 2>&1)
    check "read-only folder: reading works" "女子" "$out"
    out=$(runuser -u nobody -- "$dict" import --database "$shared/Zelk.dll" "$shared/x.tsv" 2>&1)
    check "read-only folder: the journal is named" \
        "zelk-dict: Cannot update the database: the folder '$shared' does not allow the journal file to be created beside the database file." \
        "$out"
    chmod 755 "$shared"
    rm -rf "$shared"
fi

# The top-bottom set: in a new database beside the default, or imported by
# name into an existing one without touching the user's own entries.
"$dict" create --with top-bottom --database both.dll 2>/dev/null; check "create --with top-bottom" 0 $?
check "both sets split" "木子立早女子囗玉" "$("$split" --database both.dll 李章好国)"
"$dict" create --database user.dll 2>/dev/null
printf '李\t十八子\n' | "$dict" import --database user.dll - 2>/dev/null
"$dict" import --database user.dll top-bottom 2>/dev/null; check "import top-bottom by name" 0 $?
check "user's entry kept, set added" "十八子立早" "$("$split" --database user.dll 李章)"
"$dict" import --replace-keys --database user.dll top-bottom 2>/dev/null
check "--replace-keys takes the set's entry" "木子" "$("$split" --database user.dll 李)"
"$dict" create --with nonsense --database x.dll 2>/dev/null; check "unknown set" 2 $?

# Coverage: the share of Chinese characters split, and the most frequent left whole.
printf '好好人人人，一 abc 林𠮷\n' > small.txt
out=$("$dict" coverage --database both.dll small.txt)
check "coverage report" $'Chinese characters: 8, split by the dictionary: 3 (37.50 %)\nMost frequent characters left whole:\n人\t3\n一\t1\n𠮷\t1' "$out"
check "coverage from standard input" "$out" "$("$dict" coverage --database both.dll < small.txt)"

# Output forms for batch use, the same on both lookup paths.
for path in "" --per-char; do
    check "separator $path" "讠青 讠上，女子 abc 1" "$("$split" $path --database both.dll --separator ' ' '请让，好 abc 1')"
    check "mark $path" "请(讠青)让(讠上)，abc" "$("$split" $path --database both.dll --mark '{c}({p})' 请让，abc)"
    check "separator keeps line ends $path" $'女子|木木\n木子' \
        "$(printf '好林\n李' | "$split" $path --database both.dll --separator '|')"
done
"$split" --mark nothing 好 2>/dev/null; check "mark without {c} or {p}" 2 $?

# With the separator it was written with, split text reads back exactly, on
# real text: Debian's fortunes-zh (poems, prose, and modern text with Latin
# letters, digits and blanks), every line without a blank of its own between
# two Chinese characters; the split reports those.
fortunes=/usr/share/games/fortunes
if [[ -r $fortunes/chinese ]]; then
    python3 - "$(dirname "$(realpath "$0")")/../../data/chinese-characters.txt" \
        "$fortunes/chinese" "$fortunes/tang300" "$fortunes/song100" > clean.txt 3> ambiguous.txt <<'PY'
import os, re, sys
ranges = []
for line in open(sys.argv[1], encoding="utf-8"):
    m = re.match(r"([0-9A-F]+)\.\.([0-9A-F]+)\s", line)
    if m: ranges.append(chr(int(m[1], 16)) + "-" + chr(int(m[2], 16)))
han = "[" + "".join(ranges) + "]"
ambiguous = re.compile(han + " " + han)
with os.fdopen(3, "w", encoding="utf-8") as other:
    for path in sys.argv[2:]:
        for line in open(path, encoding="utf-8"):
            (other if ambiguous.search(line) else sys.stdout).write(line)
PY
    "$split" --database both.dll --separator ' ' --file clean.txt > clean-split.txt 2>err
    check "real text without a blank between Chinese: no report" "" "$(cat err)"
    # Exactly, but where two characters share one piece (朓 脁 are both 月兆):
    # then the likelier in its place.
    "$dict" export --database both.dll > both.tsv
    "$split" --join --separator ' ' --database both.dll --file clean-split.txt > clean-joined.txt
    check "and it reads back exactly, but for characters that share a piece" "0 lines differ otherwise" \
        "$(python3 - both.tsv clean.txt clean-joined.txt <<'PY'
import sys
pieces = dict(line.rstrip("\n").split("\t", 1) for line in open(sys.argv[1], encoding="utf-8"))
differ = 0
for original, joined in zip(open(sys.argv[2], encoding="utf-8"), open(sys.argv[3], encoding="utf-8")):
    if original == joined: continue
    same_pieces = len(original) == len(joined) and all(
        a == b or (a in pieces and pieces.get(a) == pieces.get(b)) for a, b in zip(original, joined))
    if not same_pieces:
        differ += 1
        print(original, joined, file=sys.stderr, end="")
print(differ, "lines differ otherwise")
PY
)"
    check "as many lines" "$(wc -l < clean.txt)" "$(wc -l < clean-joined.txt)"
    check "real text has Latin letters, digits and blanks" "yes" \
        "$(grep -q '[A-Za-z0-9] [A-Za-z0-9]' clean.txt && grep -q '[A-Za-z0-9] ' clean-split.txt && echo yes)"
    "$split" --database both.dll --separator ' ' --file ambiguous.txt > /dev/null 2>err
    check "a blank of the text between Chinese characters is reported once" \
        "zelk-split: the text holds the separator ' ' between Chinese characters itself; a reading back with --join --separator takes it for one the split wrote and drops it there" \
        "$(cat err)"
fi
"$split" --join --separator '丨' 好 2>/dev/null; check "join with a Chinese separator refused" 2 $?

# Bytes that are not UTF-8 become U+FFFD, reported once with their offset.
out=$(printf 'ab\xff好\xfe\n' | "$split" --database both.dll 2>err)
check "invalid UTF-8 read as U+FFFD" "ab�女子�" "$out"
check "invalid UTF-8 reported once" \
    "zelk-split: standard input: invalid UTF-8 at byte 2; such bytes are read as U+FFFD" "$(cat err)"
if not_on_windows "invalid UTF-8 in an argument" "Windows passes arguments as UTF-16: a program is never given bytes that are not UTF-8"; then
    "$split" --database both.dll "$(printf '好\xc3')" > /dev/null 2>err
    check "invalid UTF-8 in an argument" \
        "zelk-split: argument 1: invalid UTF-8 at byte 3; such bytes are read as U+FFFD" "$(cat err)"
fi

# Split text read back.
check "join" "请让精神好，abc 😀" "$("$split" --join --database both.dll "讠青讠上米青礻申女子，abc 😀")"
check "join round trip of the first sentence" "拆功，阴阳，请让精神好，骆驼，难捉狗" \
    "$("$split" --database both.dll 拆功，阴阳，请让精神好，骆驼，难捉狗 | "$split" --join --database both.dll)"
check "join with a separator reads back exactly" $'好女子林\n李' \
    "$(printf '好女子林\n李' | "$split" --database both.dll --separator '|' | "$split" --join --separator '|' --database both.dll)"
# A line longer than a read chunk: no piece is torn where the chunks meet.
python3 -c 'print(("请" * 1000 + "，") * 600, end="")' > long.txt
"$split" --database both.dll --file long.txt > long-split.txt
check "long line joins back whole" "$(cat long.txt)" "$("$split" --join --database both.dll --file long-split.txt)"
"$split" --database both.dll --separator '|' --file long.txt > long-separated.txt
check "long separated line joins back whole" "$(cat long.txt)" \
    "$("$split" --join --separator '|' --database both.dll --file long-separated.txt)"
"$split" --join --mark '{c}' 好 2>/dev/null; check "join with mark refused" 2 $?

# Characters by their parts.
check "find by one part" "好	女子" "$("$dict" find --database both.dll 女 子)"
check "find --exact" "林	木木" "$("$dict" find --exact --database both.dll 木 木)"
"$dict" find --database both.dll 木 > found.txt
check "find lists 林" "林	木木" "$(grep '^林' found.txt)"
check "find puts the most frequent first, as the help says" "相 机 林" "$(head -3 found.txt | cut -f1 | paste -sd ' ')"
out=$("$dict" find --database both.dll 龘 2>err); status=$?
check "find a part with no character" "0:" "$status:$out"
check "and says so" "zelk-dict: no character of the dictionary is written with 龘" "$(cat err)"
"$dict" find --database both.dll 2>/dev/null; check "find without a part" 2 $?
"$dict" find --database both.dll '' 2>/dev/null; check "find an empty part" 2 $?

printf 'good\tline\nbad line\n' > bad.tsv
"$dict" import bad.tsv 2>err; status=$?
check "bad import status" 1 "$status"
check "bad import message" "zelk-dict: bad.tsv:2: no tab between key and replacement" "$(cat err)"

# Only the listed words are split: overlapping and touching occurrences,
# one character, pairs of surrogates, every output form, the top-bottom set,
# and reading such text back.
check "--only splits the words, overlapping and touching" "米青礻申女子米青礻申病人很好" \
    "$("$split" --database both.dll --only 精神 --only 神好 精神好精神病人很好)"
check "--only a character splits every occurrence" "女子人女子事" "$("$split" --database both.dll --only 好 好人好事)"
check "--only with a separator" "请 让 米青 礻申 好" "$("$split" --database both.dll --only 精神 --separator ' ' 请让精神好)"
check "--only with a mark" "好(女子)人好(女子)事" "$("$split" --database both.dll --only 好 --mark '{c}({p})' 好人好事)"
check "--only with the top-bottom set" "木子白" "$("$split" --database both.dll --only 李 李白)"
printf '# the words\n\n精神\n骆驼\n' > words.txt
check "--only-file, comments and blank lines skipped" "拆功，阴阳，请让米青礻申好，马各马它，难捉狗" \
    "$("$split" --database both.dll --only-file words.txt 拆功，阴阳，请让精神好，骆驼，难捉狗)"
check "--only's split reads back" "请让精神好，骆驼" \
    "$("$split" --database both.dll --only 精神 --only 骆驼 请让精神好，骆驼 | "$split" --join --database both.dll)"
python3 -c 'print("精神" * 800000 + "好")' > only-long.txt
check "--only across the chunks of a long line" \
    "$("$split" --database both.dll --file only-long.txt | md5sum)" \
    "$("$split" --database both.dll --only 精 --only 神 --only 神好 --only 好 --file only-long.txt | md5sum)"
for list in $'x\n' "" $'\xff\n'; do
    printf '%s' "$list" > bad-words.txt
    "$split" --database both.dll --only-file bad-words.txt 好 > /dev/null 2>err; status=$?
    check "a bad word list is a usage mistake ($(head -1 err))" 2 "$status"
done
"$split" --database both.dll --only abc 好 2>err; status=$?
check "a word with no Chinese character is named" "2:zelk-split: --only: the word 'abc' has no Chinese character" \
    "$status:$(head -1 err)"
"$split" --join --only 好 好 2>/dev/null; check "--join with --only refused" 2 $?

"$split" --nonsense 2>/dev/null; check "usage error" 2 $?
"$dict" frobnicate 2>/dev/null; check "unknown command" 2 $?

report
