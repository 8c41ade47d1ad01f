#!/usr/bin/env bash
# Installs the game on a cabinet: builds the programs (the cabinet preset: no tests, warnings not errors), makes the content set, installs
# programs, content, systemd units, users and directories, and enables and starts the credit
# service and the kiosk session. Running it again updates everything in place; the credit ledger,
# the record file and the logs under /var/lib/vantor are never touched.
#
#   sudo deploy/install.sh                    build and install on this machine
#   deploy/install.sh --root DIR              install into DIR as if it were / (an image, a test):
#                                             no packages, nothing started
#   --bin-dir DIR                             install the programs already built in DIR
#   --content DIR                             install this ready content set (question packs
#                                             included) instead of making one
source "$(dirname "$0")/../scripts/common.sh"
REPO="$ROOT"
DEST=""
BIN=""
CONTENT_FROM=""

usage() {
    sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
}

while [ $# -gt 0 ]; do
    case "$1" in
        --root) [ $# -ge 2 ] || usage; DEST=$(realpath -m "$2"); shift 2 ;;
        --bin-dir) [ $# -ge 2 ] || usage; BIN=$(realpath "$2"); shift 2 ;;
        --content) [ $# -ge 2 ] || usage; CONTENT_FROM=$(realpath "$2"); shift 2 ;;
        -h | --help) usage ;;
        *) echo "install.sh: unknown argument $1" >&2; usage ;;
    esac
done
[ "$DEST" != "/" ] || DEST=""

OPT=/opt/vantor
STATE=/var/lib/vantor
UNITS=(vantor-credit.service vantor-kiosk.service)
# What the kiosk session needs beyond the build's own packages: a bare X server and xinit.
KIOSK_PACKAGES=(xserver-xorg-core xserver-xorg-input-libinput xinit)

on_cabinet() { [ -z "$DEST" ]; }
have() { command -v "$1" >/dev/null 2>&1; }

# Copies a file into place through a temporary name, so a running program is never overwritten
# in the middle and an interrupted install never leaves half a file.
place() {
    local mode=$1 source=$2 target=$DEST$3
    mkdir -p "$(dirname "$target")"
    install -m "$mode" "$source" "$target.new"
    mv -f "$target.new" "$target"
}

install_kiosk_packages() {
    local missing=()
    for package in "${KIOSK_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return
    say "installing the kiosk's packages: ${missing[*]}"
    apt-get update -q
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

build_programs() {
    if [ -n "$BIN" ]; then
        say "using the programs built in $BIN"
        return
    fi
    on_cabinet && ensure_packages
    build_preset cabinet
    BIN="$REPO/build-cabinet/bin"
}

install_programs() {
    say "installing the programs in $DEST$OPT/bin"
    for program in vantor credit-service; do
        [ -x "$BIN/$program" ] || { echo "install.sh: $BIN/$program is missing" >&2; exit 1; }
        place 0755 "$BIN/$program" "$OPT/bin/$program"
    done
    [ -x "$BIN/meters" ] && place 0755 "$BIN/meters" "$OPT/bin/meters"
    place 0755 "$REPO/deploy/vantor-session" "$OPT/bin/vantor-session"
    place 0755 "$REPO/deploy/vantor-credit" /usr/local/bin/vantor-credit
    place 0644 "$REPO/README.md" "$OPT/README.md"
}

install_system_files() {
    say "installing the units, users and directories"
    for unit in "${UNITS[@]}"; do
        place 0644 "$REPO/deploy/$unit" "/etc/systemd/system/$unit"
    done
    place 0644 "$REPO/deploy/vantor.sysusers" /etc/sysusers.d/vantor.conf
    place 0644 "$REPO/deploy/vantor.tmpfiles" /etc/tmpfiles.d/vantor.conf
}

create_users_and_directories() {
    if have systemd-sysusers && have systemd-tmpfiles; then
        local root_option=()
        [ -n "$DEST" ] && root_option=(--root="$DEST")
        systemd-sysusers "${root_option[@]}" "$DEST/etc/sysusers.d/vantor.conf"
        systemd-tmpfiles "${root_option[@]}" --create "$DEST/etc/tmpfiles.d/vantor.conf"
    elif on_cabinet; then
        echo "install.sh: systemd-sysusers and systemd-tmpfiles are needed on a cabinet" >&2
        exit 1
    else
        say "no systemd tools here: making the state directories without owners"
        mkdir -p "$DEST$STATE/credit" "$DEST$STATE/game/data" "$DEST$STATE/game/system"
    fi
}

# A content set the game can start with: the pictures and the 48 question packs.
check_content() {
    local dir=$1 packs
    packs=$(find "$dir/Questions/trueorfalse" -maxdepth 1 -iname 'Data[0-9][0-9].pck' 2>/dev/null | wc -l)
    if [ ! -d "$dir/Graphic_resource" ] || [ "$packs" -ne 48 ]; then
        echo "install.sh: $dir is not a complete content set (Graphic_resource and 48 question packs)" >&2
        exit 1
    fi
}

# Makes the new content set beside the old one and swaps it in, so the old set is replaced
# whole. Its record file and log directories point into /var/lib/vantor/game, which stays.
install_content() {
    local content=$DEST$OPT/content staged=$DEST$OPT/content.new old=$DEST$OPT/content.old
    rm -rf "$staged" "$old"
    mkdir -p "$staged"
    if [ -n "$CONTENT_FROM" ]; then
        say "copying the content set from $CONTENT_FROM"
        cp -R "$CONTENT_FROM/." "$staged/"
    else
        say "making the content set"
        "$BIN/make-assets" "$staged"
        "$BIN/pack-questions" "$REPO/content/questions" "$staged"
    fi
    rm -rf "$staged/data" "$staged/~system" "$staged/captures" "$staged"/.*-made
    check_content "$staged"
    ln -s "$STATE/game/data" "$staged/data"
    ln -s "$STATE/game/system" "$staged/~system"
    chmod -R u+rwX,go+rX,go-w "$staged"
    say "installing the content set in $content"
    [ -e "$content" ] && mv "$content" "$old"
    mv "$staged" "$content"
    rm -rf "$old"
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

if on_cabinet && [ "$(id -u)" -ne 0 ]; then
    echo "install.sh: installing on this machine needs root (sudo deploy/install.sh)" >&2
    exit 1
fi
build_programs
if on_cabinet; then
    install_kiosk_packages
    # The game must not run from a content set that is being replaced.
    say "stopping the kiosk session while the game is updated"
    systemctl stop vantor-kiosk.service 2>/dev/null || true
fi
install_programs
install_system_files
create_users_and_directories
install_content
enable_units
if on_cabinet; then
    say "starting the credit service and the kiosk session"
    systemctl restart vantor-credit.service
    systemctl start vantor-kiosk.service
fi
say "installed in ${DEST:-/}"
