#!/usr/bin/env bash
# Installs what is missing, builds the program alone, and starts Brenvo.
set -euo pipefail
cd "$(dirname "$0")/.."
# Said first: without a desktop nothing below would help.
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "brenvo: needs a graphical desktop session; run this from a terminal on your desktop (GNOME, KDE, Xfce, ...), where DISPLAY or WAYLAND_DISPLAY is set" >&2
    exit 1
fi
bash scripts/setup.sh --program
exec build/brenvo "$@"
