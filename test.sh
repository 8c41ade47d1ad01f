#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer, and runs
# every test. Exits non-zero on any failure.
source "$(dirname "$0")/scripts/common.sh"
cd "$ROOT"

ensure_packages debian-test-packages.txt
check_platform_boundary
check_layers
check_format
build_preset sanitize

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
say "running the tests"
ctest --preset sanitize -j "$(nproc)"

# The music decoder runs on a thread of its own: its tests run again under ThreadSanitizer.
say "building the music tests with ThreadSanitizer"
cmake --preset thread -S "$ROOT" >/dev/null
cmake --build --preset thread -j "$(nproc)" --target test_sound
say "running the music tests with ThreadSanitizer"
TSAN_OPTIONS=halt_on_error=1 ctest --preset thread -R '^(Mp3[A-Za-z]*|MusicTest|SilentMusic|AudioMixer)\.'
# Every file and protocol reader is fuzzed briefly on its committed seed corpus.
"$ROOT/scripts/fuzz.sh" --seconds 5
say "all tests passed"
