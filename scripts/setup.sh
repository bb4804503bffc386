#!/usr/bin/env bash
# Installs what building Brenvo needs (and, with --tests, what its tests need; after
# --extra, the packages named), then
# configures and builds it (with --program, the program alone; with --no-build,
# nothing). Quick when nothing is missing or changed. With --list, it only prints the
# packages it would need, one a line, and changes nothing.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ qt6-base-dev libgl-dev qt6-qpa-plugins fonts-dejavu-core fonts-liberation2 dpkg-dev)
for arg in "$@"; do
    case $arg in
    --tests)
        packages+=(xvfb xauth xdotool desktop-file-utils appstream valgrind)
        # A window manager's late focus reports, as the platform plug-in hands them to Qt.
        packages+=(qt6-base-private-dev)
        # The desktop layer: a window manager, the accessibility bus and a screen
        # reader's library, title bars and pixels read back.
        packages+=(openbox at-spi2-core python3-pyatspi dbus-daemon dbus-bin x11-utils imagemagick xsel)
        # What a blind user hears: the screen reader and its speech service.
        packages+=(orca speech-dispatcher)
        # Wayland sessions: a headless compositor with Xwayland, and Qt on Wayland alone.
        packages+=(weston xwayland qt6-wayland)
        # The package: Debian's checks and the manual page reader.
        packages+=(lintian man-db groff-base)
        # The format and shell checks read the tracked files from git.
        packages+=(clang-format shellcheck git)
        ;;
    --fuzz) packages+=(clang libclang-rt-14-dev) ;;
    --no-build) no_build=1 ;;
    --program) program_only=1 ;;
    --extra) extra=1 ;;
    --list) list=1 ;;
    *) [[ -z ${extra:-} ]] || packages+=("$arg") ;;
    esac
done

if [[ -n ${list:-} ]]; then
    printf '%s\n' "${packages[@]}"
    exit 0
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
# One line for every 25 packages set up, so that a first install of some minutes shows
# that it goes on.
progress() {
    local n=0 line
    while IFS= read -r line; do
        [[ $line == "Setting up "* ]] || continue
        n=$((n + 1))
        ((n % 25)) || echo "  $n packages set up"
    done
}

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]} (with what they need; some minutes the first time)"
    sudo=()
    [[ $(id -u) -eq 0 ]] || sudo=(sudo)
    # apt's and debconf's own output goes to a log, shown only when something fails.
    log=$(mktemp)
    if ! { "${sudo[@]}" apt-get update -qq &&
        "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive DEBCONF_NOWARNINGS=yes \
            apt-get install -y -qq --no-install-recommends "${missing[@]}"; } 2>&1 | tee "$log" | progress; then
        cat "$log" >&2
        rm -f "$log"
        echo "setup: could not install ${missing[*]}" >&2
        exit 1
    fi
    rm -f "$log"
fi

[[ -z ${no_build:-} ]] || exit 0
if [[ ! -f build/CMakeCache.txt ]]; then
    cmake --preset default >/dev/null
fi
if [[ -n ${program_only:-} ]]; then
    cmake --build --preset default --target brenvo
else
    cmake --build --preset default
fi
