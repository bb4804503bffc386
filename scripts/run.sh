#!/usr/bin/env bash
# Installs what is missing, builds the program alone, and starts Brenvo.
set -euo pipefail
cd "$(dirname "$0")/.."

# Whether the display named in the environment answers, with the shell alone (nothing is
# installed yet): a Wayland socket, an X server's local socket, or its TCP port (ssh -X).
display_answers() {
    if [[ -n ${WAYLAND_DISPLAY:-} ]]; then
        local socket=$WAYLAND_DISPLAY
        [[ $socket == /* ]] || socket=${XDG_RUNTIME_DIR:-/nonexistent}/$socket
        [[ -S $socket ]] && return 0
    fi
    [[ -n ${DISPLAY:-} ]] || return 1
    local name=${DISPLAY%.*} host number
    host=${name%:*}
    number=${name##*:}
    [[ $number =~ ^[0-9]+$ ]] || return 1
    if [[ -z $host || $host == unix ]]; then
        [[ -S /tmp/.X11-unix/X$number ]]
    else
        timeout 3 bash -c 'exec 3<>"/dev/tcp/$1/$2"' _ "$host" $((6000 + number)) 2>/dev/null
    fi
}

# Said first: without a desktop nothing below would help.
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "brenvo: needs a graphical desktop session; run this from a terminal on your desktop (GNOME, KDE, Xfce, ...), where DISPLAY or WAYLAND_DISPLAY is set" >&2
    exit 1
fi
if ! display_answers; then
    echo "brenvo: needs a graphical desktop session; no display answers at ${WAYLAND_DISPLAY:+WAYLAND_DISPLAY=$WAYLAND_DISPLAY }${DISPLAY:+DISPLAY=$DISPLAY}" >&2
    exit 1
fi
bash scripts/setup.sh --program
exec build/brenvo "$@"
