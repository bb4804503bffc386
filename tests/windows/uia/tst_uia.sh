#!/usr/bin/env bash
# What a Windows screen reader is given by brenvo.exe, read through UI Automation (see
# tst_uia.py) on a virtual screen with openbox. UI Automation under Wine needs Wine 10:
# the system's own where it has it (Debian 13), else the Wine of a Debian 13 root
# (scripts/debian-root.sh; needs root), which runs the journey on the X server and
# window manager started here.
#   usage: tests/windows/uia/tst_uia.sh build-windows/brenvo.exe build-windows/uia_probe.exe
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../xvfb_lib.sh"
exe=$(realpath "$1")
probe=$(realpath "$2")
start_x
openbox --sm-disable >/dev/null 2>&1 &
openbox_pid=$!
trap 'kill "$openbox_pid" 2>/dev/null; stop_x' EXIT

wine_major=$(wine --version 2>/dev/null | sed -n 's/^wine-\([0-9]*\).*/\1/p')
if [[ ${wine_major:-0} -ge 10 ]]; then
    python3 "$here/tst_uia.py" "$exe" "$probe"
    exit
fi

cd "$here/../../.." || exit 1
source scripts/debian-root.sh
root=$(mktemp -d /var/tmp/brenvo-uia.XXXXXX)
trap 'kill "$openbox_pid" 2>/dev/null; stop_x; debian_remove "$root"' EXIT
# Wine, the journey's Python and its keys, and the fonts the windows are drawn with.
debian_root trixie "$root" wine wine64 python3 xdotool x11-utils fonts-dejavu-core fonts-liberation ||
    fail "no Debian 13 root"
mkdir -p "$root/src" "$root/brenvo" "$root/probe"
# The sources read-only, the two programs' folders, and the X server's socket; the
# mounts and whatever Wine leaves running end with the namespace.
unshare --mount --pid --fork --kill-child --propagation private bash -euc '
    root=$1
    mount -t proc proc "$root/proc"
    mount --rbind /dev "$root/dev"
    mount -t tmpfs -o mode=1777 tmpfs "$root/tmp"
    mkdir -p "$root/tmp/.X11-unix"
    mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
    mount --bind -o ro "$PWD" "$root/src"
    mount --bind "$(dirname "$2")" "$root/brenvo"
    mount --bind "$(dirname "$3")" "$root/probe"
    exec chroot "$root" env -i PATH=/usr/bin:/bin:/usr/sbin:/sbin HOME=/root LANG=C.UTF-8 \
        DISPLAY="$DISPLAY" BRENVO_TIMEOUT="${BRENVO_TIMEOUT:-60}" \
        python3 /src/tests/windows/uia/tst_uia.py "/brenvo/${2##*/}" "/probe/${3##*/}"
' _ "$root" "$exe" "$probe"
