#!/usr/bin/env bash
# Start-up of the real brenvo against a bare Qt main window of the same size and menu
# bar, on a virtual X server: time from exec until the window is on screen, and peak
# memory (VmHWM) at that moment. Alternates A B A B; prints medians and ratios.
# usage: bench/startup.sh [rounds] [build dir]    (build with -DBRENVO_BENCH=ON)
set -uo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-20}
build=${2:-build-bench}
source tests/xvfb_lib.sh
start_x
# A stored date of today: no update prompt, the usual start.
mkdir -p "$XDG_CONFIG_HOME/brenvo"
printf '[Settings]\nDuration=%s\n' "$(date +%F)" >"$XDG_CONFIG_HOME/brenvo/brenvo.conf"

# The root window's map notifications, read as they come: a window counts as on screen
# when the X server maps it, with no polling in between.
coproc XEV { exec xev -root -event substructure; }
sleep 0.5 # xev selects its events before the first program starts

measure() { # measure BINARY -> "microseconds kib"
    local t0 t1 pid hwm line
    t0=$(date +%s%N)
    "$1" &
    pid=$!
    while read -r line <&"${XEV[0]}"; do
        [[ $line == MapNotify* ]] && break
    done
    t1=$(date +%s%N)
    hwm=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
    kill -9 "$pid"
    wait "$pid" 2>/dev/null
    echo "$(((t1 - t0) / 1000)) $hwm"
}

: >"$WORK/a"; : >"$WORK/b"
for _ in $(seq "$rounds"); do
    measure "$build/brenvo" >>"$WORK/a"
    measure "$build/bench/bench_bare" >>"$WORK/b"
done
kill "$XEV_PID" 2>/dev/null
wait "$XEV_PID" 2>/dev/null
med() { sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
a_t=$(cut -d' ' -f1 "$WORK/a" | med); b_t=$(cut -d' ' -f1 "$WORK/b" | med)
a_m=$(cut -d' ' -f2 "$WORK/a" | med); b_m=$(cut -d' ' -f2 "$WORK/b" | med)
echo "start-up to window on screen, median of $rounds: brenvo $((a_t / 1000)).$(((a_t % 1000) / 100)) ms, bare $((b_t / 1000)).$(((b_t % 1000) / 100)) ms, ratio $(awk "BEGIN {printf \"%.2f\", $a_t / $b_t}")"
echo "peak memory, median of $rounds: brenvo $a_m KiB, bare $b_m KiB, ratio $(awk "BEGIN {printf \"%.2f\", $a_m / $b_m}")"
