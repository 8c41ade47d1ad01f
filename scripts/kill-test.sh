#!/usr/bin/env bash
# The long kill -9 test: the game killed at random moments (and while it rewrites its record
# file) over many runs against the real credit service and its ledger, then the credit service
# killed as many times during a busy series of changes. The test suite runs the same tests with
# fewer runs.
#
#   scripts/kill-test.sh [--build DIR] [--runs N] [--seed S]
#     --build DIR   a configured build directory (default build-sanitize, built here if needed)
#     --runs N      runs of each kind (default 200)
#     --seed S      seed of the random moments (default 20260307)
#
# Prints a figures line per test (kills, runs that ended by themselves, records old and new,
# ledger rows) and exits non-zero when any run left a torn record file or an unbalanced ledger.
source "$(dirname "$0")/common.sh"

build="$ROOT/build-sanitize"
runs=200
seed=20260307
while [ $# -gt 0 ]; do
    case "$1" in
        --build) build=$2; shift 2 ;;
        --runs) runs=$2; shift 2 ;;
        --seed) seed=$2; shift 2 ;;
        *) sed -n '7,10p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//' >&2; exit 2 ;;
    esac
done

if [ ! -f "$build/CMakeCache.txt" ]; then
    say "configuring (sanitize) in $build"
    cmake --preset sanitize -S "$ROOT" -B "$build" >/dev/null
fi
say "building test_faults in $build"
cmake --build "$build" -j "$(nproc)" --target test_faults

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
say "killing the game and the credit service $runs times each (seed $seed)"
cd "$build/tests/faults"
VANTOR_KILL_RUNS=$runs VANTOR_KILL_SEED=$seed "$build/bin/test_faults" \
    --gtest_filter='KillTheGame.*:KillTheCreditService.*' 2>&1 | grep -v '^credit-service: game '
