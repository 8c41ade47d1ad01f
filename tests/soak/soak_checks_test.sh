#!/usr/bin/env bash
# The soak's checks tried on a stand-in game (fake_game.py) against the real credit service: an
# honest game passes, and every kind of money that goes astray, a crash, a game that stops with
# money left and a game that grows from run to run each fail the soak with their own message.
#
#   soak_checks_test.sh SOURCE_DIR BIN_DIR
set -euo pipefail
SOURCE=${1:?source dir}
BIN=${2:?bin dir}
HERE=$(cd "$(dirname "$0")" && pwd)
SCRATCH=$(mktemp -d "${TMPDIR:-/tmp}/soak-checks.XXXXXX")
trap 'rm -rf "$SCRATCH"' EXIT

mkdir -p "$SCRATCH/bin" "$SCRATCH/content/Graphic_resource"
ln -s "$BIN/credit-service" "$SCRATCH/bin/credit-service"
ln -s "$HERE/fake_game.py" "$SCRATCH/bin/vantor"

failures=0
# expect MODE GAMES STATUS TEXT [soak options]: the soak over the stand-in in MODE ends with
# STATUS and says TEXT.
expect() {
    local mode=$1 games=$2 wanted_status=$3 text=$4
    shift 4
    local status=0
    FAKE_GAME_MODE=$mode "$SOURCE/scripts/soak.sh" --bin "$SCRATCH/bin" --content "$SCRATCH/content" \
        --work "$SCRATCH/work-$mode" "$@" "$games" >"$SCRATCH/$mode.out" 2>&1 || status=$?
    if [ "$status" -ne "$wanted_status" ] || ! grep -qF -- "$text" "$SCRATCH/$mode.out"; then
        echo "FAIL $mode: status $status (wanted $wanted_status), no \"$text\" in:"
        cat "$SCRATCH/$mode.out"
        failures=$((failures + 1))
    else
        echo "ok   $mode: $text"
    fi
}

expect honest 30 0 "games            30 in"
expect honest 30 0 "soak: passed"
expect unpaid 12 1 "through BADD and CADD"
expect uncounted 12 1 "but the service carried out"
expect crash 12 1 "vantor ended with status 139"
expect quits 12 1 "stopped after 1 games with"
expect growing 60 1 "memory grew" --insert 500
expect honest 60 0 "soak: passed" --insert 500

# A failed soak keeps its ledger for whoever looks into it.
[ -e "$SCRATCH/work-unpaid/credit.db" ] || { echo "FAIL the failed soak lost its ledger"; failures=$((failures + 1)); }

exit $((failures > 0))
