#!/usr/bin/env bash
# Installs what building Brenvo needs (and, with --tests, what its tests need; after
# --extra, the packages named), then
# configures and builds it (with --program, the program alone; with --no-build,
# nothing). Quick when nothing is missing or changed. With --list, it only prints the
# packages it would need, one a line, and changes nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
fail() {
    echo "setup: $*" >&2
    exit 1
}

# Liberation 2 is fonts-liberation2 on Debian 12; from Debian 13 on that is a transitional
# package and fonts-liberation holds it.
liberation=fonts-liberation
[[ $(. /etc/os-release && echo "${ID:-}-${VERSION_ID:-}") != debian-12 ]] || liberation=fonts-liberation2
packages=(cmake ninja-build g++ qt6-base-dev libgl-dev qt6-qpa-plugins fonts-dejavu-core "$liberation" dpkg-dev)
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
source scripts/apt.sh
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]} (with what they need; some minutes the first time)"
    apt_install "${missing[@]}" ||
        fail "could not install ${missing[*]} (apt's words above); once that is mended, run the same command again"
fi

[[ -z ${no_build:-} ]] || exit 0
# The program alone needs none of the tests' packages; the tests need the build
# configured with them.
source scripts/configure.sh
testing=ON
[[ -z ${program_only:-} ]] || testing=OFF
reconfigure=
[[ $testing == OFF ]] || grep -qsx 'BUILD_TESTING:BOOL=ON' build/CMakeCache.txt || reconfigure=1
BRENVO_RECONFIGURE=$reconfigure configure_build build default -DBUILD_TESTING=$testing || exit 1
if [[ -n ${program_only:-} ]]; then
    cmake --build --preset default --target brenvo || fail "building Brenvo failed (the compiler's words above)"
else
    cmake --build --preset default || fail "building Brenvo and its tests failed (the compiler's words above)"
fi
