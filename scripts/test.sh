#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --tests
ctest --preset default || {
    echo "test: some tests failed (named above, with their output); ctest --preset default -R NAME runs one again" >&2
    exit 1
}
