#!/usr/bin/env bash
# Installs or updates the game on a cabinet: the programs, the content set, the systemd units,
# the users and directories and the operator's commands; then (re)starts the credit service and
# the kiosk session. The credit ledger, the record file and the logs under /var/lib/vantor are
# never touched.
#
#   sudo deploy/install.sh --bin-dir DIR --content DIR
#                              install programs made by deploy/make-release.sh and a ready content
#                              set (question packs included); only run-time packages are installed
#   sudo deploy/install.sh     build the programs and make the content set here first (needs the
#                              build packages of ./run.sh), then install them
#   sudo deploy/install.sh --rollback
#                              go back to the version that ran before the last update
#   deploy/install.sh --root DIR ...
#                              install into DIR as if it were / (an image): no packages, nothing
#                              started
#
# Everything is checked and copied beside the running version before the game is stopped; the
# update itself is a few renames, and if anything fails the old version is put back and started.
# Whatever happens, the old or the new version is left running. VANTOR_INSTALL_ROOT=DIR does
# all a cabinet install does, services included, with every path under DIR (for the tests).
source "$(dirname "$0")/../scripts/common.sh"
REPO="$ROOT"
DEST=""
LIVE=1
BIN=""
CONTENT_FROM=""
ROLLBACK=0

usage() {
    sed -n '2,21p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
}

refuse() {
    echo "install.sh: $*" >&2
    exit 1
}

while [ $# -gt 0 ]; do
    case "$1" in
        --root) [ $# -ge 2 ] || usage; DEST=$(realpath -m "$2"); LIVE=0; shift 2 ;;
        --bin-dir) [ $# -ge 2 ] || usage; BIN=$(realpath -e "$2") || refuse "no directory $2"; shift 2 ;;
        --content) [ $# -ge 2 ] || usage; CONTENT_FROM=$(realpath -e "$2") || refuse "no directory $2"; shift 2 ;;
        --rollback) ROLLBACK=1; shift ;;
        -h | --help) usage ;;
        *) echo "install.sh: unknown argument $1" >&2; usage ;;
    esac
done
[ "$LIVE" -eq 0 ] || DEST=${VANTOR_INSTALL_ROOT:-}
[ "$DEST" != "/" ] || DEST=""
if [ "$ROLLBACK" -eq 1 ] && { [ -n "$BIN" ] || [ -n "$CONTENT_FROM" ]; }; then
    usage
fi

OPT=/opt/vantor
UNITS=(vantor-credit.service vantor-kiosk.service)
CREDIT_UNIT=vantor-credit.service
KIOSK_UNIT=vantor-kiosk.service
# The programs a cabinet cannot run without, and those it has when the release brings them.
REQUIRED_PROGRAMS=(vantor credit-service meters)
OPTIONAL_PROGRAMS=(operator-console)
# The versioned parts of an install: the new one is staged as PART.new, the one before the last
# update is kept as PART.previous.
PARTS=(bin content)
OPERATOR_COMMANDS=(vantor-credit vantor-meters vantor-log)

on_cabinet() { [ "$LIVE" -eq 1 ]; }
have() { command -v "$1" >/dev/null 2>&1; }
installed() { [ -e "$DEST$OPT/$1" ]; }

WORK=$(mktemp -d)
game_stopped=0
# The renames done so far, newest first, each as "FROM|TO", so that they can be undone.
moves=()

# Copies a file into place through a temporary name, so a running program is never overwritten
# in the middle and an interrupted install never leaves half a file.
place() {
    local mode=$1 source=$2 target=$DEST$3
    mkdir -p "$(dirname "$target")"
    install -m "$mode" "$source" "$target.new"
    mv -f "$target.new" "$target"
}

move() {
    mv -T "$1" "$2"
    moves=("$1|$2" "${moves[@]}")
}

undo_moves() {
    local entry
    for entry in "${moves[@]}"; do
        mv -T "${entry#*|}" "${entry%%|*}" || echo "install.sh: could not move ${entry#*|} back" >&2
    done
    moves=()
}

start_game() {
    systemctl restart "$CREDIT_UNIT"
    systemctl start "$KIOSK_UNIT"
}

# Runs at every exit: an install that fails after the game was stopped puts the old version back
# and starts it; staged and temporary files go in every case.
finish() {
    local status=$?
    if [ "$status" -ne 0 ] && [ "$game_stopped" -eq 1 ]; then
        echo "install.sh: the update failed: putting the version that ran back and starting it" >&2
        undo_moves
        start_game || echo "install.sh: the game could not be started: see journalctl -u $KIOSK_UNIT" >&2
    fi
    remove_leftovers
    rm -rf "$WORK"
    exit "$status"
}

# Removes staged parts, and a part's temporary name from a switch, unless it holds the only copy
# of a version (the part itself missing): that one is left for the operator to move back.
remove_leftovers() {
    local part path
    for part in "${PARTS[@]}"; do
        path=$DEST$OPT/$part
        rm -rf "$path.new"
        if [ -e "$path" ]; then
            rm -rf "$path.swap"
        elif [ -e "$path.swap" ]; then
            echo "install.sh: $path is missing and $path.swap holds the version that ran: move it back" >&2
        fi
    done
}
trap finish EXIT

# Builds the programs and makes the content set from this checkout, as the user who called
# sudo (so nothing in the checkout becomes root's) and outside the checkout.
make_release_here() {
    say "building the programs and making the content set"
    on_cabinet && ensure_packages
    local release=$WORK/release
    if [ -n "${SUDO_USER:-}" ] && [ "$SUDO_USER" != root ]; then
        chown "$SUDO_USER" "$WORK"
        sudo -u "$SUDO_USER" -H "$REPO/deploy/make-release.sh" "$release"
    else
        "$REPO/deploy/make-release.sh" "$release"
    fi
    BIN=$release/bin
    CONTENT_FROM=$release/content
}

# Without --content, the content set is made with the tools beside the programs, when they are
# there (a build directory); programs alone are not enough to make one.
make_content_from_bin_dir() {
    if [ ! -x "$BIN/make-assets" ] || [ ! -x "$BIN/pack-questions" ]; then
        refuse "$BIN has no make-assets and pack-questions: give the content set with --content DIR"
    fi
    say "making the content set with the tools in $BIN"
    CONTENT_FROM=$WORK/content
    mkdir -p "$CONTENT_FROM"
    "$BIN/make-assets" "$CONTENT_FROM"
    "$BIN/pack-questions" "$REPO/content/questions" "$CONTENT_FROM"
}

check_programs() {
    local program
    for program in "${REQUIRED_PROGRAMS[@]}"; do
        [ -x "$BIN/$program" ] || refuse "$BIN/$program is missing"
    done
}

# A content set the game can start with: the pictures and the 48 question packs.
check_content() {
    local dir=$1 packs
    packs=$(find "$dir/Questions/trueorfalse" -maxdepth 1 -iname 'Data[0-9][0-9].pck' 2>/dev/null | wc -l)
    if [ ! -d "$dir/Graphic_resource" ] || [ "$packs" -ne 48 ]; then
        refuse "$dir is not a complete content set (Graphic_resource and 48 question packs; $packs found)"
    fi
}

# The game must load on this machine before the one that runs is stopped: a missing library
# shows here, not as a dark cabinet.
check_game_starts() {
    local bin=$1
    if ! (cd "$WORK" && "$bin/vantor" --version >/dev/null); then
        ldd "$bin/vantor" 2>/dev/null | grep 'not found' >&2 || true
        refuse "the new game does not start on this machine (missing libraries are listed above)"
    fi
}

install_runtime_packages() {
    say "checking the cabinet's run-time packages"
    ensure_package_lists debian-runtime-packages.txt
}

stage_programs() {
    local staged=$DEST$OPT/bin.new program
    say "staging the programs in $staged"
    mkdir -p "$staged"
    for program in "${REQUIRED_PROGRAMS[@]}" "${OPTIONAL_PROGRAMS[@]}"; do
        [ ! -e "$BIN/$program" ] || install -m 0755 "$BIN/$program" "$staged/$program"
    done
    install -m 0755 "$REPO/deploy/vantor-session" "$staged/vantor-session"
    # Programs the operator put in beside ours (the console, say) stay.
    if installed bin; then
        for program in "$DEST$OPT/bin"/*; do
            [ -e "$staged/$(basename "$program")" ] || cp -p "$program" "$staged/"
        done
    fi
}

# Its record file and log directories point into /var/lib/vantor/game, which stays.
stage_content() {
    local staged=$DEST$OPT/content.new
    say "staging the content set from $CONTENT_FROM in $staged"
    mkdir -p "$staged"
    cp -R "$CONTENT_FROM/." "$staged/"
    rm -rf "$staged/data" "$staged/~system" "$staged/captures" "$staged"/.*-made
    check_content "$staged"
    ln -s /var/lib/vantor/game/data "$staged/data"
    ln -s /var/lib/vantor/game/system "$staged/~system"
    chmod -R u+rwX,go+rX,go-w "$staged"
}

install_system_files() {
    say "installing the units, users, directories and the operator's commands"
    local unit command
    for unit in "${UNITS[@]}" operator-console.service; do
        place 0644 "$REPO/deploy/$unit" "/etc/systemd/system/$unit"
    done
    place 0644 "$REPO/deploy/vantor.sysusers" /etc/sysusers.d/vantor.conf
    place 0644 "$REPO/deploy/vantor.tmpfiles" /etc/tmpfiles.d/vantor.conf
    for command in "${OPERATOR_COMMANDS[@]}"; do
        place 0755 "$REPO/deploy/$command" "/usr/local/bin/$command"
    done
    place 0644 "$REPO/README.md" "$OPT/README.md"
}

create_users_and_directories() {
    if have systemd-sysusers && have systemd-tmpfiles; then
        local root_option=()
        [ -n "$DEST" ] && root_option=(--root="$DEST")
        systemd-sysusers "${root_option[@]}" "$DEST/etc/sysusers.d/vantor.conf"
        systemd-tmpfiles "${root_option[@]}" --create "$DEST/etc/tmpfiles.d/vantor.conf"
    elif on_cabinet; then
        refuse "systemd-sysusers and systemd-tmpfiles are needed on a cabinet"
    else
        say "no systemd tools here: making the state directories without owners"
        mkdir -p "$DEST/var/lib/vantor/credit" "$DEST/var/lib/vantor/game/data" "$DEST/var/lib/vantor/game/system"
    fi
}

enable_units() {
    if on_cabinet; then
        systemctl daemon-reload
        systemctl enable "${UNITS[@]}"
    elif have systemctl; then
        systemctl --root="$DEST" enable "${UNITS[@]}"
    else
        say "no systemctl here: the units are installed but not enabled"
    fi
}

# Puts PART.SUFFIX in place of each part, and the part that was there becomes PART.previous.
swap_in() {
    local suffix=$1 part path
    for part in "${PARTS[@]}"; do
        path=$DEST$OPT/$part
        if [ -e "$path" ]; then
            move "$path" "$path.swap"
        fi
        move "$path.$suffix" "$path"
        if [ -e "$path.swap" ]; then
            move "$path.swap" "$path.previous"
        fi
    done
}

# " (vantor VERSION)" of the game in place, on a cabinet (an image's programs may not run here).
running_version() {
    if on_cabinet; then
        printf ' (%s)' "$(cd "$WORK" && "$DEST$OPT/bin/vantor" --version)"
    fi
}

# Stops the game only for the renames, and starts the version now in place.
switch_to() {
    local suffix=$1
    if on_cabinet; then
        say "stopping the kiosk session for the switch"
        game_stopped=1
        systemctl stop "$KIOSK_UNIT"
    fi
    swap_in "$suffix"
    if on_cabinet; then
        say "starting the credit service and the kiosk session"
        start_game
    fi
    game_stopped=0
}

prepare_update() {
    if [ -z "$BIN" ]; then
        make_release_here
    elif [ -z "$CONTENT_FROM" ]; then
        make_content_from_bin_dir
    fi
    check_programs
    check_content "$CONTENT_FROM"
    on_cabinet && install_runtime_packages
    remove_leftovers
    stage_programs
    stage_content
    if on_cabinet; then
        check_game_starts "$DEST$OPT/bin.new"
    fi
}

update() {
    prepare_update
    install_system_files
    create_users_and_directories
    enable_units
    local part
    for part in "${PARTS[@]}"; do
        rm -rf "$DEST$OPT/$part.previous"
    done
    switch_to new
    say "installed in ${DEST:-/}$(running_version); the version before is kept for --rollback"
}

rollback() {
    local part
    for part in "${PARTS[@]}"; do
        installed "$part.previous" || refuse "no earlier version to go back to ($DEST$OPT/$part.previous)"
    done
    switch_to previous
    say "switched to the version kept$(running_version); --rollback again switches back"
}

if on_cabinet && [ "$(id -u)" -ne 0 ]; then
    refuse "installing on this machine needs root (sudo deploy/install.sh)"
fi
if [ "$ROLLBACK" -eq 1 ]; then
    rollback
else
    update
fi
