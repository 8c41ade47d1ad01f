# Shared by run.sh and test.sh: say what is done, and install what is missing.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

say() { printf '==> %s\n' "$*"; }

# Installs the Debian packages of scripts/debian-packages.txt (and of the further lists named, such
# as debian-test-packages.txt) that are not installed yet: the package lists are updated once, and
# only when something is missing.
ensure_packages() {
    ensure_package_lists debian-packages.txt "$@"
}

# Installs what is missing of the named lists alone (a cabinet needs only its run-time packages).
ensure_package_lists() {
    local wanted missing=() list
    wanted=""
    for list in "$@"; do
        wanted+=" $(grep -v -E '^\s*(#|$)' "$ROOT/scripts/$list")"
    done
    for package in $wanted; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        say "all Debian packages present"
        return
    fi
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    say "installing missing packages: ${missing[*]}"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# Configures and builds one CMake preset.
build_preset() {
    local preset=$1
    say "configuring ($preset)"
    cmake --preset "$preset" -S "$ROOT" >/dev/null
    say "building ($preset)"
    cmake --build --preset "$preset" -j "$(nproc)"
}

# Nothing above the platform layer may know SDL: only src/platform/sdl/ includes its headers.
check_platform_boundary() {
    local offenders
    offenders=$(cd "$ROOT" && grep -rln -E '#\s*include\s*[<"]SDL' src tools tests bench 2>/dev/null \
        | grep -v '^src/platform/sdl/' || true)
    if [ -n "$offenders" ]; then
        echo "SDL headers included outside src/platform/sdl/:" >&2
        echo "$offenders" >&2
        return 1
    fi
    say "platform boundary respected (SDL only in src/platform/sdl/)"
}

# The layers of src/ only point down: platform, base, engines, rules, screens, app.
check_layers() {
    local figures
    figures=$(python3 "$ROOT/scripts/check-layers.py") || return 1
    say "layers respected: $figures"
}

# Every C++ file is laid out as .clang-format says.
check_format() {
    local unformatted
    unformatted=$(cd "$ROOT" && git ls-files '*.cpp' '*.h' | xargs clang-format-14 --dry-run 2>&1 \
        | sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: warning:.*/\1/p' | sort -u || true)
    if [ -n "$unformatted" ]; then
        echo "C++ files not laid out as .clang-format says (run clang-format-14 -i on them):" >&2
        echo "$unformatted" >&2
        return 1
    fi
    say "every C++ file laid out as .clang-format says"
}
