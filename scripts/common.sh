# shellcheck shell=bash
# Shared by the scripts: installs missing Debian packages and builds a preset. Sourced, not run.
# A script that stops on an error (set -e) says where: file, line and command.

set -o errtrace
trap 'echo "${0##*/}: stopped at ${BASH_SOURCE[0]##*/}:$LINENO on: $BASH_COMMAND (status $?)" >&2' ERR

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# apt-get for whatever changes the system, one call at a time: CI runs the host suites and the
# release matrix side by side, and both may install packages at once.
APT_GET=(flock /var/lock/bingo-caller-apt env DEBIAN_FRONTEND=noninteractive apt-get)

# ensure_packages SECTION...: installs what dpkg lacks of those sections of packages.txt.
ensure_packages() {
    local wanted missing=() pkg
    wanted=$(awk -v want=" $* " '
        /^\[.*\]$/ { section = substr($0, 2, length($0) - 2); next }
        { sub(/#.*/, "") }
        NF && index(want, " " section " ") { print $1 }' "$ROOT/scripts/packages.txt")
    for pkg in $wanted; do
        if [ "$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null)" != 'install ok installed' ]; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
            sudo=(sudo -n)
        else
            echo "Missing Debian packages: ${missing[*]}" >&2
            echo "Install them as root (apt-get install ${missing[*]}) or run this script as root." >&2
            exit 1
        fi
    fi
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" "${APT_GET[@]}" update -q
    "${sudo[@]}" "${APT_GET[@]}" install -y -q --no-install-recommends "${missing[@]}"
}

# build_preset NAME [TARGET]: configures (quick when nothing changed, and it picks up packages
# installed since), then builds TARGET or everything.
build_preset() {
    local preset=$1
    cd "$ROOT" || return
    cmake --preset "$preset" >/dev/null &&
        cmake --build --preset "$preset" ${2:+--target "$2"}
}
