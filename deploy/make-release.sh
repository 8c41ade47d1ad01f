#!/usr/bin/env bash
# Makes what a cabinet installs, on a build machine (the packages of ./run.sh), as an ordinary
# user:
#
#   deploy/make-release.sh OUT     OUT/bin: the cabinet's programs; OUT/content: the content set
#
# The programs are built with the cabinet preset (optimised, no tests or benchmarks, warnings
# do not stop the build) in a build directory outside the checkout ($VANTOR_BUILD_DIR, by default
# ~/.cache/vantor/build-cabinet, kept for the next release) and installed into OUT with
# cmake --install, stripped (the build directory keeps the programs with their debugging
# information, for reading a cabinet's core dump). On the cabinet, from a copy of this repository:
#
#   sudo deploy/install.sh --bin-dir OUT/bin --content OUT/content
source "$(dirname "$0")/../scripts/common.sh"

[ $# -eq 1 ] || { sed -n '2,/^[^#]/s/^# \{0,1\}//p' "$0" >&2; exit 2; }
OUT=$(realpath -m "$1")
BUILD_DIR=${VANTOR_BUILD_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/vantor/build-cabinet}
JOBS=${VANTOR_BUILD_JOBS:-$(nproc)}

build_programs() {
    say "building the cabinet's programs in $BUILD_DIR"
    cmake --preset cabinet -S "$ROOT" -B "$BUILD_DIR" >/dev/null
    cmake --build "$BUILD_DIR" -j "$JOBS"
    say "installing the programs in $OUT/bin"
    cmake --install "$BUILD_DIR" --prefix "$OUT" --strip >/dev/null
}

make_content() {
    say "making the content set in $OUT/content"
    rm -rf "$OUT/content"
    mkdir -p "$OUT/content"
    "$BUILD_DIR/bin/make-assets" "$OUT/content"
    "$BUILD_DIR/bin/pack-questions" "$ROOT/content/questions" "$OUT/content"
}

ensure_packages
build_programs
make_content
say "release made in $OUT"
