#!/usr/bin/env bash
# Installs what is missing, builds, and starts Brenvo.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "brenvo: no display to show its windows on; start it from a desktop session, or on a virtual one (apt-get install xvfb): xvfb-run -a build/brenvo" >&2
    exit 1
fi
exec build/brenvo
