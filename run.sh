#!/usr/bin/env bash
# Installs what is missing, builds, makes the content set, starts the credit service with demo
# credit when none is running, and plays the game in a window. Options pass through to vantor:
#   ./run.sh --fullscreen        the cabinet's full screen
#   ./run.sh --headless --autoplay games=3
source "$(dirname "$0")/scripts/common.sh"
cd "$ROOT"

ensure_packages
build_preset release

BIN="$ROOT/build/bin"
CONTENT="$ROOT/build/content"
CREDIT_DB="$ROOT/build/credit.db"
PORT=6667
for ((i = 1; i <= $#; i++)); do
    if [ "${!i}" = "--credit-port" ]; then j=$((i + 1)); PORT="${!j}"; fi
done

# The content set: pictures, sounds, music and video, and the question packs.
make_content() {
    mkdir -p "$CONTENT"
    if [ -x "$BIN/make-assets" ] && { [ ! -f "$CONTENT/.assets-made" ] || [ -n "$(find "$ROOT/tools/make-assets" -newer "$CONTENT/.assets-made" -print -quit)" ]; }; then
        say "making the content set in $CONTENT"
        "$BIN/make-assets" "$CONTENT"
        touch "$CONTENT/.assets-made"
    fi
    # The packs depend on the bank and on the key and dictionary built into pack-questions.
    if [ -x "$BIN/pack-questions" ] && { [ ! -f "$CONTENT/.packs-made" ] || [ -n "$(find "$ROOT/content/questions" "$BIN/pack-questions" -newer "$CONTENT/.packs-made" -print -quit)" ]; }; then
        say "packing the questions"
        "$BIN/pack-questions" "$ROOT/content/questions" "$CONTENT"
        touch "$CONTENT/.packs-made"
    fi
}

service_listening() { (exec 3<>"/dev/tcp/127.0.0.1/$PORT") 2>/dev/null; }

SERVICE_PID=""
stop_service() {
    if [ -n "$SERVICE_PID" ]; then
        say "stopping the credit service we started"
        kill "$SERVICE_PID" 2>/dev/null || true
        wait "$SERVICE_PID" 2>/dev/null || true
    fi
}

start_service_if_needed() {
    if service_listening; then
        say "a credit service is already listening on 127.0.0.1:$PORT"
        return
    fi
    say "starting the credit service on 127.0.0.1:$PORT (ledger $CREDIT_DB)"
    "$BIN/credit-service" serve --db "$CREDIT_DB" --port "$PORT" &
    SERVICE_PID=$!
    trap stop_service EXIT
    for _ in $(seq 50); do service_listening && break; sleep 0.1; done
    local credit
    credit=$("$BIN/credit-service" status --db "$CREDIT_DB" 2>/dev/null | sed -n 's/^credit \([0-9]*\).*/\1/p' || true)
    if [ -z "$credit" ] || [ "$credit" = "0" ]; then
        say "adding demo credit of 500p"
        "$BIN/credit-service" insert 500 --db "$CREDIT_DB"
    fi
}

make_content
start_service_if_needed

ARGS=("$@")
case " $* " in
    *" --headless "* | *" --fullscreen "* | *" --windowed "*) ;;
    *) ARGS=(--windowed "${ARGS[@]}") ;;
esac
say "playing: vantor ${ARGS[*]}"
cd "$CONTENT"
set +e
"$BIN/vantor" "${ARGS[@]}"
status=$?
set -e
say "vantor ended with exit status $status"
exit $status
