#!/usr/bin/env bash
# Instructions (callgrind, so the same count on every run) that brenvo and a bare Qt
# main window of the same size and menu bar each execute from exec until their window
# is first mapped, on a virtual X server; prints both and their ratio.
# usage: bench/instructions.sh [build dir]    (build with the bench preset)
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
build=${1:-build-bench}
source tests/xvfb_lib.sh
start_x
# A stored date of today: no update prompt, the usual start.
mkdir -p "$XDG_CONFIG_HOME/brenvo"
printf '[Settings]\nDuration=%s\n' "$(date +%F)" >"$XDG_CONFIG_HOME/brenvo/brenvo.conf"

count() { # count BINARY -> instructions up to the first xcb_map_window
    local out=$WORK/cg pid part
    rm -f "$out".*
    valgrind --tool=callgrind --dump-before=xcb_map_window --callgrind-out-file="$out.%p" "$1" \
        >/dev/null 2>&1 &
    pid=$!
    part="$out.$pid.1"
    until [[ -s $part ]] && grep -q '^totals:' "$part"; do
        kill -0 "$pid" 2>/dev/null || { echo "no window from $1" >&2; return 1; }
        sleep 0.2
    done
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    awk '/^totals:/ {print $2}' "$part"
}

a=$(count "$build/brenvo") || exit 1
b=$(count "$build/bench/bench_bare") || exit 1
echo "instructions to the first window: brenvo $a, bare $b, ratio $(awk "BEGIN {printf \"%.3f\", $a / $b}")"
