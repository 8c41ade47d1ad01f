#!/usr/bin/env bash
# Measures how long the kiosk's screen is dark between one run of the game and the next, with
# the real game under Xvfb. A watcher reads Xvfb's frame buffer every 5 ms and times every span
# in which the screen is all black or has no X server at all.
#
#   scripts/kiosk-gap.sh session [SECONDS]   deploy/vantor-session: the game started again at
#                                            once on the same X server
#   scripts/kiosk-gap.sh restart [SECONDS]   a new X server for every run, started 2 s after
#                                            the last one closed (a session per run)
#
# Uses build/bin (cmake --preset release) and build/content; starts its own credit service.
# Prints one line per dark span between runs, then the median and the longest.
source "$(dirname "$0")/common.sh"
MODE=${1:-session}
SECONDS_TO_RUN=${2:-100}
BIN=$ROOT/build/bin
CONTENT=$ROOT/build/content
DISPLAY_NUMBER=${KIOSK_GAP_DISPLAY:-57}
WORK=$(mktemp -d)
PIDS=()

# Stops what was started, one at a time, the last started first: the game before its X server.
cleanup() {
    local i pid
    for ((i = ${#PIDS[@]} - 1; i >= 0; i--)); do
        pid=${PIDS[i]}
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$WORK"
}
trap cleanup EXIT

start_credit_service() {
    "$BIN/credit-service" serve --port 0 --db "$WORK/credit.db" >"$WORK/credit.out" &
    PIDS+=($!)
    for _ in $(seq 100); do grep -q listening "$WORK/credit.out" && break; sleep 0.05; done
    PORT=$(sed -n 's/.*127\.0\.0\.1:\([0-9]*\).*/\1/p' "$WORK/credit.out")
}

# Starts an X server whose frame buffer is the file $WORK/fb/Xvfb_screen0, and waits for it.
start_x_server() {
    mkdir -p "$WORK/fb"
    Xvfb ":$DISPLAY_NUMBER" -screen 0 800x600x24 -fbdir "$WORK/fb" -br -nolisten tcp 2>/dev/null &
    X_SERVER=$!
    for _ in $(seq 200); do [ -e "/tmp/.X11-unix/X$DISPLAY_NUMBER" ] && break; sleep 0.01; done
}

stop_x_server() {
    kill "$X_SERVER" 2>/dev/null || true
    wait "$X_SERVER" 2>/dev/null || true
    rm -f "$WORK/fb/Xvfb_screen0"
}

watch_screen() {
    /usr/bin/python3 - "$WORK/fb/Xvfb_screen0" "$WORK/stop-watching" "$WORK/starts" <<'PY' &
import os, sys, time
frame_file, stop_file, starts_file = sys.argv[1:]
image_bytes = 800 * 600 * 4
spans, dark_since, seen_picture = [], None, False
while not os.path.exists(stop_file):
    now = time.clock_gettime(time.CLOCK_BOOTTIME)
    try:
        with open(frame_file, "rb") as f:
            f.seek(-image_bytes, 2)
            pixels = f.read(image_bytes)
        dark = pixels.count(0) == len(pixels)
    except OSError:
        dark = True
    if dark and dark_since is None:
        dark_since = now
    elif not dark:
        if dark_since is not None and seen_picture:
            spans.append((dark_since, now))
        dark_since, seen_picture = None, True
    time.sleep(0.005)

# A dark span in which a run of the game started is a gap between runs; the others fall
# inside one run.
with open(starts_file) as f:
    starts = [float(line) for line in f]
def report(name, durations):
    if not durations:
        print(f"{name}: none seen")
        return
    durations.sort()
    print(f"{name}: {len(durations)}, median {durations[len(durations) // 2]:.0f} ms, "
          f"longest {durations[-1]:.0f} ms")
def between_runs(begin, end):
    return any(begin - 0.01 <= start <= end for start in starts[1:])
for begin, end in spans:
    run = sum(1 for start in starts if start <= end)
    print(f"run {run}, {(begin - starts[run - 1]) * 1000:.0f} ms after its start: "
          f"dark for {(end - begin) * 1000:.0f} ms")
between = [(end - begin) * 1000 for begin, end in spans if between_runs(begin, end)]
within = [(end - begin) * 1000 for begin, end in spans if not between_runs(begin, end)]
print(f"{len(starts)} runs of the game")
report("dark gaps between runs", between)
report("dark moments within a run", within)
PY
    WATCHER=$!
}

run_session() {
    start_x_server
    DISPLAY=":$DISPLAY_NUMBER" VANTOR_GAME="$GAME" VANTOR_CONTENT="$CONTENT" \
        "$ROOT/deploy/vantor-session" --credit-port "$PORT" 2>>"$WORK/session.log" &
    PIDS+=("$X_SERVER" $!)
    sleep "$SECONDS_TO_RUN"
}

# A session per run of the game, as a unit that restarts the whole X session 2 s after it ends.
run_restarting_sessions() {
    local deadline=$((SECONDS + SECONDS_TO_RUN))
    while [ "$SECONDS" -lt "$deadline" ]; do
        start_x_server
        (cd "$CONTENT" && DISPLAY=":$DISPLAY_NUMBER" SDL_VIDEODRIVER=x11 "$GAME" \
            --credit-port "$PORT") || true
        stop_x_server
        sleep 2
    done
}

# The game, through a wrapper that notes the time of each start (/proc/uptime counts as the
# watcher's clock does).
make_game_wrapper() {
    GAME=$WORK/vantor
    printf '#!/bin/sh\ncut -d" " -f1 /proc/uptime >>"%s"\nexec "%s" "$@"\n' "$WORK/starts" "$BIN/vantor" >"$GAME"
    chmod +x "$GAME"
    : >"$WORK/starts"
}

start_credit_service
make_game_wrapper
watch_screen
say "measuring the $MODE kiosk for $SECONDS_TO_RUN s"
case $MODE in
    session) run_session ;;
    restart) run_restarting_sessions ;;
    *) echo "usage: kiosk-gap.sh session|restart [SECONDS]" >&2; exit 2 ;;
esac
touch "$WORK/stop-watching"
wait "$WATCHER"
