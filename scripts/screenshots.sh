#!/usr/bin/env bash
# Remakes the screenshots of docs/screens/ from the touch scripts beside them: each script runs
# the headless game on the real content set with the virtual clock, so the same frames come out
# every time. Needs ./run.sh to have built build/bin and made build/content (VANTOR_BIN and
# VANTOR_CONTENT name others).
#   scripts/screenshots.sh [OUTPUT_DIR]      (default docs/screens)
source "$(dirname "$0")/common.sh"
cd "$ROOT"

BIN="${VANTOR_BIN:-$ROOT/build/bin}"
CONTENT="${VANTOR_CONTENT:-$ROOT/build/content}"
OUT="$(realpath -m "${1:-$ROOT/docs/screens}")"
SCRIPTS="$ROOT/docs/screens"
WORK="$(mktemp -d)"
SERVICE_PID=""
cleanup() {
    [ -n "$SERVICE_PID" ] && kill "$SERVICE_PID" 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT

for program in vantor credit-service; do
    [ -x "$BIN/$program" ] || { echo "missing $BIN/$program: run ./run.sh first" >&2; exit 1; }
done
[ -d "$CONTENT/Graphic_resource" ] || { echo "missing $CONTENT: run ./run.sh first" >&2; exit 1; }

# One run: a fresh ledger with 300p of credit, the game in a scratch copy of the content set.
shoot() {
    local touches=$1
    shift
    local run="$WORK/run"
    rm -rf "$run" && mkdir -p "$run"
    for entry in "$CONTENT"/*; do ln -s "$entry" "$run/"; done
    rm -f "$run/data" "$run/~system"
    "$BIN/credit-service" init --db "$run/credit.db" >/dev/null
    "$BIN/credit-service" insert 300 --db "$run/credit.db" >/dev/null
    "$BIN/credit-service" serve --port 0 --db "$run/credit.db" >"$run/service.log" 2>&1 &
    SERVICE_PID=$!
    local port=""
    for _ in $(seq 100); do
        port=$(sed -n 's/.*127\.0\.0\.1:\([0-9][0-9]*\).*/\1/p' "$run/service.log" | head -1)
        [ -n "$port" ] && break
        sleep 0.05
    done
    [ -n "$port" ] || { echo "the credit service did not start" >&2; exit 1; }
    say "screenshots from $(basename "$touches")"
    (cd "$run" && "$BIN/vantor" --headless --credit-port "$port" --touches "$touches" \
        --capture-dir "$OUT" "$@" >/dev/null)
    kill "$SERVICE_PID" 2>/dev/null || true
    wait "$SERVICE_PID" 2>/dev/null || true
    SERVICE_PID=""
}

mkdir -p "$OUT"
shoot "$SCRIPTS/win-game.touches" --autoplay games=1,stake=100,take=2,seed=7
shoot "$SCRIPTS/lost-game.touches" --autoplay games=1,stake=50,right=0,seed=3
shoot "$SCRIPTS/rules.touches"
say "screenshots in $OUT"
