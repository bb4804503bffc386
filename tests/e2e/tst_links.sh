#!/usr/bin/env bash
# Every link of every window of the real program, clicked or chosen from its menu,
# reaches the browser with the right page; then the program ends with status 0.
set -uo pipefail
BRENVO=$1
source "$(dirname "$0")/../xvfb_lib.sh"
start_x
stand_in_browser
page="https://www.talvern.example/brenvo/ssd.php?page="
count=0
expect() { # expect KEY...: the next addresses handed to the browser
    local key
    for key in "$@"; do
        count=$((count + 1))
        wait_opened "$count" || fail "nothing opened for $key"
        got=$(sed -n "${count}p" "$WORK/browser.log")
        [[ $got == "$page$key" ]] || fail "expected $page$key, got $got"
    done
}

"$BRENVO" & pid=$!
details=$(wait_window "Brenvo v1.15") || fail "no details window"
m=$(menu_height "$details" 338)
keys_to "$details" alt+h o; expect help-web-page
keys_to "$details" alt+h v; expect home-page
keys_to "$details" alt+h u; expect download-web-page
keys_to "$details" alt+d; expect donate
click_at "$details" 188 $((m + 27)); expect home-page
click_at "$details" 188 $((m + 300))
wait_opened $((count + 1)) || fail "the banner opened nothing"
banner=$(sed -n "$((count + 1))p" "$WORK/browser.log")
[[ $banner == "${page}co-brand" || $banner == "${page}fully-branded" ]] || fail "banner opened $banner"
count=$((count + 1))
echo "PASS: details window links"

keys_to "$details" alt+h a
about=$(wait_window "Brenvo v1.20") || fail "no about window"
click_at "$about" 300 214; expect fully-branded
click_at "$about" 150 134; expect home-page
keys_to "$about" Escape
sleep 0.3
[[ -z $(windows_named "Brenvo v1.20") ]] || fail "Esc left the about window open"
echo "PASS: about window links"

keys_to "$details" a n n
click_at "$details" 136 $((m + 191))
keys_to "$details" Return
test=$(wait_window "Brenvo v1.20") || fail "no test window"
t=$(menu_height "$test" 449)
keys_to "$test" alt+h o; expect help-web-page
keys_to "$test" alt+h v; expect home-page
keys_to "$test" alt+h c; expect download-web-page
keys_to "$test" alt+d; expect donate
click_at "$test" 284 $((t + 27)); expect home-page
click_at "$test" 211 $((t + 423)); expect fully-branded
# First options throughout: nine answers match the key, so the left list comes forward.
for _ in $(seq 20); do
    click_at "$test" 80 $((t + 212))
    keys_to "$test" Return
done
click_at "$test" 286 $((t + 222)); expect co-brand
echo "PASS: test window links"

keys_to "$test" alt+o
wait_window "Brenvo v1.15" >/dev/null || fail "OK did not return to the details window"
keys_to "$details" alt+e
exitscreen=$(wait_window "Brenvo v1.20") || fail "no exit screen"
click_at "$exitscreen" 241 154; expect home-page
click_at "$exitscreen" 593 298; expect talvernsoftwares
click_at "$exitscreen" 64 249; xdotool type --delay 20 "Ann Lee"
click_at "$exitscreen" 298 249; xdotool type --delay 20 "ann@example.org"
click_at "$exitscreen" 64 273; xdotool type --delay 20 "Bob"
click_at "$exitscreen" 298 273; xdotool type --delay 20 "bob@example.org"
click_at "$exitscreen" 236 297
count=$((count + 1))
wait_opened "$count" || fail "the referral opened nothing"
got=$(sed -n "${count}p" "$WORK/browser.log")
want="${page}kesp-refer-a-friend&taf1=Ann%20Lee&taf2=ann%40example.org&taf3=Your%20Message%0D%0A&taf4=Bob&taf5=bob%40example.org&taf6=https%3A%2F%2Fwww.talvern.example%2Fbrenvo%2F"
[[ $got == "$want" ]] || fail "referral address: $got"
echo "PASS: exit screen links and referral"

keys_to "$exitscreen" alt+x
wait_gone "$pid" 20 || fail "the program did not end"
wait "$pid"; status=$?
[[ $status -eq 0 ]] || fail "ended with status $status"
echo "PASS: ends with status 0"
echo "5 passed, 0 failed"
