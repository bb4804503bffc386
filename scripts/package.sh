#!/usr/bin/env bash
# Builds the Debian package as Debian builds its own: Debian's hardening flags (PIE,
# RELRO and BINDNOW, FORTIFY_SOURCE, stack protector) and stripped as dh_strip strips,
# in build-deb/; prints the path of the .deb. Installs what is missing first.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --no-build
if [[ ! -f build-deb/CMakeCache.txt ]]; then
    (source scripts/debian-flags.sh && cmake --preset deb >/dev/null)
fi
cmake --build --preset deb >&2
(cd build-deb && cpack >/dev/null)
ls "$PWD"/build-deb/brenvo_*.deb
