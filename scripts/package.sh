#!/usr/bin/env bash
# Builds the Debian package as Debian builds its own: Debian's hardening flags (PIE,
# RELRO and BINDNOW, FORTIFY_SOURCE, stack protector) and stripped as dh_strip strips,
# in build-deb/, reproducibly (see release_time in scripts/configure.sh); prints the
# path of the .deb. Installs what is missing first.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --no-build
source scripts/configure.sh
release_time
# Debian's flags reach CMake at the folder's first configure.
(source scripts/debian-flags.sh && configure_build build-deb deb)
cmake --build --preset deb >&2
(cd build-deb && cpack >/dev/null)
ls "$PWD"/build-deb/brenvo_*.deb
