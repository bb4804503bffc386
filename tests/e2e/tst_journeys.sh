#!/usr/bin/env bash
# The real program on the paths users and machines take: a whole test by keyboard
# alone, the update prompt on the fifteenth day and not the fourteenth, no browser
# at all, and a settings store that is unusable.
set -uo pipefail
BRENVO=$1
source "$(dirname "$0")/../xvfb_lib.sh"
start_x
conf=$XDG_CONFIG_HOME/brenvo/brenvo.conf
fresh_settings() { rm -rf "$XDG_CONFIG_HOME/brenvo"; mkdir -p "$XDG_CONFIG_HOME/brenvo"; }
end_program() { # end_program PID WINDOW: Exit, then the exit screen's Exit
    keys_to "$2" alt+e
    local x
    x=$(wait_window "Brenvo v1.20") || fail "no exit screen"
    keys_to "$x" alt+x
    wait_gone "$1" 30 || fail "the program did not end"
    wait "$1" || fail "the program ended with status $?"
}

# A whole test by keyboard alone: name, sex by Tab and Space, every answer by Space
# and Enter, then OK by its access key.
"$BRENVO" & pid=$!
details=$(wait_window "Brenvo v1.15") || fail "no details window"
keys_to "$details" a n n Tab Tab Tab space Return
test=$(wait_window "Brenvo v1.20") || fail "the keyboard did not start the test"
for _ in $(seq 20); do xdotool key --clearmodifiers space Return; sleep 0.05; done
sleep 0.3
keys_to "$test" alt+o
for _ in $(seq 30); do [[ -z $(windows_named "Brenvo v1.20") ]] && break; sleep 0.1; done
[[ -z $(windows_named "Brenvo v1.20") ]] || fail "OK was out of reach: the result never came up"
[[ -n $(windows_named "Brenvo v1.15") ]] || fail "the details window did not come back"
end_program "$pid" "$details"
echo "PASS: a whole test by keyboard"

# The update prompt: on the fifteenth day it asks first, before any window; not on the
# fourteenth. Esc answers No; the stored date becomes today only when it asked.
for days in 15 14; do
    fresh_settings
    stored=$(date -d "-$days days" +%F)
    printf '[Settings]\nDuration=%s\n' "$stored" >"$conf"
    "$BRENVO" & pid=$!
    if ((days == 15)); then
        box=$(wait_window "Brenvo") || fail "no update prompt on day $days"
        [[ -z $(windows_named "Brenvo v1.15") ]] || fail "the details window came before the prompt"
        keys_to "$box" Escape
        want=$(date +%F)
    else
        want=$stored
    fi
    details=$(wait_window "Brenvo v1.15") || fail "no details window on day $days"
    [[ -z $(windows_named "Brenvo") ]] || fail "a prompt on day $days"
    grep -qx "Duration=$want" "$conf" || fail "day $days: stored $(grep Duration "$conf")"
    end_program "$pid" "$details"
done
echo "PASS: update prompt on day 15, not on day 14"

# No browser at all: links are silent and the program goes on.
(
    mkdir -p "$WORK/nobrowser"
    # Only the tools this script uses: no xdg-open, no browser of any name.
    for tool in xdotool sleep head sed wc grep cat rm mkdir seq date; do
        ln -sf "$(command -v "$tool")" "$WORK/nobrowser/"
    done
    export PATH="$WORK/nobrowser" BROWSER=
    fresh_settings
    "$BRENVO" & pid=$!
    details=$(wait_window "Brenvo v1.15") || fail "no details window without a browser"
    m=$(menu_height "$details" 338)
    keys_to "$details" alt+h o
    keys_to "$details" alt+d
    click_at "$details" 188 $((m + 27))
    click_at "$details" 188 $((m + 300))
    keys_to "$details" alt+h a
    about=$(wait_window "Brenvo v1.20") || fail "no about window"
    click_at "$about" 300 214
    click_at "$about" 150 134
    keys_to "$about" Return
    sleep 0.3
    kill -0 "$pid" || fail "the program died without a browser"
    [[ -z $(windows_named "Brenvo") ]] || fail "a message about the missing browser"
    end_program "$pid" "$details"
) || exit 1
echo "PASS: no browser, no fuss"

# A settings folder that cannot be written, then a settings file of garbage.
rm -rf "$XDG_CONFIG_HOME/brenvo"
: >"$XDG_CONFIG_HOME/brenvo" # a file where the folder should be
"$BRENVO" & pid=$!
details=$(wait_window "Brenvo v1.15") || fail "no details window with an unwritable store"
end_program "$pid" "$details"
fresh_settings
printf '\xff\xfe[Sett\x00ings\nDuration=\x01\x02\x80\n[[\n=\n\xc3\x28%%%%\n[Settings\nDuration==2020-01-01\n' >"$conf"
"$BRENVO" & pid=$!
details=$(wait_window "Brenvo v1.15") || fail "no details window with a garbage store"
end_program "$pid" "$details"
echo "PASS: unusable settings, normal start"
echo "4 passed, 0 failed"
