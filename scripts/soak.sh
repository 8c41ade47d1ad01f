#!/usr/bin/env bash
# The soak: many autoplayed games on the virtual clock against a real credit service, checking
# after every run that no money went astray and that the game neither crashed nor grew.
#
#   scripts/soak.sh [options] GAMES
#     --bin DIR          the built programs (default build/bin of the release preset)
#     --content DIR      the content set (default build/content, made by ./run.sh)
#     --work DIR         where the game runs and the ledger lives, both started afresh, and
#                        kept (default: a fresh temporary folder, removed afterwards unless the
#                        soak fails or --keep is given)
#     --keep             keep the work folder
#     --insert PENCE     coins the operator inserts before every run (default: 500 to 3000,
#                        varying from run to run)
#     --quick            short games only: the player loses its first question, or answers
#                        every question and takes the first offer (for sanitizer builds)
#     --seed N           first seed of the modelled player (default 1); run R uses N + R
#     --rss-growth PCT   fail when the last quarter of runs peaks PCT % above the first quarter
#                        (default 10; sanitizer builds hold freed memory back, so pass more)
#     --run-timeout S    a run that takes longer than S seconds counts as hung (default 3600)
#     --minutes M        start no new run after M minutes (default: no limit)
#     --run-games N      at most N games in one run (default 200): a player who keeps winning
#                        would otherwise play on for ever
#     --no-real-game     skip the payout check of the simulator against the real game
#
# The games are played in runs of as many games as the credit allows, as a player feeding the
# cabinet would: before each run the operator inserts coins with `credit-service insert`, the
# modelled player plays until the credit and bank no longer buy a game (or the soak has its
# GAMES), and the attract screen ends the run after its 30 s without a touch. The record file
# carries on from run to run. Like an operator, the soak pays the bank out (`credit-service
# collect`) between runs once it holds £50 or more, long before a win could push it past £99.99
# and be refused, and inserts no coins that would take the credit past £99.99. The stake, the player's skill, the offer it takes and its seed vary
# from run to run.
#
# After each run: the game must exit 0; the meters' paid-out total (counter 23) must have grown by
# exactly what the ledger received through BADD and CADD during the run, and the games bought
# (counters 0 and 1) by the number of CUSE commands the service carried out, at the stakes the
# meters say; the service's credit and bank must have moved by inserted - taken + paid; and money
# left after a run that stopped early must be too little for another game. At the end the whole
# ledger must agree with the meters: its CUSE rows with the games sold, its BADD and CADD with the
# paid-out total plus any win the game still owes. Any mismatch, crash or
# hang ends the soak with status 1 (2 for a bad command line), keeping the work folder and the
# game's log of the failed run. Status 3: the time given with --minutes ran out before GAMES were
# played, with every check of the runs played passed.
#
# Once the runs have passed, the payout simulator is checked against the real game when the bin
# folder holds its test program (test_payout_sim): three runs of 300 real games must pay within
# the simulator's range for the same player (about six minutes), so the operator's payout figures
# cannot drift from the game.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

usage() {
    sed -n '4,23p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//' >&2
    exit 2
}

BIN="$ROOT/build/bin"
CONTENT="$ROOT/build/content"
WORK=""
KEEP=0
SEED=1
RSS_GROWTH=10
RUN_TIMEOUT=3600
RUN_GAMES=200
MINUTES=0
REAL_GAME=1
GAMES=""
INSERTS=(2000 1000 3000 1500 500)
STAKES=(50 100)
RIGHTS=(100 95 90 80 65 45 20)
TAKES=(0 1 2 3 4)
while [ $# -gt 0 ]; do
    case "$1" in
        --bin) BIN=${2:?}; shift 2 ;;
        --content) CONTENT=${2:?}; shift 2 ;;
        --work) WORK=${2:?}; shift 2 ;;
        --keep) KEEP=1; shift ;;
        --insert) INSERTS=("${2:?}"); shift 2 ;;
        --quick) RIGHTS=(100 0); TAKES=(1); shift ;;
        --seed) SEED=${2:?}; shift 2 ;;
        --rss-growth) RSS_GROWTH=${2:?}; shift 2 ;;
        --run-timeout) RUN_TIMEOUT=${2:?}; shift 2 ;;
        --run-games) RUN_GAMES=${2:?}; shift 2 ;;
        --minutes) MINUTES=${2:?}; shift 2 ;;
        --no-real-game) REAL_GAME=0; shift ;;
        -h | --help) usage ;;
        -*) echo "soak: unknown option $1" >&2; usage ;;
        *) [ -z "$GAMES" ] || usage; GAMES=$1; shift ;;
    esac
done
[[ "$GAMES" =~ ^[1-9][0-9]*$ ]] || usage
for number in "${INSERTS[@]}" "$SEED" "$RSS_GROWTH" "$RUN_TIMEOUT" "$MINUTES" "$RUN_GAMES"; do [[ "$number" =~ ^[0-9]+$ ]] || usage; done
for program in vantor credit-service; do
    [ -x "$BIN/$program" ] || { echo "soak: no $BIN/$program (build it first)" >&2; exit 2; }
done
[ -d "$CONTENT" ] || { echo "soak: no content set in $CONTENT (./run.sh makes one)" >&2; exit 2; }
BIN=$(cd "$BIN" && pwd)
CONTENT=$(cd "$CONTENT" && pwd)

# ---- The work folder: the content set by reference, the game's own data and log fresh ---------
if [ -z "$WORK" ]; then
    WORK=$(mktemp -d "${TMPDIR:-/tmp}/vantor-soak.XXXXXX")
else
    KEEP=1  # a folder we were given is never removed
    mkdir -p "$WORK"
    WORK=$(cd "$WORK" && pwd)
fi
GAME_DIR="$WORK/game"
LEDGER="$WORK/credit.db"
rm -rf "$GAME_DIR" "$LEDGER" "$LEDGER"-*
mkdir -p "$GAME_DIR"
for entry in "$CONTENT"/*; do
    case "$(basename "$entry")" in
        data | "~system") ;;  # a played content set's meters and logs are not this soak's
        *) ln -s "$entry" "$GAME_DIR/" ;;
    esac
done
RECORD="$GAME_DIR/data/brasswick.rec"

SERVICE_PID=""
finish() {
    local status=$?
    if [ -n "$SERVICE_PID" ]; then
        kill "$SERVICE_PID" 2>/dev/null || true
        wait "$SERVICE_PID" 2>/dev/null || true
    fi
    if [ "$status" -eq 0 ] && [ "$KEEP" -eq 0 ]; then
        rm -rf "$WORK"
    else
        echo "soak: work folder kept: $WORK" >&2
    fi
}
trap finish EXIT

fail() {
    echo "soak: FAILED: $*" >&2
    exit 1
}

credit() { "$BIN/credit-service" "$@" --db "$LEDGER"; }

# ---- The credit service, on a free port with its own ledger ------------------------------------
"$BIN/credit-service" serve --port 0 --db "$LEDGER" >"$WORK/service.out" 2>"$WORK/service.err" &
SERVICE_PID=$!
PORT=""
for _ in $(seq 100); do
    PORT=$(sed -n 's/^listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$WORK/service.out")
    [ -n "$PORT" ] && break
    kill -0 "$SERVICE_PID" 2>/dev/null || break
    sleep 0.1
done
[ -n "$PORT" ] || fail "the credit service did not start: $(cat "$WORK/service.err")"

# ---- Readers (they set globals, so that a failure ends the soak itself) -----------------------
# Counters 0, 1 and 23 of the record file (little-endian 32-bit, after the two balances): games
# bought at 50p and at 100p, and the total paid out. Zeros before the first game has written it.
read_counters() {
    BOUGHT50=0 BOUGHT100=0 PAID_BY_METERS=0
    [ -e "$RECORD" ] || return 0
    od -An -v -t d4 -j 8 -N 724 --endian=little "$RECORD" >"$WORK/counters.txt" ||
        fail "cannot read the record file $RECORD"
    local counters
    read -r -d '' -a counters <"$WORK/counters.txt" || true
    [ "${#counters[@]}" -eq 181 ] || fail "the record file holds ${#counters[@]} of 181 counters"
    BOUGHT50=${counters[0]} BOUGHT100=${counters[1]} PAID_BY_METERS=${counters[23]}
}

# The ledger's rows after row $1, summed: LEDGER_ID (the last row), USES and TAKEN (the CUSE
# commands and their pence), PAID (BADD and CADD pence) and OTHERS (rows of any other command,
# which no game sends).
read_ledger_since() {
    credit ledger >"$WORK/ledger.txt" || fail "cannot list the ledger"
    read -r LEDGER_ID USES TAKEN PAID OTHERS < <(awk -v after="$1" '
        NR == 1 { last = after; next }
        $1 > after {
            last = $1
            if ($3 == "CUSE") { uses++; taken += $4 }
            else if ($3 == "BADD" || $3 == "CADD") paid += $4
            else others++
        }
        END { printf "%d %d %d %d %d\n", last, uses, taken, paid, others }' "$WORK/ledger.txt")
}

# MONEY: credit plus bank, in pence; CREDIT and BANK apart.
read_money() {
    credit status >"$WORK/status.txt" || fail "cannot read the credit service's balances"
    read -r CREDIT BANK < <(awk '$1 == "credit" { c = $2 } $1 == "bank" { b = $2 }
        END { print c + 0, b + 0 }' "$WORK/status.txt")
    MONEY=$((CREDIT + BANK))
}

# The operator between runs: pays out a bank of £50 or more, and inserts the coins unless they
# would take the credit past £99.99. Sets INSERTED to the pence inserted.
serve_as_operator() {
    local insert=$1
    read_money
    if [ "$BANK" -ge 5000 ]; then
        credit collect >/dev/null || fail "run $RUN: the operator could not collect the bank"
        COLLECTED_TOTAL=$((COLLECTED_TOTAL + BANK))
    fi
    INSERTED=0
    if [ $((CREDIT + insert)) -le 9999 ]; then
        credit insert "$insert" >/dev/null || fail "run $RUN: the operator could not insert ${insert}p"
        INSERTED=$insert
    fi
    INSERTED_TOTAL=$((INSERTED_TOTAL + INSERTED))
}

peak_rss_kb() { tail -n 1 "$1" 2>/dev/null | grep -E '^[0-9]+$' || echo 0; }
now() { date +%s.%N; }
# Arithmetic with fractions: calc "1.5 * 2".
calc() { awk "BEGIN { printf \"%.${2:-1}f\", $1 }"; }

# ---- The runs -----------------------------------------------------------------------------------
GAMES_PLAYED=0
RUN=0
INSERTED_TOTAL=0
COLLECTED_TOTAL=0
TAKEN_TOTAL=0
PAID_TOTAL=0
RSS_PER_RUN=()
SOAK_STARTED=$(now)
DEADLINE=$(($(date +%s) + MINUTES * 60))
OUT_OF_TIME=0

echo "soak: $GAMES games, content $CONTENT, credit service on port $PORT, work $WORK"
while [ "$GAMES_PLAYED" -lt "$GAMES" ]; do
    if [ "$MINUTES" -gt 0 ] && [ "$(date +%s)" -ge "$DEADLINE" ]; then
        OUT_OF_TIME=1
        break
    fi
    RUN=$((RUN + 1))
    stake=${STAKES[$((RUN % ${#STAKES[@]}))]}
    right=${RIGHTS[$((RUN % ${#RIGHTS[@]}))]}
    take=${TAKES[$((RUN % ${#TAKES[@]}))]}
    insert=${INSERTS[$((RUN % ${#INSERTS[@]}))]}
    seed=$((SEED + RUN - 1))
    wanted=$((GAMES - GAMES_PLAYED < RUN_GAMES ? GAMES - GAMES_PLAYED : RUN_GAMES))

    serve_as_operator "$insert"
    read_ledger_since 0
    run_first_row=$LEDGER_ID
    read_counters
    bought50_before=$BOUGHT50 bought100_before=$BOUGHT100 paid_before=$PAID_BY_METERS
    read_money
    money_before=$MONEY

    run_started=$(now)
    set +e
    (cd "$GAME_DIR" && exec /usr/bin/time -f '%M' -o "$WORK/rss.txt" timeout -s KILL "$RUN_TIMEOUT" \
        "$BIN/vantor" --headless --credit-port "$PORT" \
        --autoplay "games=$wanted,stake=$stake,right=$right,take=$take,seed=$seed") \
        >"$WORK/game.out" 2>&1
    status=$?
    set -e
    run_seconds=$(calc "$(now) - $run_started")
    cp -f "$GAME_DIR/~system/logs/Vantor.txt" "$WORK/Vantor.run$RUN.txt" 2>/dev/null || true

    read_counters
    read_ledger_since "$run_first_row"
    read_money
    bought50=$((BOUGHT50 - bought50_before))
    bought100=$((BOUGHT100 - bought100_before))
    games=$((bought50 + bought100))
    paid_by_meters=$((PAID_BY_METERS - paid_before))
    rss=$(peak_rss_kb "$WORK/rss.txt")
    RSS_PER_RUN+=("$rss")
    GAMES_PLAYED=$((GAMES_PLAYED + games))
    TAKEN_TOTAL=$((TAKEN_TOTAL + TAKEN))
    PAID_TOTAL=$((PAID_TOTAL + PAID))
    printf 'run %d: stake %d right %d%% take %d seed %d: %d games (%d at 50p, %d at 100p), ' \
        "$RUN" "$stake" "$right" "$take" "$seed" "$games" "$bought50" "$bought100"
    printf 'inserted %dp, taken %dp, paid %dp (meters %dp), money left %dp, peak RSS %d kB, %s s\n' \
        "$INSERTED" "$TAKEN" "$PAID" "$paid_by_meters" "$MONEY" "$rss" "$run_seconds"

    [ "$status" -eq 0 ] ||
        fail "run $RUN: vantor ended with status $status (log $WORK/Vantor.run$RUN.txt, output $WORK/game.out)"
    [ "$paid_by_meters" -eq "$PAID" ] ||
        fail "run $RUN: the meters paid out ${paid_by_meters}p but the ledger received ${PAID}p through BADD and CADD"
    [ "$games" -eq "$USES" ] ||
        fail "run $RUN: the meters sold $games games but the service carried out $USES CUSE commands"
    [ $((bought50 * 50 + bought100 * 100)) -eq "$TAKEN" ] ||
        fail "run $RUN: the meters' games are worth $((bought50 * 50 + bought100 * 100))p but CUSE took ${TAKEN}p"
    [ "$OTHERS" -eq 0 ] || fail "run $RUN: the ledger holds $OTHERS rows that no game sends"
    [ "$MONEY" -eq $((money_before - TAKEN + PAID)) ] ||
        fail "run $RUN: credit and bank went from ${money_before}p to ${MONEY}p, not by -${TAKEN}p + ${PAID}p"
    [ "$games" -le "$wanted" ] || fail "run $RUN: $games games played, $wanted asked for"
    if [ "$games" -lt "$wanted" ] && [ "$MONEY" -ge 50 ]; then
        fail "run $RUN: stopped after $games games with ${MONEY}p left"
    fi
done
wall_seconds=$(calc "$(now) - $SOAK_STARTED")

# ---- The whole ledger against the meters: every stake a game sold, every penny paid out ---------
# A win the credit service did not take waits in the game's owed win file until it is paid.
read_ledger_since 0
read_counters
owed=0
if [ -f "$GAME_DIR/data/owed-win.txt" ]; then
    owed=$(awk '$1 == "owed" { print $2 }' "$GAME_DIR/data/owed-win.txt")
fi
[ "$USES" -eq $((BOUGHT50 + BOUGHT100)) ] ||
    fail "the ledger holds $USES CUSE rows but the meters sold $((BOUGHT50 + BOUGHT100)) games"
[ "$PAID" -eq $((PAID_BY_METERS + owed)) ] ||
    fail "the ledger paid ${PAID}p through BADD and CADD but the meters count ${PAID_BY_METERS}p paid out and ${owed}p owed"

# ---- Memory: the last quarter of the runs may not peak above the first quarter -----------------
quarter=$(((RUN + 3) / 4))
max_of() { printf '%s\n' "$@" | sort -n | tail -n 1; }
rss_early=$(max_of "${RSS_PER_RUN[@]:0:quarter}")
rss_late=$(max_of "${RSS_PER_RUN[@]: -quarter}")

payout="n/a"
[ "$TAKEN_TOTAL" -eq 0 ] || payout="$(calc "100 * $PAID_TOTAL / $TAKEN_TOTAL" 2) %"
echo "soak summary:"
echo "  games            $GAMES_PLAYED in $RUN runs"
echo "  money inserted   ${INSERTED_TOTAL}p; banks paid out by the operator ${COLLECTED_TOTAL}p"
echo "  money in (CUSE)  ${TAKEN_TOTAL}p"
echo "  paid out         ${PAID_TOTAL}p (BADD + CADD, equal to the meters' counter 23 in every run)"
echo "  whole ledger     $USES CUSE rows = $((BOUGHT50 + BOUGHT100)) games on the meters;" \
    "BADD + CADD ${PAID}p = counter 23 ${PAID_BY_METERS}p + owed ${owed}p"
echo "  payout           $payout"
echo "  peak RSS         first run ${RSS_PER_RUN[0]} kB, last run ${RSS_PER_RUN[-1]} kB;" \
    "highest of the first quarter of runs $rss_early kB, of the last quarter $rss_late kB"
echo "  wall time        $wall_seconds s ($(calc "$wall_seconds / $GAMES_PLAYED" 3) s a game)"

if [ -x "$BIN/meters" ]; then
    "$BIN/meters" "$RECORD" >"$WORK/meters.txt" ||
        fail "meters finds the record file unsound (see $WORK/meters.txt)"
fi
[ "$rss_late" -le $((rss_early + rss_early * RSS_GROWTH / 100)) ] ||
    fail "memory grew: the last runs peaked at $rss_late kB against $rss_early kB at first"
if [ "$OUT_OF_TIME" -eq 1 ]; then
    echo "soak: out of time after $GAMES_PLAYED of $GAMES games; every run so far passed"
    exit 3
fi
if [ "$REAL_GAME" -eq 1 ] && [ -x "$BIN/test_payout_sim" ]; then
    echo "  comparing the payout simulator with the real game (about six minutes)"
    VANTOR_COMPARE_REAL_GAME=1 "$BIN/test_payout_sim" --gtest_filter='RealGame*' \
        >"$WORK/real-game.txt" 2>&1 ||
        fail "the simulator and the real game disagree (see $WORK/real-game.txt)"
    grep -E '^(real game|simulator)' "$WORK/real-game.txt" | sed 's/^/  /' || true
fi
echo "soak: passed"
