#!/usr/bin/env bash
# Builds the libFuzzer targets of the readers (the fuzz preset: clang with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for a while on a scratch copy of its committed seed
# corpus, so the committed corpus never grows. Prints the runs done and the coverage per target;
# exits non-zero when any target crashes or a sanitizer reports (the input is kept under
# build-fuzz/crashes/).
#
#   scripts/fuzz.sh [--seconds N] [--no-build] [TARGET...]
#
# TARGET is a name such as tga or credit_command (default: all of fuzz/corpus/).
source "$(dirname "$0")/common.sh"

seconds=60
build=1
targets=()
while [ $# -gt 0 ]; do
    case "$1" in
        --seconds) seconds=$2; shift 2 ;;
        --no-build) build=0; shift ;;
        -h|--help) sed -n '2,10p' "$0"; exit 0 ;;
        *) targets+=("$1"); shift ;;
    esac
done
if [ ${#targets[@]} -eq 0 ]; then
    for dir in "$ROOT"/fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done
fi

BUILD="$ROOT/build-fuzz"
if [ "$build" -eq 1 ]; then
    say "configuring (fuzz)"
    cmake --preset fuzz -S "$ROOT" >/dev/null
    say "building the fuzz targets"
    cmake --build --preset fuzz -j "$(nproc)" --target fuzzers
fi

# Sanitizer reports end the run; leaks are reported too.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

scratch=$(mktemp -d "${TMPDIR:-/tmp}/vantor-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$BUILD/crashes" "$BUILD/logs"

# The libFuzzer statistic NAME from a log ("stat::NAME: VALUE").
statistic() { sed -n "s/^stat::$1: *//p" "$2" | tail -n 1; }

failed=()
for target in "${targets[@]}"; do
    program="$BUILD/bin/fuzz_$target"
    seeds="$ROOT/fuzz/corpus/$target"
    log="$BUILD/logs/$target.log"
    if [ ! -x "$program" ] || [ ! -d "$seeds" ]; then
        echo "fuzz: no target or corpus named $target" >&2
        failed+=("$target")
        continue
    fi
    options=(-max_total_time="$seconds" -error_exitcode=77 -timeout=30 -rss_limit_mb=2048
             -print_final_stats=1 -artifact_prefix="$BUILD/crashes/$target-")
    [ -f "$ROOT/fuzz/$target.dict" ] && options+=(-dict="$ROOT/fuzz/$target.dict")
    # New inputs go to the first (scratch) folder; the committed seeds are only read.
    mkdir -p "$scratch/$target"
    say "fuzzing $target for $seconds s"
    if "$program" "${options[@]}" "$scratch/$target" "$seeds" >"$log" 2>&1; then
        runs=$(statistic number_of_executed_units "$log")
        rate=$(statistic average_exec_per_sec "$log")
        coverage=$(grep -E '^#[0-9]+' "$log" | tail -n 1 | sed -n 's/.*cov: \([0-9]*\) ft: \([0-9]*\).*/cov \1, ft \2/p')
        printf '    %-15s %10s runs  %7s/s  %s\n' "$target" "$runs" "$rate" "$coverage"
    else
        echo "fuzz: $target FAILED (log: $log)" >&2
        grep -E 'ERROR|SUMMARY|runtime error|Test unit written|artifact' "$log" | head -n 20 >&2
        failed+=("$target")
    fi
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz: failures in: ${failed[*]}" >&2
    exit 1
fi
say "fuzzing found nothing (${#targets[@]} targets)"
