#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer (leak checks
# on) in build-sanitize/ and runs the whole suite there; any report fails it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --tests --no-build
source scripts/configure.sh
configure_build build-sanitize sanitize
cmake --build --preset sanitize
ctest --preset sanitize
