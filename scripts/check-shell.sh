#!/usr/bin/env bash
# Runs shellcheck over every shell script of the project; a warning fails it.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t scripts < <(git ls-files '*.sh' .ci/run)
shellcheck -x -S warning "${scripts[@]}"
echo "PASS: ${#scripts[@]} shell scripts"
