#!/usr/bin/env bash
# Starts the real Brenvo on a virtual screen at 96 dpi and photographs every window:
# details, a question, the three verdicts, the about window and the exit screen.
# Writes docs/screenshots/*.png. Needs xvfb, xdotool and imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."
out=docs/screenshots
mkdir -p "$out"
BRENVO=${1:-build/brenvo}
source tests/xvfb_lib.sh
start_x
export QT_FONT_DPI=96

shot() { import -window "$1" "$out/$2.png"; }
# Pictures, not checks: a short pause lets each window finish drawing.
click_at() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 0.15; }
keys_to() {
    local id=$1
    shift
    xdotool windowfocus --sync "$id" 2>/dev/null || xdotool windowfocus "$id"
    sleep 0.2
    xdotool key --clearmodifiers "$@"
}

# Menu bar height, so that clicks can be aimed at the client area.
menu_offset() { echo "${MENU:-$(($(xdotool getwindowgeometry "$1" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\)/\1/p') - $2))}"; }

take_test() { # $1: keyed answers wanted (0..20)
    local details=$1 keyed=$2 test q first
    keys_to "$details" a n n
    click_at "$details" 136 "$((menu + 112 + 64 + 15))" # Male
    keys_to "$details" Return
    test=$(wait_window "Brenvo v1.20")
    local tmenu=$(($(xdotool getwindowgeometry "$test" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\)/\1/p') - 449))
    for q in $(seq 1 20); do
        # Questions whose first option is the keyed one.
        case $q in 1 | 4 | 7 | 8 | 9 | 11 | 16 | 17 | 20) first=1 ;; *) first=0 ;; esac
        if ((q <= keyed)); then want=$first; else want=$((1 - first)); fi
        if ((want)); then y=$((tmenu + 40 + 120 + 40 + 12)); else y=$((tmenu + 40 + 120 + 88 + 12)); fi
        click_at "$test" 80 "$y"
        [[ $q -eq 1 && $keyed -eq 20 ]] && shot "$test" question
        keys_to "$test" Return
    done
    echo "$test"
}

"$BRENVO" &
details=$(wait_window "Brenvo v1.15")
menu=$(($(xdotool getwindowgeometry "$details" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\)/\1/p') - 338))
sleep 0.5
shot "$details" details

for verdict in right:20 tie:10 left:0; do
    test=$(take_test "$details" "${verdict#*:}")
    sleep 0.3
    shot "$test" "result-${verdict%%:*}"
    keys_to "$test" alt+o # OK on the result panel
    wait_window "Brenvo v1.15" >/dev/null
    sleep 0.3
done

keys_to "$details" alt+h a
about=$(wait_window "Brenvo v1.20")
sleep 0.3
shot "$about" about
keys_to "$about" Escape
sleep 0.3
keys_to "$details" alt+e
exitscreen=$(wait_window "Brenvo v1.20")
sleep 0.5
shot "$exitscreen" exit-screen
ls "$out"
