#!/usr/bin/env bash
# The real program under a window manager: the session ends (SIGTERM) while a
# long split runs. The sentence is stored only when the split's read of the
# database has ended, and the exit status is that of the real store.
# usage: with_window_manager.sh session_end_split_test.sh ZELK ZELK_DICT RUN_SQL
set -u
zelk=$(realpath "$1")
dict=$(realpath "$2")
run_sql=$(realpath "$3")
source "$(dirname "$(realpath "$0")")/../lib/check.sh"
enter_work_dir
export QTWEBENGINE_DISABLE_SANDBOX=1 QTWEBENGINE_CHROMIUM_FLAGS="--proxy-server=127.0.0.1:9"

# Splits 1,500,000 characters, and sends SIGTERM 0.1 s after the click,
# when the split shows the busy cursor and lets the signal in. A reader
# may hold the file meanwhile (holding: yes), until the program has ended,
# however long a loaded machine makes the split.
split_then_terminate() {
    local holding=$1 holder=""
    rm -f Zelk.dll zelk.log
    "$dict" create 2>/dev/null
    "$run_sql" Zelk.dll "update sv set val = replace(hex(zeroblob(300000)), '00', '请让精神好')"
    "$zelk" > zelk.log 2>&1 &
    local pid=$! wid=""
    for _ in $(seq 100); do
        wid=$(xdotool search --name "澄墨 - 拆字工具" 2>/dev/null | head -1) && [[ -n $wid ]] && break
        sleep 0.1
    done
    sleep 1
    "$run_sql" Zelk.dll "update sv set val = 'changed behind its back'"
    if [[ $holding == yes ]]; then
        "$run_sql" --hold 100 Zelk.dll "begin; select 'holding' from sv;" > holder.out & holder=$!
        for _ in $(seq 200); do [[ -s holder.out ]] && break; sleep 0.05; done
    fi
    xdotool key --window "$wid" Tab space   # 拆分 comes after 关闭, which has the focus
    sleep 0.1
    kill -TERM "$pid"
    wait "$pid"
    echo "exit $?"
    if [[ -n $holder ]]; then kill "$holder"; wait "$holder"; fi 2>/dev/null
    grep '^zelk:' zelk.log
}

check "stored after the split, status 0" "exit 0" "$(split_then_terminate no)"
stored_length() { "$run_sql" Zelk.dll "select length(val) from sv where oid = 1"; }
check "the whole sentence was stored" 1500000 "$(stored_length)"
check "a store that cannot commit is reported, status 1" \
    $'exit 1\nzelk: the sentence could not be stored: The database file \''"$work"$'/Zelk.dll\' is in use by another process.' \
    "$(split_then_terminate yes)"
check "nothing was stored" 23 "$(stored_length)"
report
