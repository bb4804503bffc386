#!/usr/bin/env bash
# Start-up of the real brenvo against a bare Qt main window of the same size and menu
# bar, on a virtual X server: time from exec until the window is on screen, and peak
# memory (VmHWM) at that moment. Alternates A B A B; prints medians and ratios.
# usage: bench/startup.sh [rounds] [build dir]    (build with -DBRENVO_BENCH=ON)
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
rounds=${1:-20}
build=${2:-build-bench}
source bench/first_map.sh

measure() { # measure BINARY -> "microseconds kib"
    local t0 t1 hwm
    t0=$(date +%s%N)
    start_until_mapped "$1"
    t1=$(date +%s%N)
    hwm=$(awk '/VmHWM/ {print $2}' "/proc/$mapped_pid/status")
    stop_mapped
    echo "$(((t1 - t0) / 1000)) $hwm"
}

: >"$WORK/a"; : >"$WORK/b"
for _ in $(seq "$rounds"); do
    measure "$build/brenvo" >>"$WORK/a"
    measure "$build/bench/bench_bare" >>"$WORK/b"
done
stop_xev
med() { sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
a_t=$(cut -d' ' -f1 "$WORK/a" | med); b_t=$(cut -d' ' -f1 "$WORK/b" | med)
a_m=$(cut -d' ' -f2 "$WORK/a" | med); b_m=$(cut -d' ' -f2 "$WORK/b" | med)
echo "start-up to window on screen, median of $rounds: brenvo $((a_t / 1000)).$(((a_t % 1000) / 100)) ms, bare $((b_t / 1000)).$(((b_t % 1000) / 100)) ms, ratio $(awk "BEGIN {printf \"%.2f\", $a_t / $b_t}")"
echo "peak memory, median of $rounds: brenvo $a_m KiB, bare $b_m KiB, ratio $(awk "BEGIN {printf \"%.2f\", $a_m / $b_m}")"
