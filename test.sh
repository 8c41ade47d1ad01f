#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer, and runs
# every test. Exits non-zero on any failure.
source "$(dirname "$0")/scripts/common.sh"
cd "$ROOT"

ensure_packages
check_platform_boundary
build_preset sanitize

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
say "running the tests"
ctest --preset sanitize -j "$(nproc)"
say "all tests passed"
