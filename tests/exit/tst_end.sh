#!/usr/bin/env bash
# The real program from first start to end: it stores today's date, its exit screen
# comes up when the details window closes, and closing that ends the process at once.
set -uo pipefail
BRENVO=$1
source "$(dirname "$0")/../xvfb_lib.sh"
start_x
passed=0

"$BRENVO" & pid=$!
details=$(wait_window "Brenvo v1.15") || fail "no details window"
conf=$XDG_CONFIG_HOME/brenvo/brenvo.conf
grep -qx "Duration=$(date +%F)" "$conf" || fail "first start did not store today's date: $(cat "$conf" 2>&1)"
grep -qx "\[Settings\]" "$conf" || fail "no [Settings] section"
echo "PASS: first start stores today's date"; ((passed++))

keys_to "$details" alt+e
exitscreen=$(wait_window "Brenvo v1.20") || fail "no exit screen after Exit"
sleep 0.3
[[ -z $(windows_named "Brenvo v1.15") ]] || fail "the details window stayed"
kill -0 "$pid" || fail "the program ended with the details window"
echo "PASS: Exit brings up the exit screen"; ((passed++))

keys_to "$exitscreen" alt+x
wait_gone "$pid" 10 || fail "the program did not end within a second of closing the exit screen"
wait "$pid"; status=$?
[[ $status -eq 0 ]] || fail "the program ended with status $status"
[[ -z $(xdotool search --name "Brenvo" 2>/dev/null) ]] || fail "a window was left behind"
echo "PASS: closing the exit screen ends the program with status 0"; ((passed++))

echo "$passed passed, 0 failed"
