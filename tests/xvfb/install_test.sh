#!/usr/bin/env bash
# deploy/install.sh run twice into a scratch root: the programs, content set, units, users and
# state directories land where the units expect them, a second run changes nothing it should
# keep, and systemd-analyze accepts the units as installed.
#   install_test.sh SOURCE_DIR BIN_DIR CONTENT_DIR
set -euo pipefail
SOURCE=$1 BIN=$2 CONTENT=$3
SCRATCH=$(mktemp -d)
trap 'rm -rf "$SCRATCH"' EXIT
DEST=$SCRATCH/root
failures=0

fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
expect_file() { [ -f "$DEST$1" ] || fail "$1 is missing"; }
expect_executable() { [ -x "$DEST$1" ] || fail "$1 is not an executable"; }
expect_link() { [ "$(readlink "$DEST$1")" = "$2" ] || fail "$1 does not point to $2"; }

"$SOURCE/deploy/install.sh" --root "$DEST" --bin-dir "$BIN" --content "$CONTENT"

expect_executable /opt/vantor/bin/vantor
expect_executable /opt/vantor/bin/credit-service
expect_executable /opt/vantor/bin/vantor-session
expect_executable /usr/local/bin/vantor-credit
expect_file /etc/systemd/system/vantor-credit.service
expect_file /etc/systemd/system/vantor-kiosk.service
expect_file /etc/sysusers.d/vantor.conf
expect_file /etc/tmpfiles.d/vantor.conf
[ "$(find "$DEST/opt/vantor/content/Questions/trueorfalse" -name 'Data*.pck' | wc -l)" -eq 48 ] ||
    fail "the content set does not hold 48 question packs"
expect_file /opt/vantor/content/Graphic_resource/Menu/OptionBackgroundBLank.BMP
# The game's record file and log live outside the content set.
expect_link /opt/vantor/content/data /var/lib/vantor/game/data
expect_link "/opt/vantor/content/~system" /var/lib/vantor/game/system
for dir in credit game/data game/system; do
    [ -d "$DEST/var/lib/vantor/$dir" ] || fail "/var/lib/vantor/$dir was not made"
done
# Every path the units and scripts name is installed.
for path in $(grep -h -o -E '/opt/vantor/[A-Za-z/_.-]+' "$DEST"/etc/systemd/system/vantor-*.service \
                "$DEST/opt/vantor/bin/vantor-session" "$DEST/usr/local/bin/vantor-credit" | sort -u); do
    case "$path" in /opt/vantor/content/*) continue ;; esac
    [ -e "$DEST$path" ] || fail "$path is named but not installed"
done

if command -v systemd-sysusers >/dev/null; then
    grep -q '^vantor:' "$DEST/etc/passwd" || fail "the kiosk user vantor was not created"
    grep -q '^vantor-credit:' "$DEST/etc/passwd" || fail "the credit service's user was not created"
    kiosk_uid=$(awk -F: '$1 == "vantor" { print $3 }' "$DEST/etc/passwd")
    credit_uid=$(awk -F: '$1 == "vantor-credit" { print $3 }' "$DEST/etc/passwd")
    [ "$(stat -c %u "$DEST/var/lib/vantor/game/data")" = "$kiosk_uid" ] ||
        fail "the game's data directory does not belong to vantor"
    [ "$(stat -c %u "$DEST/var/lib/vantor/credit")" = "$credit_uid" ] ||
        fail "the ledger directory does not belong to vantor-credit"
fi
if command -v systemctl >/dev/null; then
    for unit in vantor-credit.service vantor-kiosk.service; do
        [ -L "$DEST/etc/systemd/system/multi-user.target.wants/$unit" ] || fail "$unit is not enabled"
    done
fi

# A second run: the record file, the log and the ledger are kept; the content set is replaced.
echo "record" > "$DEST/var/lib/vantor/game/data/brasswick.rec"
echo "ledger" > "$DEST/var/lib/vantor/credit/credit.db"
touch "$DEST/opt/vantor/content/stale-file"
"$SOURCE/deploy/install.sh" --root "$DEST" --bin-dir "$BIN" --content "$CONTENT"
[ "$(cat "$DEST/var/lib/vantor/game/data/brasswick.rec")" = "record" ] || fail "the record file was lost"
[ "$(cat "$DEST/var/lib/vantor/credit/credit.db")" = "ledger" ] || fail "the ledger was lost"
[ ! -e "$DEST/opt/vantor/content/stale-file" ] || fail "the old content set was not replaced whole"
[ ! -e "$DEST/opt/vantor/content.new" ] && [ ! -e "$DEST/opt/vantor/content.old" ] ||
    fail "staging directories were left behind"

# An incomplete content set is refused and the installed one stays.
mkdir -p "$SCRATCH/broken/Graphic_resource"
if "$SOURCE/deploy/install.sh" --root "$DEST" --bin-dir "$BIN" --content "$SCRATCH/broken" 2>/dev/null; then
    fail "a content set without question packs was installed"
fi
expect_file /opt/vantor/content/Questions/trueorfalse/Data48.pck

# systemd-analyze accepts the units as installed. It checks them against this machine, where
# the programs sit in the scratch root (checked above) and X may be missing: complaints that a
# command is not executable are the only ones expected.
if command -v systemd-analyze >/dev/null; then
    output=$(cd "$SCRATCH" && systemd-analyze verify \
        "$DEST/etc/systemd/system/vantor-credit.service" "$DEST/etc/systemd/system/vantor-kiosk.service" 2>&1 || true)
    unexpected=$(printf '%s\n' "$output" |
        grep -v -E '^$|Command (/opt/vantor/bin/[a-z-]+|/usr/bin/xinit) is not executable' || true)
    [ -z "$unexpected" ] || fail "systemd-analyze verify: $unexpected"
fi

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
echo "install into a scratch root: all checks passed"
