#!/usr/bin/env bash
# Files that move between the systems: a Zelk.dll made or changed by the
# Windows programs is read by Debian's sqlcipher (the library of the Linux
# programs), whole, and the reverse; an exported TSV reads the same on both.
#   interop_test.sh ZELK_DICT ZELK_SPLIT     (the Windows tools' runners)
set -u
dict=$(realpath "$1")
split=$(realpath "$2")
source "$(dirname "$(realpath "$0")")/../lib/check.sh"
enter_work_dir
sql() { printf "PRAGMA key='Wx#7305';\n%s\n" "$2" | sqlcipher "$1" 2>&1; }

# Made on Windows, read and changed on Linux, read again on Windows.
"$dict" create --database win.dll 2> /dev/null
check "Linux reads a database made on Windows" "ok" "$(sql win.dll "PRAGMA integrity_check;")"
count=$(sql win.dll "select count(*) from chr12;")
check "with every entry" "yes" "$([[ $count -gt 10000 ]] && echo yes || echo "no: $count")"
check "and the sentence" "拆功，阴阳，请让精神好，骆驼，难捉狗" "$(sql win.dll "select val from sv;")"
sql win.dll "update chr12 set chr2 = '子女' where chr1 = '好'; insert into chr12 values ('㐀', '一二'); update sv set val = '林';" > /dev/null
check "Windows reads Linux's changes" "子女一二" "$("$split" --database win.dll 好㐀)"
"$dict" export --database win.dll win.tsv
check "an export from Windows holds Linux's change" "好	子女" "$(grep '^好	' win.tsv)"
check "and is what Linux reads" "$(sql win.dll "select chr1 || char(9) || chr2 from chr12 order by chr1;" | sort | sha256sum)" \
    "$(sort win.tsv | sha256sum)"

# Made on Linux with Debian's sqlcipher and the program's settings (its
# defaults), filled and changed on Windows, read whole on Linux.
sql linux.dll "create table chr12 (chr1 text collate nocase, chr2 text);
create index chr12_chr1 on chr12 (chr1);
create table sv (oid integer default 1, val text);
insert into sv values (1, '骆驼');
insert into chr12 values ('骆', '马各');" > /dev/null
check "Windows reads a database made on Linux" "马各驼" "$("$split" --database linux.dll 骆驼)"
"$dict" import --database linux.dll win.tsv 2> /dev/null
check "Windows changes it" "马它" "$("$split" --database linux.dll 驼)"
check "and Linux reads it whole" "ok" "$(sql linux.dll "PRAGMA integrity_check;")"
check "with the import" "$(grep -c . win.tsv)" "$(sql linux.dll "select count(*) from chr12;")"
check "a TSV exported on Linux imports on Windows" "$(sort win.tsv | sha256sum)" \
    "$("$dict" export --database linux.dll | sort | sha256sum)"
report
