# Shared by the shell tests: check NAME EXPECTED ACTUAL counts a pass or
# prints the difference; report prints the closing line and sets the status.
passed=0
failed=0
skipped=0
check() {
    if [[ "$2" == "$3" ]]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        printf 'FAIL %s\n  expected: %q\n  actual:   %q\n' "$1" "$2" "$3"
    fi
}
# not_on_windows NAME REASON: false, with the check's name and the reason it
# cannot apply printed, when the tools under test are the Windows programs
# (ZELK_TEST_SYSTEM=windows); true otherwise. Guards a check or a group:
#   if not_on_windows "export keeps the mode" "Windows files have no mode"; then ...
not_on_windows() {
    [[ ${ZELK_TEST_SYSTEM:-} != windows ]] && return 0
    skipped=$((skipped + 1))
    printf 'SKIP %s: %s\n' "$1" "$2"
    return 1
}
# Why the checks of a program started without a standard stream cannot run
# under wine: wine puts one of its own files in the stream's place, where
# Windows gives the program none.
wine_closed_streams="wine gives a program started without a standard stream a file of its own in its place"
report() {
    local skips=""
    [[ $skipped -gt 0 ]] && skips=", $skipped skipped"
    echo "$passed passed, $failed failed$skips"
    [[ $failed -eq 0 ]]
}
# enter_work_dir: a fresh temporary folder, the current one from now on,
# removed when the script ends, with any background job still running.
enter_work_dir() {
    work=$(mktemp -d)
    trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
    cd "$work" || exit 1
}
