#!/usr/bin/env bash
# One copy per user: a second start shows only its box and ends; a killed copy does
# not block the next start; of twenty simultaneous starts exactly one runs.
set -uo pipefail
BRENVO=$1
source "$(dirname "$0")/../xvfb_lib.sh"
start_x
passed=0

# No runtime folder named: Qt is lent Brenvo's private cache folder while it starts,
# so nothing is made in the temporary folder and nothing is said about it.
mkdir "$WORK/tmp"
(unset XDG_RUNTIME_DIR && TMPDIR=$WORK/tmp exec "$BRENVO" 2>"$WORK/err") & first=$!
wait_window "Brenvo v1.15" >/dev/null || fail "a start without XDG_RUNTIME_DIR showed no details window"
[[ -z $(ls -A "$WORK/tmp") ]] || fail "a start without XDG_RUNTIME_DIR made $(ls -A "$WORK/tmp")"
! grep -q XDG_RUNTIME_DIR "$WORK/err" || fail "a start without XDG_RUNTIME_DIR said: $(cat "$WORK/err")"
kill -9 "$first"; wait "$first" 2>/dev/null
for _ in $(seq 100); do [[ -z $(windows_named "Brenvo v1.15") ]] && break; sleep 0.1; done
echo "PASS: no runtime folder made"; ((passed++))

"$BRENVO" & first=$!
details=$(wait_window "Brenvo v1.15") || fail "the first copy showed no details window"

"$BRENVO" & second=$!
box=$(wait_window "Brenvo") || fail "the second copy showed no message box"
sleep 0.5
[[ $(windows_named "Brenvo v1.15" | wc -l) -eq 1 ]] || fail "the second copy showed a details window"
keys_to "$box" Return
wait_gone "$second" 50 || fail "the second copy did not end after OK"
wait "$second"; status=$?
[[ $status -eq 0 ]] || fail "the second copy ended with status $status"
kill -0 "$first" || fail "the first copy is gone"
[[ $(windows_named "Brenvo v1.15") == "$details" ]] || fail "the first copy's window changed"
echo "PASS: second copy refused, first untouched"; ((passed++))

kill -9 "$first"; wait "$first" 2>/dev/null
for _ in $(seq 100); do [[ -z $(windows_named "Brenvo v1.15") ]] && break; sleep 0.1; done
"$BRENVO" & third=$!
wait_window "Brenvo v1.15" 20 >/dev/null || fail "a start after kill -9 showed no window$([[ -n $(windows_named Brenvo) ]] && echo ', only the refusal')"
[[ -z $(windows_named "Brenvo") ]] || fail "a start after kill -9 showed the refusal"
echo "PASS: start after kill -9 runs"; ((passed++))
kill -9 "$third"
wait "$third" 2>/dev/null

pids=()
for _ in $(seq 20); do "$BRENVO" & pids+=($!); done
wait_window "Brenvo v1.15" 60 >/dev/null || fail "none of twenty starts showed its window"
deadline=$((SECONDS + 60))
while ((SECONDS < deadline)) && [[ $(windows_named "Brenvo" | wc -l) -lt 19 ]]; do sleep 0.2; done
[[ $(windows_named "Brenvo v1.15" | wc -l) -eq 1 ]] || fail "more than one of twenty starts runs"
[[ $(windows_named "Brenvo" | wc -l) -eq 19 ]] || fail "not every other start was refused"
echo "PASS: twenty starts, one runs"; ((passed++))
kill -9 "${pids[@]}" 2>/dev/null
wait "${pids[@]}" 2>/dev/null

echo "$passed passed, 0 failed"
