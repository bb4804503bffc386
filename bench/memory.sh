#!/usr/bin/env bash
# Where Brenvo's peak memory goes beyond the bare Qt window: the resident KiB of each
# mapping (library, font file, heap) at the moment each window is first mapped, largest
# difference first. The companion of startup.sh when its memory ratio moves.
# usage: bench/memory.sh [rows] [build dir]    (build with the bench preset)
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
rows=${1:-20}
build=${2:-build-bench}
source bench/first_map.sh

snapshot() { # snapshot BINARY OUT
    start_until_mapped "$1"
    cp "/proc/$mapped_pid/smaps" "$2"
    stop_mapped
}
snapshot "$build/brenvo" "$WORK/brenvo.smaps"
snapshot "$build/bench/bench_bare" "$WORK/bare.smaps"
stop_xev
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
