#!/usr/bin/env bash
# Builds the .deb, installs it with apt-get on this machine, and starts the installed
# brenvo on a virtual screen until its details window is up. Needs root (or sudo).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --tests >/dev/null
(cd build && cpack >/dev/null)
deb=$(ls build/brenvo_*.deb)
# Debian's own checks: any error or warning fails.
lintian --fail-on error,warning "$deb" 2> >(grep -v "running with root privileges" >&2) ||
    { echo "FAIL: lintian" >&2; exit 1; }
echo "PASS: lintian accepts $deb"
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "./$deb" >/dev/null
[[ -x /usr/bin/brenvo ]] || { echo "FAIL: /usr/bin/brenvo not installed" >&2; exit 1; }
[[ -f /usr/share/applications/brenvo.desktop ]] || { echo "FAIL: no menu entry" >&2; exit 1; }
[[ $(man -w brenvo) == /usr/share/man/man1/brenvo.1.gz ]] || { echo "FAIL: man brenvo finds no page" >&2; exit 1; }
warnings=$(man --warnings -l /usr/share/man/man1/brenvo.1.gz 2>&1 >/dev/null)
[[ -z $warnings ]] || { echo "FAIL: man warns: $warnings" >&2; exit 1; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/CMakeCache.txt)
[[ $(env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/brenvo --version) == "Brenvo $version" ]] ||
    { echo "FAIL: brenvo --version" >&2; exit 1; }

source tests/xvfb_lib.sh
start_x
/usr/bin/brenvo &
pid=$!
wait_window "Brenvo v1.15" 20 >/dev/null || fail "the installed brenvo showed no window"
kill "$pid"
echo "PASS: $deb installs and the installed brenvo starts"
