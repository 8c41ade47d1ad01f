#!/usr/bin/env bash
# deploy/vantor-session with a stand-in game that ends with the statuses it is given, one a run.
source "$(dirname "$0")/checks.sh"

# The stand-in game logs each run and ends with the next status of $STATUSES; "hold" waits for
# a stop signal and then ends in order, as the game does.
new_session() {
    CASE=$SANDBOX/$1
    mkdir -p "$CASE/content/~system/logs"
    printf '%s\n' "$2" | tr ' ' '\n' >"$CASE/statuses"
    cat >"$CASE/game" <<'GAME'
#!/usr/bin/env bash
echo "run in $PWD" >>"$CASE/runs"
echo "log of run $(wc -l <"$CASE/runs")" >"$CASE/content/~system/logs/Vantor.txt"
status=$(sed -n "$(wc -l <"$CASE/runs")p" "$CASE/statuses")
if [ "$status" = hold ]; then
    sleep 30 &
    trap 'kill $!; exit 0' TERM
    wait
fi
exit "${status:-99}"
GAME
    chmod +x "$CASE/game"
    export CASE VANTOR_GAME=$CASE/game VANTOR_CONTENT=$CASE/content RUNTIME_DIRECTORY=$CASE
}

runs() { wc -l <"$CASE/runs"; }

expect_session_to_end_with() {
    local expected_status=$1 expected_runs=$2 status=0
    "$REPO/deploy/vantor-session" 2>"$CASE/journal" || status=$?
    expect_eq "$CASE: session status" "$expected_status" "$status"
    expect_eq "$CASE: runs" "$expected_runs" "$(runs)"
}

test_orderly_ends_start_again_and_a_fault_ends_the_session() {
    new_session orderly "0 0 250"
    expect_session_to_end_with 250 3
    expect_eq "runs in the content directory" "run in $CASE/content" "$(sort -u "$CASE/runs")"
    expect_eq "failed run's log kept" "log of run 3" "$(cat "$CASE/content/~system/logs/Vantor.failed.txt")"
    grep -q 'exit status 250 (the display could not be started, or a picture' "$CASE/journal" ||
        fail "the journal does not say why the session ended: $(cat "$CASE/journal")"
}

test_an_absent_credit_service_is_waited_for_on_the_same_session() {
    new_session credit "2 2 2 0 255"
    expect_session_to_end_with 255 5
    expect_eq "journal lines about the credit service" 1 "$(grep -c 'exit status 2 ' "$CASE/journal")"
}

# The unit's stop command signals the session, which passes the stop to the game and ends.
test_a_stop_ends_the_game_and_the_session() {
    new_session stop "hold hold"
    "$REPO/deploy/vantor-session" 2>"$CASE/journal" &
    local session=$!
    for _ in $(seq 50); do [ -s "$CASE/runs" ] && break; sleep 0.1; done
    "$REPO/deploy/vantor-session" --stop
    kill -0 "$session" 2>/dev/null && fail "the session still runs when --stop returns"
    local status=0
    wait "$session" || status=$?
    expect_eq "session status after a stop" 0 "$status"
    expect_eq "runs after a stop" 1 "$(runs)"
    [ ! -e "$CASE/session.pid" ] || fail "the session left its process id behind"
}

test_orderly_ends_start_again_and_a_fault_ends_the_session
test_an_absent_credit_service_is_waited_for_on_the_same_session
test_a_stop_ends_the_game_and_the_session
report "session tests"
