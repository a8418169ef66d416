#!/usr/bin/env bash
# Runs a Windows program under wine as the shell tests run a Linux one:
#   wine-run.sh PROGRAM.exe ARGUMENT...
# with standard input, output and status as they are, wine's own reports
# off, and the paths in the program's messages on standard error written
# back in the form the tests compare (Z:\tmp\x\Zelk.dll → /tmp/x/Zelk.dll).
# WINEPREFIX names the test's own prefix (made at its first use).
set -o pipefail
: "${WINEPREFIX:?set WINEPREFIX to the wine prefix of the tests}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
# Wine's services start with the first program of a session and keep the
# descriptors it was given, so that a pipe from a program would never end:
# a session is started apart, without any of them, and lasts a minute past
# its last program. A new prefix is made then too, its reports kept out of
# the program's.
mkdir -p "$WINEPREFIX"
if wineserver -p60 </dev/null >/dev/null 2>&1; then
    wine wineboot </dev/null >/dev/null 2>&1
fi
# Standard error passes through the path filter; standard output stays the
# test's own, closed when the test closed it.
paths='s{Z:\\([^\x27"\s]*)}{($p = $1) =~ tr|\\|/|; "/$p"}ge'
if [[ -e /dev/fd/1 ]]; then
    { wine "$@" 2>&1 1>&3 3>&- | perl -pe "$paths" >&2; } 3>&1
else
    wine "$@" 2>&1 >&- | perl -pe "$paths" >&2
fi
exit "${PIPESTATUS[0]}"
