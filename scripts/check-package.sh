#!/usr/bin/env bash
# Builds the .deb, installs it with apt-get on this machine, and starts the installed
# brenvo on a virtual screen until its details window is up. Needs root (or sudo).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --tests >/dev/null
(cd build && cpack >/dev/null)
deb=$(ls build/brenvo_*.deb)
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "./$deb" >/dev/null
[[ -x /usr/bin/brenvo ]] || { echo "FAIL: /usr/bin/brenvo not installed" >&2; exit 1; }
[[ -f /usr/share/applications/brenvo.desktop ]] || { echo "FAIL: no menu entry" >&2; exit 1; }

source tests/xvfb_lib.sh
start_x
/usr/bin/brenvo &
pid=$!
wait_window "Brenvo v1.15" 20 >/dev/null || fail "the installed brenvo showed no window"
kill "$pid"
echo "PASS: $deb installs and the installed brenvo starts"
