#!/usr/bin/env bash
# The installer under wine: a silent per-user installation, the Start-menu
# entry, the installed tools working on the user's own dictionary (copied
# at the first start, never overwritten), and the uninstaller removing the
# programs and keeping the dictionary unless asked.
#   installer_test.sh zelk-setup-x64.exe      (WINEPREFIX: a prefix of its own)
set -u
setup=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
source "$here/../lib/check.sh"
enter_work_dir
run() { "$here/wine-run.sh" "$@"; }
unix() { winepath -u "$1" 2> /dev/null; }
# The uninstaller runs from a copy of itself, so that it can remove itself:
# waits (30 s at most) until the programs' folder is gone.
wait_removed() { for _ in $(seq 300); do [[ -e $1 ]] || return 0; sleep 0.1; done; }

run "$setup" /S; check "the installer runs silently" 0 $?
programs=$(unix 'C:\users\'"$USER"'\AppData\Local\Programs\zelk')
[[ -d $programs ]] || programs=$(unix "$(run cmd /c echo %LOCALAPPDATA% | tr -d '\r')\\Programs\\zelk")
data=$(unix "$(run cmd /c echo %LOCALAPPDATA% | tr -d '\r')\\zelk")
menu=$(unix "$(run cmd /c echo %APPDATA% | tr -d '\r')\\Microsoft\\Windows\\Start Menu\\Programs")
check "the programs are installed" "NOTICE.txt README.txt Zelk.dll join-model.bin top-bottom.tsv uninstall.exe zelk-dict.exe zelk-split.exe zelk.exe" \
    "$(ls "$programs" | sort | tr '\n' ' ' | sed 's/ $//')"
check "the Start-menu entry 澄墨拆字" "yes" "$([[ -f $menu/澄墨拆字.lnk ]] && echo yes || echo no)"
check "the user's folder is made for the window" "yes" "$([[ -d $data ]] && echo yes || echo no)"

# The installed tools use the user's own dictionary, copied at the first use.
check "the installed zelk-split splits" "女子讠青" "$(run "$programs/zelk-split.exe" 好请)"
check "on the user's copy of the dictionary" "yes" "$([[ -f $data/Zelk.dll ]] && echo yes || echo no)"
printf '好\t子女\n' | run "$programs/zelk-dict.exe" import --replace-keys - 2> /dev/null
check "which keeps the user's changes" "子女" "$(run "$programs/zelk-split.exe" 好)"
check "and the join model beside the programs" "好" "$(run "$programs/zelk-split.exe" --join 子女 2>&1)"

# A second installation (an update) leaves the user's dictionary alone.
run "$setup" /S
check "an update keeps the user's dictionary" "子女" "$(run "$programs/zelk-split.exe" 好)"

run "$programs/uninstall.exe" /S
wait_removed "$programs"
check "the uninstaller removes the programs" "no" "$([[ -e $programs ]] && echo yes || echo no)"
check "and the Start-menu entry" "no" "$([[ -e $menu/澄墨拆字.lnk ]] && echo yes || echo no)"
check "and keeps the user's dictionary" "yes" "$([[ -f $data/Zelk.dll ]] && echo yes || echo no)"

# Asked to, it removes the dictionary too.
run "$setup" /S
run "$programs/uninstall.exe" /S /REMOVEDATA
wait_removed "$programs"
wait_removed "$data"
check "/REMOVEDATA removes the user's folder" "no" "$([[ -e $data ]] && echo yes || echo no)"
wineserver -k
report
