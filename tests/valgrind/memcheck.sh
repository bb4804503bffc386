#!/usr/bin/env bash
# One whole run of the real brenvo under valgrind's memcheck, driven by keyboard on the
# desktop layer's desktop: start, twenty answers, the verdict, OK, Exit, and the exit
# screen's Exit, each step waiting for the one before. Any error report fails it; the
# suppressions beside this script cover only reports from libraries below the
# program, each with its reason.
set -uo pipefail
BRENVO=$(realpath "${1:-build/brenvo}")
here=$(cd "$(dirname "$0")" && pwd)
log=$(mktemp --tmpdir brenvo-memcheck.XXXXXX)
trap 'rm -f "$log"' EXIT

BRENVO_TIMEOUT=300 LC_ALL=C.UTF-8 \
    BRENVO_UNDER="valgrind --tool=memcheck --error-exitcode=99 --suppressions=$here/qt.supp --gen-suppressions=all --log-file=$log" \
    /usr/bin/python3 "$here/../e2e/desktop/tst_desktop.py" "$BRENVO" whole_test_by_keyboard
status=$?
if [[ $status -ne 0 ]] || ! grep -q "ERROR SUMMARY: 0 errors" "$log"; then
    cp "$log" "${MEMCHECK_LOG:-/tmp/brenvo-memcheck.log}"
    grep -A40 -m3 -E "^==[0-9]+== (Invalid|Conditional|Use of|Syscall|Mismatched|Source and)" "$log"
    echo "FAIL: memcheck reported errors, or the run failed (status $status); the log: ${MEMCHECK_LOG:-/tmp/brenvo-memcheck.log}"
    exit 1
fi
grep "ERROR SUMMARY" "$log"
echo "1 passed, 0 failed"
