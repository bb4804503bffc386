#!/usr/bin/env bash
# Fails when a C++ file is not formatted as .clang-format says; fix with
#   git ls-files '*.cpp' '*.h' | xargs clang-format -i
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
echo "PASS: every C++ file formatted"
