#!/usr/bin/env bash
# Where Brenvo's peak memory goes beyond the bare Qt window: the resident KiB of each
# mapping (library, font file, heap) at the moment each window is first mapped, largest
# difference first. The companion of startup.sh when its memory ratio moves.
# usage: bench/memory.sh [rows] [build dir]    (build with the bench preset)
set -uo pipefail
cd "$(dirname "$0")/.."
rows=${1:-20}
build=${2:-build-bench}
source tests/xvfb_lib.sh
start_x
mkdir -p "$XDG_CONFIG_HOME/brenvo"
printf '[Settings]\nDuration=%s\n' "$(date +%F)" >"$XDG_CONFIG_HOME/brenvo/brenvo.conf"
coproc XEV { exec xev -root -event substructure; }
sleep 0.5 # xev selects its events before the first program starts

snapshot() { # snapshot BINARY OUT
    local pid line
    "$1" &
    pid=$!
    while read -r line <&"${XEV[0]}"; do
        [[ $line == MapNotify* ]] && break
    done
    cp "/proc/$pid/smaps" "$2"
    kill -9 "$pid"
    wait "$pid" 2>/dev/null
}
snapshot "$build/brenvo" "$WORK/brenvo.smaps"
snapshot "$build/bench/bench_bare" "$WORK/bare.smaps"
kill "$XEV_PID" 2>/dev/null
wait "$XEV_PID" 2>/dev/null
python3 - "$WORK/brenvo.smaps" "$WORK/bare.smaps" "$rows" <<'PY'
import collections, os, re, sys
def resident(path):
    kib, name = collections.Counter(), None
    for line in open(path):
        m = re.match(r'^[0-9a-f]+-[0-9a-f]+ (\S+) \S+ \S+ \S+\s*(.*)$', line)
        if m:
            name = f"{os.path.basename(m.group(2)) or '[anon]'} {m.group(1)}"
        elif line.startswith('Rss:'):
            kib[name] += int(line.split()[1])
    return kib
a, b = resident(sys.argv[1]), resident(sys.argv[2])
print(f"resident KiB: brenvo {sum(a.values())}, bare {sum(b.values())}")
print(f"{'more':>6} {'brenvo':>7} {'bare':>7}  mapping")
for k in sorted(set(a) | set(b), key=lambda k: b[k] - a[k])[: int(sys.argv[3])]:
    if a[k] != b[k]:
        print(f"{a[k] - b[k]:6d} {a[k]:7d} {b[k]:7d}  {k}")
PY
