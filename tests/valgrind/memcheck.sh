#!/usr/bin/env bash
# One whole run of the real brenvo under valgrind's memcheck, driven by keyboard on a
# virtual X server: start, twenty answers, the verdict, OK, Exit, and the exit
# screen's Exit. Any error report fails it; the suppressions beside this script cover
# only reports from libraries below the program, each with its reason.
set -uo pipefail
BRENVO=${1:-build/brenvo}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../xvfb_lib.sh"
start_x
log=$WORK/memcheck.log

valgrind --tool=memcheck --error-exitcode=99 --suppressions="$here/qt.supp" \
    --gen-suppressions=all --log-file="$log" "$BRENVO" &
pid=$!
details=$(wait_window "Brenvo v1.15" 180) || { cat "$log"; fail "no details window under valgrind"; }
sleep 2
keys_to "$details" a n n Tab Tab Tab space
sleep 1
keys_to "$details" Return
test=$(wait_window "Brenvo v1.20" 120) || { cat "$log"; fail "no test window under valgrind"; }
sleep 2
for _ in $(seq 20); do xdotool key --clearmodifiers space Return; sleep 0.6; done
sleep 2
keys_to "$test" alt+o
sleep 3
details=$(wait_window "Brenvo v1.15" 120) || fail "no details window after OK"
keys_to "$details" alt+e
exitscreen=$(wait_window "Brenvo v1.20" 120) || fail "no exit screen under valgrind"
sleep 3
keys_to "$exitscreen" alt+x
wait_gone "$pid" 600 || fail "the program did not end under valgrind"
wait "$pid"
status=$?
if [[ $status -ne 0 ]] || grep -q "ERROR SUMMARY: [1-9]" "$log"; then
    cp "$log" "${MEMCHECK_LOG:-/tmp/brenvo-memcheck.log}"
    grep -A40 -m3 -E "^==[0-9]+== (Invalid|Conditional|Use of|Syscall|Mismatched|Source and)" "$log"
    fail "memcheck reported errors (status $status)"
fi
grep "ERROR SUMMARY" "$log"
echo "1 passed, 0 failed"
