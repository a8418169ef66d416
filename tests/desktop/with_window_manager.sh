#!/usr/bin/env bash
# Runs a command on a virtual X display with a real window manager (openbox),
# as the program meets a desktop: usage: with_window_manager.sh COMMAND [ARG]...
set -u
if [[ -z ${ZELK_WM_DISPLAY:-} ]]; then
    export ZELK_WM_DISPLAY=1
    exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi
openbox > /dev/null 2>&1 &
wm=$!
for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done
"$@"
status=$?
kill $wm 2>/dev/null
exit $status
