#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, with address and undefined-behaviour sanitizers)
# in build-fuzz/ and runs each for a bounded number of inputs from its committed corpus.
# RUNS sets the number of inputs per target (default 20000).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --fuzz --no-build
source scripts/configure.sh
configure_build build-fuzz fuzz
cmake --build --preset fuzz
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for target in namebox referral update_date settings_file; do
    mkdir -p "$work/$target"
    echo "fuzz_$target: ${RUNS:-20000} inputs"
    ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen \
        "build-fuzz/tests/fuzz/fuzz_$target" -runs="${RUNS:-20000}" -max_total_time=60 -seed=1 \
        -print_final_stats=0 "$work/$target" "tests/fuzz/corpus/$target" 2>"$work/$target.log" ||
        { tail -n 40 "$work/$target.log"; echo "FAIL: fuzz_$target"; exit 1; }
done
echo "4 passed, 0 failed"
