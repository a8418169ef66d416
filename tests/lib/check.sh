# Shared by the shell tests: check NAME EXPECTED ACTUAL counts a pass or
# prints the difference; report prints the closing line and sets the status.
passed=0
failed=0
check() {
    if [[ "$2" == "$3" ]]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        printf 'FAIL %s\n  expected: %q\n  actual:   %q\n' "$1" "$2" "$3"
    fi
}
report() {
    echo "$passed passed, $failed failed"
    [[ $failed -eq 0 ]]
}
# enter_work_dir: a fresh temporary folder, the current one from now on,
# removed when the script ends, with any background job still running.
enter_work_dir() {
    work=$(mktemp -d)
    trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
    cd "$work" || exit 1
}
