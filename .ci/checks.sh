# What the CI check scripts share: PASS or FAIL a check, and a count of the
# failures for the exit status. Sourced, not run.
failures=0
pass() { printf 'PASS: %s\n' "$1"; }
fail() {
    printf 'FAIL: %s\n' "$1"
    failures=$((failures + 1))
}
# Ends the script: its name and how it went, non-zero when a check failed.
finish() {
    if ((failures > 0)); then
        echo "$1: $failures check(s) failed"
        exit 1
    fi
    echo "$1: all passed"
}
