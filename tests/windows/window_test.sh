#!/usr/bin/env bash
# The Windows window (zelk.exe) under wine, on a virtual display with a
# window manager, driven by xdotool as a user drives it: the saved sentence
# shown, split and copy, the maintenance panel's lookup, save and delete with
# their boxes, closing, the session's end, a start without the database, the
# web panel created and told its address. The database is read back with
# Debian's sqlcipher.
#   window_test.sh ZELK_EXE ZELK_DICT [SCREENSHOT]
# WINEPREFIX names the tests' prefix; wine-run.sh beside this script starts
# its session.
set -u
zelk=$(realpath "$1")
dict=$(realpath "$2")
screenshot=${3:-}
here=$(dirname "$(realpath "$0")")
source "$here/../lib/check.sh"
enter_work_dir
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
readonly title="澄墨 - 拆字工具"

# The display, its window manager, the prefix's session and its fonts: 宋体
# drawn by the Song face Debian has.
exec 5> display
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 2> /dev/null &
for _ in $(seq 50); do [[ -s display ]] && break; sleep 0.1; done
export DISPLAY=:$(cat display)
openbox > /dev/null 2>&1 &
"$here/wine-run.sh" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v SimSun /d "AR PL UMing CN" /f > /dev/null
"$here/wine-run.sh" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 宋体 /d "AR PL UMing CN" /f > /dev/null

sql() { printf "PRAGMA key='Wx#7305';\n%s\n" "$1" | sqlcipher Zelk.dll; }
windows() { xdotool search --name "^$1\$" 2>/dev/null; }
# Waits until COUNT windows have the caption (a box has the window's).
wait_windows() {
    for _ in $(seq 300); do
        [[ $(windows "$1" | wc -l) -eq $2 ]] && return 0
        sleep 0.1
    done
    return 1
}
main=
start() {
    (cd "$PWD" && exec wine "$zelk" 2> zelk.log) &
    pid=$!
    wait_windows "$title" 1 && main=$(windows "$title" | head -1)
    xdotool windowactivate --sync "$main" 2> /dev/null
    sleep 0.5
}
# Waits for the program to end; its exit status is left in exit_status.
# (Not in a subshell: only this shell can wait for its child.)
wait_end() {
    exit_status="still running"
    for _ in $(seq 300); do
        if ! kill -0 "$pid" 2> /dev/null; then
            wait "$pid"
            exit_status=$?
            return
        fi
        sleep 0.1
    done
}
click() {
    xdotool windowactivate --sync "$main" 2> /dev/null
    xdotool mousemove --window "$main" "$1" "$2" click 1
    sleep 0.5
}
clipboard() { xclip -o -selection clipboard 2> /dev/null; }
# Replaces a text box's text by pasting, as typing Chinese would.
enter_text() {
    printf '%s' "$3" | xclip -selection clipboard
    click "$1" "$2"
    xdotool key ctrl+a ctrl+v
    sleep 0.3
}
box_text() {
    printf 'nothing copied' | xclip -selection clipboard
    click "$1" "$2"
    xdotool key ctrl+a ctrl+c
    sleep 0.4
    clipboard
}
# Places, by the layout: the tool bar's buttons, the panel's boxes and
# buttons (the panel at 378), the sentence boxes.
readonly close_x=38 split_and_copy_x=281 bar_y=21 ku_x=350 ku_y=11
readonly key_x=410 replacement_x=486 query_x=575 save_x=655 delete_x=743
readonly box_x=450 sentence_y=93 result_y=149

# --- A start with the saved sentence; split and copy; the web panel ---------
"$dict" create --database Zelk.dll 2> /dev/null
sql "update sv set val = '请让精神好';"
(cd "$PWD" && WINEDEBUG=trace+ieframe,trace+atl exec wine "$zelk" 2> zelk.log) &
pid=$!
wait_windows "$title" 1; main=$(windows "$title" | head -1)
xdotool windowactivate --sync "$main" 2> /dev/null; sleep 1
check "the window opens" 1 "$(windows "$title" | wc -l)"
check "the saved sentence is shown" "请让精神好" "$(box_text $box_x $sentence_y)"
printf 'before' | xclip -selection clipboard
click $split_and_copy_x $bar_y
check "拆分并复制 puts the split on the clipboard" "讠青讠上米青礻申女子" "$(clipboard)"
check "and shows it" "讠青讠上米青礻申女子" "$(box_text $box_x $result_y)"
check "the browser control is created" "yes" \
    "$(grep -q 'AtlAxCreateControlLicEx (L"{8856F961-340A-11D0-A96B-00C04FD705A2}"' zelk.log && echo yes)"
check "it loads the stored state" "yes" "$(grep -q 'PersistStreamInit_Load' zelk.log && echo yes)"
check "it is told the tool page once, with the four arguments missing" \
    'L"http://www.chengmo.example/qvx/tools/zelk/" {VT_ERROR: 80020004} {VT_ERROR: 80020004} {VT_ERROR: 80020004} {VT_ERROR: 80020004}' \
    "$(sed -n 's/.*WebBrowser_Navigate ([0-9A-F]*)->(\(.*\))$/\1/p' zelk.log | sed 's/ [0-9A-F]\{16\} / /g')"
[[ -n $screenshot ]] && import -window "$main" -frame "$screenshot" 2> /dev/null

# --- The maintenance panel ---------------------------------------------------
click $ku_x $ku_y
enter_text $key_x $bar_y "好"
click $query_x $bar_y
check "查询 shows the replacement" "女子" "$(box_text $replacement_x $bar_y)"
enter_text $replacement_x $bar_y "子女"
click $save_x $bar_y
check "保存 says so in a box" 0 "$(wait_windows "$title" 2; echo $?)"
xdotool key ctrl+c; sleep 0.4
check "Ctrl+C puts the box on the clipboard" \
    "---------------------------|澄墨 - 拆字工具|---------------------------|保存成功！|---------------------------|确定   |---------------------------|" \
    "$(clipboard | tr -d '\r' | tr '\n' '|')"
xdotool key Return
check "Enter dismisses it" 0 "$(wait_windows "$title" 1; echo $?)"
check "the entry is saved" "子女" "$(sql "select chr2 from chr12 where chr1 = '好';")"
click $delete_x $bar_y
check "删除 asks first" 0 "$(wait_windows "确认" 1; echo $?)"
xdotool key Escape
check "Esc answers no" 0 "$(wait_windows "确认" 0; echo $?)"
check "and nothing is deleted" "子女" "$(sql "select chr2 from chr12 where chr1 = '好';")"
click $delete_x $bar_y
wait_windows "确认" 1
xdotool key Return
check "Enter answers yes, and the deletion is reported" 0 "$(wait_windows "$title" 2; echo $?)"
xdotool key Return
wait_windows "$title" 1
check "the entry is deleted" "" "$(sql "select chr2 from chr12 where chr1 = '好';")"

# --- 关闭 stores the sentence ---------------------------------------------------
enter_text $box_x $sentence_y "骆驼"
click $close_x $bar_y
wait_end
check "关闭 ends the program" 0 "$exit_status"
check "the sentence is stored" "骆驼" "$(sql "select val from sv;")"
check "the database is whole" "ok" "$(sql "PRAGMA integrity_check;")"

# --- Enter at start presses 关闭, which has the focus ---------------------------
start
xdotool key Return
wait_end
check "Enter at start closes" 0 "$exit_status"
check "the sentence is stored unchanged" "骆驼" "$(sql "select val from sv;")"

# --- The session's end stores the sentence ----------------------------------------
start
enter_text $box_x $sentence_y "难捉狗"
"$here/wine-run.sh" wineboot --end-session --kill > /dev/null 2>&1
wait_end
check "the session's end ends the program" "yes" "$([[ $exit_status != "still running" ]] && echo yes)"
check "and stores the sentence" "难捉狗" "$(sql "select val from sv;")"
# An ended session takes no new programs: a new one starts with the next.
wineserver -k; wineserver -w

# --- No database: the error box, then the window with the form's sentence --------
mkdir empty && cd empty
(exec wine "$zelk" 2> /dev/null) &
pid=$!
wait_windows "$title" 1
xdotool key ctrl+c; sleep 0.4
check "a start without the database reports it" \
    "澄墨 - 拆字工具|Could not find file '$(winepath -w "$PWD" 2>/dev/null)\\Zelk.dll'." \
    "$(clipboard | tr -d '\r' | sed -n '2p;4p' | paste -sd '|')"
xdotool key Return
sleep 1.5; main=$(windows "$title" | head -1)
xdotool windowactivate --sync "$main" 2> /dev/null; sleep 0.5
check "then shows the window with the form's sentence" "拆功，阴阳，请让精神好，骆驼，难捉狗" \
    "$(box_text $box_x $sentence_y)"
click $close_x $bar_y
wait_end
check "and closes" 0 "$exit_status"
check "without making a database" "no" "$([[ -e Zelk.dll ]] && echo yes || echo no)"
cd ..

wineserver -k
report
