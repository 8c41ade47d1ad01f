# shellcheck shell=bash
# What the deploy tests share: a sandbox removed at the end (kept with KEEP_SANDBOX=1) and
# checks that count failures instead of stopping at the first. Sourced by each test script.
set -euo pipefail
REPO=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export REPO
SANDBOX=$(mktemp -d)
trap '[ -n "${KEEP_SANDBOX:-}" ] || rm -rf "$SANDBOX"' EXIT
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

expect_eq() {
    local what=$1 expected=$2 actual=$3
    [ "$expected" = "$actual" ] || fail "$what: expected '$expected', got '$actual'"
}

# Ends the test script: non-zero when any check failed.
report() {
    [ "$failures" -eq 0 ] || { echo "$failures failures" >&2; exit 1; }
    echo "$1 passed"
}
