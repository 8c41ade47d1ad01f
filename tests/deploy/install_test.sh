#!/usr/bin/env bash
# The stand-ins' bodies are written as they stand: they expand when the stand-ins run.
# shellcheck disable=SC2016
# deploy/install.sh in a sandbox: every path under a temporary root, and stand-ins on PATH for
# systemctl (which records what runs: the programs and the content set in place when the kiosk
# is started), apt-get, dpkg-query and the systemd tools. Stand-ins for mv and cp fail on request.
source "$(dirname "$0")/checks.sh"
REAL_MV=$(command -v mv)
REAL_CP=$(command -v cp)

stub() {
    local name=$1 body=$2
    printf '#!/usr/bin/env bash\n%s\n' "$body" >"$STUBS/$name"
    chmod +x "$STUBS/$name"
}

make_stubs() {
    stub systemctl '
echo "systemctl $*" >>"$CALLS"
case "$1 ${2:-}" in
    "start vantor-kiosk.service")
        version=$(cat "$ROOTFS/opt/vantor/content/VERSION")
        [ "$version" != "${FAIL_START_VERSION:-}" ] || exit 1
        echo "$("$ROOTFS/opt/vantor/bin/vantor" --version) content $version" >"$RUNNING" ;;
    "stop vantor-kiosk.service") echo stopped >"$RUNNING" ;;
esac'
    stub apt-get 'echo "apt-get $*" >>"$CALLS"'
    stub dpkg-query 'exit 1'
    stub systemd-sysusers 'echo "systemd-sysusers $*" >>"$CALLS"'
    stub systemd-tmpfiles 'echo "systemd-tmpfiles $*" >>"$CALLS"'
    stub id 'if [ "${1:-}" = -u ]; then echo 0; else exec /usr/bin/id "$@"; fi'
    # The move fails once: putting things back afterwards works.
    stub mv "if [ -n \"\${FAIL_MOVE_TO:-}\" ] && [ \"\${*: -1}\" = \"\$ROOTFS\$FAIL_MOVE_TO\" ] &&
    [ ! -e \"\$CALLS.mv-failed\" ]; then touch \"\$CALLS.mv-failed\"; exit 1; fi
exec $REAL_MV \"\$@\""
    stub cp "[ -z \"\${FAIL_COPY_TO:-}\" ] || [[ \"\${*: -1}\" != *\"\$FAIL_COPY_TO\"* ]] || exit 1
exec $REAL_CP \"\$@\""
}

# A release as deploy/make-release.sh leaves it: programs that say their version, and a content
# set with the given number of question packs.
make_release() {
    local dir=$1 version=$2 packs=${3:-48} program n
    mkdir -p "$dir/bin" "$dir/content/Graphic_resource" "$dir/content/Questions/trueorfalse"
    for program in vantor credit-service meters; do
        printf '#!/bin/sh\necho "%s %s"\n' "$program" "$version" >"$dir/bin/$program"
        chmod +x "$dir/bin/$program"
    done
    for n in $(seq 1 "$packs"); do
        printf 'pack' >"$dir/content/Questions/trueorfalse/$(printf 'Data%02d.pck' "$n")"
    done
    echo "$version" >"$dir/content/VERSION"
}

new_sandbox() {
    local case_dir=$SANDBOX/$1
    ROOTFS=$case_dir/root
    STUBS=$case_dir/stubs
    CALLS=$case_dir/calls.log
    RUNNING=$case_dir/running
    mkdir -p "$ROOTFS" "$STUBS"
    : >"$CALLS"
    export ROOTFS CALLS RUNNING
    make_stubs
    make_release "$case_dir/v1" 1
    make_release "$case_dir/v2" 2
    RELEASES=$case_dir
}

install_as_cabinet() {
    PATH="$STUBS:$PATH" VANTOR_INSTALL_ROOT="$ROOTFS" "$REPO/deploy/install.sh" "$@" \
        >"$RELEASES/install.out" 2>&1
}

install_release() {
    install_as_cabinet --bin-dir "$RELEASES/$1/bin" --content "$RELEASES/$1/content"
}

running() { cat "$RUNNING"; }
stops() { grep -c 'stop vantor-kiosk' "$CALLS" || true; }

expect_nothing_left_behind() {
    local left
    left=$(find "$ROOTFS/opt/vantor" -maxdepth 1 \( -name '*.new' -o -name '*.swap' \) -printf '%f ')
    expect_eq "$1: staged files left behind" "" "$left"
}

# An installed version 1, running; the calls made so far forgotten.
sandbox_with_v1_running() {
    new_sandbox "$1"
    install_release v1 || fail "$1: installing version 1 failed: $(cat "$RELEASES/install.out")"
    : >"$CALLS"
}

test_first_install_runs_it_with_runtime_packages_only() {
    new_sandbox first
    install_release v1 || fail "first install failed: $(cat "$RELEASES/install.out")"
    expect_eq "first install running" "vantor 1 content 1" "$(running)"
    local requested
    requested=$(grep 'apt-get install' "$CALLS" || true)
    for package in libsdl2-2.0-0 libmad0 libpng16-16 libsqlite3-0 xinit xserver-xorg-core; do
        [[ " $requested " == *" $package "* ]] || fail "runtime package $package not requested"
    done
    for package in build-essential gcc g++ cmake googletest libgtest-dev ffmpeg xvfb clang-14 libsdl2-dev; do
        [[ " $requested " != *" $package "* ]] || fail "$package requested on a cabinet"
    done
    [ -L "$ROOTFS/opt/vantor/content/data" ] || fail "the content set's data does not point at the state"
    for command in vantor-credit vantor-meters vantor-log; do
        [ -x "$ROOTFS/usr/local/bin/$command" ] || fail "$command not installed"
    done
}

test_good_update_runs_the_new_version_and_keeps_the_old() {
    sandbox_with_v1_running update
    install_release v2 || fail "update failed: $(cat "$RELEASES/install.out")"
    expect_eq "after update" "vantor 2 content 2" "$(running)"
    expect_eq "kiosk stops during update" 1 "$(stops)"
    expect_eq "version kept for rollback" 1 "$(cat "$ROOTFS/opt/vantor/content.previous/VERSION")"
    expect_nothing_left_behind update
}

test_refused_update_never_stops_the_game() {
    sandbox_with_v1_running refused
    make_release "$RELEASES/short" 3 47
    if install_release short; then fail "a content set of 47 packs was accepted"; fi
    grep -q '47 found' "$RELEASES/install.out" || fail "refusal does not say why: $(cat "$RELEASES/install.out")"
    rm "$RELEASES/v2/bin/meters"
    if install_release v2; then fail "a release without meters was accepted"; fi
    if install_as_cabinet --bin-dir "$RELEASES/v2/bin"; then fail "--bin-dir alone was accepted"; fi
    printf '#!/bin/sh\nexit 127\n' >"$RELEASES/v2/bin/vantor"
    if install_release v2; then fail "a game that cannot start was accepted"; fi
    expect_eq "refused updates stop the kiosk" 0 "$(stops)"
    expect_eq "after refused updates" "vantor 1 content 1" "$(running)"
    expect_nothing_left_behind refused
}

test_failed_copy_keeps_the_old_version() {
    sandbox_with_v1_running copy
    if FAIL_COPY_TO=content.new install_release v2; then fail "a failed copy reported success"; fi
    expect_eq "failed copy stops the kiosk" 0 "$(stops)"
    expect_eq "after failed copy" "vantor 1 content 1" "$(running)"
    expect_nothing_left_behind copy
}

test_failed_switch_starts_the_old_version_again() {
    sandbox_with_v1_running switch
    # The programs are switched, then the content set cannot be: the programs go back too.
    if FAIL_MOVE_TO=/opt/vantor/content install_release v2; then fail "a failed switch reported success"; fi
    expect_eq "after failed switch" "vantor 1 content 1" "$(running)"
    [ ! -e "$ROOTFS/opt/vantor/bin.previous" ] || fail "a failed switch left a version to roll back to"
    expect_nothing_left_behind switch
}

test_a_new_version_that_will_not_start_is_switched_back() {
    sandbox_with_v1_running start
    if FAIL_START_VERSION=2 install_release v2; then fail "a version that did not start reported success"; fi
    expect_eq "after the new version failed to start" "vantor 1 content 1" "$(running)"
}

test_an_image_install_starts_nothing_and_installs_no_packages() {
    new_sandbox image
    PATH="$STUBS:$PATH" "$REPO/deploy/install.sh" --root "$ROOTFS" --bin-dir "$RELEASES/v1/bin" \
        --content "$RELEASES/v1/content" >"$RELEASES/install.out" 2>&1 || fail "image install failed"
    expect_eq "image install's calls to the host" "" "$(grep -E 'apt-get|systemctl (start|stop|restart)' "$CALLS" || true)"
    [ -x "$ROOTFS/opt/vantor/bin/vantor" ] || fail "the image has no game"
}

test_rollback_goes_back_and_forth() {
    sandbox_with_v1_running rollback
    install_release v2 || fail "update before rollback failed"
    install_as_cabinet --rollback || fail "rollback failed: $(cat "$RELEASES/install.out")"
    expect_eq "after rollback" "vantor 1 content 1" "$(running)"
    install_as_cabinet --rollback || fail "second rollback failed"
    expect_eq "after second rollback" "vantor 2 content 2" "$(running)"
}

test_rollback_without_an_earlier_version_is_refused() {
    sandbox_with_v1_running no-rollback
    if install_as_cabinet --rollback; then fail "rollback with nothing to go back to succeeded"; fi
    expect_eq "refused rollback stops the kiosk" 0 "$(stops)"
    expect_eq "after refused rollback" "vantor 1 content 1" "$(running)"
}

test_first_install_runs_it_with_runtime_packages_only
test_good_update_runs_the_new_version_and_keeps_the_old
test_refused_update_never_stops_the_game
test_failed_copy_keeps_the_old_version
test_failed_switch_starts_the_old_version_again
test_a_new_version_that_will_not_start_is_switched_back
test_an_image_install_starts_nothing_and_installs_no_packages
test_rollback_goes_back_and_forth
test_rollback_without_an_earlier_version_is_refused
report "install tests"
