#!/usr/bin/env bash
# Builds the .deb as Debian builds its packages, installs it with apt-get on this
# machine, starts the installed brenvo on a virtual screen until its details window is
# up, and removes it again. Needs root (or sudo).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --tests --no-build >/dev/null
deb=$(bash scripts/package.sh 2>/dev/null)
# Debian's own checks, the informational and pedantic ones included: any tag fails.
tags=$(lintian -I --pedantic "$deb" 2> >(grep -v "running with root privileges" >&2)) ||
    { echo "FAIL: lintian: $tags" >&2; exit 1; }
[[ -z $tags ]] || { echo "FAIL: lintian -I --pedantic: $tags" >&2; exit 1; }
echo "PASS: lintian -I --pedantic finds nothing in $deb"
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
# Only a brenvo this check installed is removed again.
remove_package() { :; }
if ! dpkg-query -W -f='${Status}' brenvo 2>/dev/null | grep -q "install ok installed"; then
    remove_package() { DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get purge -y -qq brenvo >/dev/null 2>&1; }
    trap remove_package EXIT
fi
DEBIAN_FRONTEND=noninteractive DEBCONF_NOWARNINGS=yes "${sudo[@]}" apt-get install -y -qq "$deb" >/dev/null
[[ -x /usr/bin/brenvo ]] || { echo "FAIL: /usr/bin/brenvo not installed" >&2; exit 1; }
[[ -f /usr/share/applications/brenvo.desktop ]] || { echo "FAIL: no menu entry" >&2; exit 1; }
[[ $(man -w brenvo) == /usr/share/man/man1/brenvo.1.gz ]] || { echo "FAIL: man brenvo finds no page" >&2; exit 1; }
warnings=$(man --warnings -l /usr/share/man/man1/brenvo.1.gz 2>&1 >/dev/null)
[[ -z $warnings ]] || { echo "FAIL: man warns: $warnings" >&2; exit 1; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-deb/CMakeCache.txt)
[[ $(env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/brenvo --version) == "Brenvo $version" ]] ||
    { echo "FAIL: brenvo --version" >&2; exit 1; }

source tests/xvfb_lib.sh
start_x
trap 'stop_x; remove_package' EXIT
/usr/bin/brenvo &
pid=$!
wait_window "Brenvo v1.15" 20 >/dev/null || fail "the installed brenvo showed no window"
kill "$pid"
echo "PASS: $deb installs and the installed brenvo starts"
