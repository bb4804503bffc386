#!/usr/bin/env bash
# brenvo.exe under Wine on a virtual screen with openbox, in a Wine prefix of its own:
# --version and --help, the update prompt after a stored date fifteen days old, today's
# date stored in the registry after No, the details window's title and size, a second
# copy refused, a link, boxes owned by their window, the exit screen on top and shown
# without activation, a Duration that is not text, and a start after a kill.
# Then the installer: a silent install for this user alone, a start of what it
# installed, and a silent uninstall that leaves nothing of the install behind.
#   usage: tests/windows/tst_wine.sh build-windows/brenvo.exe build-windows/Brenvo-1.20-win64.exe
set -uo pipefail
EXE=$(realpath "$1")
INSTALLER=$(realpath "$2")
source "$(dirname "$0")/../xvfb_lib.sh"
start_x
openbox --sm-disable >/dev/null 2>&1 &
openbox_pid=$!
# A stand-in browser: Wine hands http addresses to the host's xdg-open.
mkdir -p "$WORK/bin"
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >>"%s"\n' "$WORK/browser.log" >"$WORK/bin/xdg-open"
chmod +x "$WORK/bin/xdg-open"
export PATH=$WORK/bin:$PATH
export WINEPREFIX=$WORK/wine WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=" WINEDEBUG=-all
stop_wine() {
    bash "$(dirname "$0")/wine_stop.sh" "$WINEPREFIX"
    kill "$openbox_pid" 2>/dev/null
    stop_x
}
trap stop_wine EXIT
wine wineboot -i >/dev/null 2>&1 || fail "wineboot failed"
passed=0
key='HKEY_CURRENT_USER\Software\Brenvo\Settings'
stored() { wine reg query "$key" /v Duration 2>/dev/null | tr -d '\r' | awk '$1 == "Duration" {print $2, $3}'; }

# --version and --help: a box with Qt's text, as for any Windows program without a
# console; OK ends with status 0. Neither takes the settings or the one-copy lock.
# Wine's message-box trace shows the box's text.
for option in --version --help; do
    WINEDEBUG=trace+msgbox wine "$EXE" $option >"$WORK/box.log" 2>&1 &
    informing=$!
    box=$(wait_window "Brenvo" 60) || fail "$option showed no box"
    if [[ $option == --version ]]; then
        grep -qF 'MSGBOX_OnInit L"Brenvo 1.20\n"' "$WORK/box.log" || fail "--version: $(grep MSGBOX "$WORK/box.log")"
        ! wine reg query "$key" >/dev/null 2>&1 || fail "--version touched the settings"
    else
        grep -qF 'MSGBOX_OnInit L"Usage: ' "$WORK/box.log" && grep -qF '\n\nOptions:\n' "$WORK/box.log" ||
            fail "--help: $(grep MSGBOX "$WORK/box.log")"
        wine "$EXE" >/dev/null 2>&1 &
        disown  # ended by wineserver -k, without a "Killed" line
        wait_window "Brenvo v1.15" 60 >/dev/null || fail "a start beside the --help box was refused"
    fi
    # The details window may take the focus back as it comes up: OK until the box goes.
    for _ in 1 2 3 4 5; do
        xdotool windowactivate --sync "$box" 2>/dev/null
        keys_to "$box" Return
        wait_gone "$informing" 20 && break
    done
    wait_gone "$informing" 1 || fail "$option did not end after OK"
    wait "$informing" || fail "$option ended with status $?"
done
wineserver -k 2>/dev/null
for _ in $(seq 100); do [[ -z $(windows_named "Brenvo v1.15") ]] && break; sleep 0.1; done
echo "PASS: --version and --help in a box, status 0, no settings, no lock"; ((passed++))

wine reg add "$key" /v Duration /t REG_SZ /d "$(date -d '15 days ago' +%F)" /f >/dev/null 2>&1
# Wine's window trace shows how each window is shown and stacked.
WINEDEBUG=trace+win wine "$EXE" >/dev/null 2>"$WORK/windows.log" &
disown  # ended by wineserver -k, without a "Killed" line
box=$(wait_window "Brenvo" 60) || fail "no update prompt after fifteen days"
[[ -z $(windows_named "Brenvo v1.15") ]] || fail "the details window came up before the prompt was answered"
keys_to "$box" alt+n
details=$(wait_window "Brenvo v1.15" 30) || fail "no details window after No"
[[ $(stored) == "REG_SZ $(date +%F)" ]] || fail "the registry holds '$(stored)'"
echo "PASS: update prompt, today's date stored in the registry"; ((passed++))

size=$(xdotool getwindowgeometry "$details" | sed -n 's/.*Geometry: //p')
[[ ${size%x*} -eq 377 && ${size#*x} -gt 338 ]] || fail "the details window measures $size"
echo "PASS: details window $size (377 wide, 338 high below its menu bar)"; ((passed++))

wine "$EXE" >/dev/null 2>&1 &
disown  # ended by wineserver -k, without a "Killed" line
second=$!
refusal=$(wait_window "Brenvo" 60) || fail "the second copy showed no box"
[[ $(windows_named "Brenvo v1.15" | wc -l) -eq 1 ]] || fail "the second copy showed a details window"
keys_to "$refusal" Return
wait_gone "$second" 100 || fail "the second copy did not end after OK"
echo "PASS: second copy refused"; ((passed++))

keys_to "$details" alt+h o
for _ in $(seq 200); do [[ -s $WORK/browser.log ]] && break; sleep 0.1; done
[[ $(cat "$WORK/browser.log" 2>/dev/null) == "https://www.talvern.example/brenvo/ssd.php?page=help-web-page" ]] ||
    fail "Help > Online Help handed the browser '$(cat "$WORK/browser.log" 2>/dev/null)'"
echo "PASS: a link reaches the browser as one address"; ((passed++))

# owned BOX WINDOW: the box is its window's own (transient for it) and above it.
owned() {
    xprop -id "$1" WM_TRANSIENT_FOR | grep -q "# $(printf '0x%x' "$2")\$" || fail "the box is not owned by its window"
    [[ $(xprop -root _NET_CLIENT_LIST_STACKING | grep -o '0x[0-9a-f]*$') == $(printf '0x%x' "$1") ]] ||
        fail "the box is not in front"
}
keys_to "$details" alt+b
box=$(wait_window "Brenvo" 30) || fail "no box for a missing name"
owned "$box" "$details"
keys_to "$box" Return
for _ in $(seq 100); do [[ -z $(windows_named "Brenvo") ]] && break; sleep 0.1; done

keys_to "$details" alt+e
screen=$(wait_window "Brenvo v1.20" 30) || fail "no exit screen after Exit"
xprop -id "$screen" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "the exit screen is not kept on top"
# Two windows with a title bar are made topmost (HWND_TOPMOST), in this order: the
# update prompt, a box of no window's, and the exit screen, which is shown only without
# activation (SW_SHOWNOACTIVATE), never with it. (Tooltips are topmost too, without one.)
topmost=$(grep -o 'calc_winpos hwnd 0x[0-9a-f]*, after 0xffffffffffffffff,.* style [0-9a-f]*' "$WORK/windows.log" |
    sed 's/^calc_winpos hwnd \(0x[0-9a-f]*\),.* style \([0-9a-f]*\).*/\1 \2/' |
    while read -r hwnd style; do
        (((0x$style & 0x00c00000) == 0x00c00000)) && echo "$hwnd"
    done | awk '!seen[$0]++')
[[ $(wc -w <<<"$topmost") -eq 2 ]] || fail "windows with a title bar made topmost: '$topmost'"
shown=$(tail -n 1 <<<"$topmost")
shows=$(grep -o "show_window hwnd=$shown, cmd=[0-9]*" "$WORK/windows.log" | sed 's/.*cmd=//' | sort -u | tr '\n' ' ')
[[ $shows == "4 " ]] || fail "the exit screen was shown with commands $shows"
xdotool mousemove --window "$screen" 30 10 click 1
keys_to "$screen" alt+n
box=$(wait_window "Brenvo" 30) || fail "no box for a referral without addresses"
owned "$box" "$screen"
echo "PASS: the exit screen is kept above other windows, shown without taking the focus; boxes owned by their window"
((passed++))

# A second copy's refusal comes up above the farewell screen, which stays on top.
keys_to "$box" Return
for _ in $(seq 100); do [[ -z $(windows_named "Brenvo") ]] && break; sleep 0.1; done
wine "$EXE" >/dev/null 2>&1 &
second=$!
refusal=$(wait_window "Brenvo" 60) || fail "the second copy showed no box"
top=
for _ in $(seq 100); do
    top=$(xprop -root _NET_CLIENT_LIST_STACKING | grep -o '0x[0-9a-f]*$')
    [[ $top == $(printf '0x%x' "$refusal") ]] && break
    sleep 0.1
done
[[ $top == $(printf '0x%x' "$refusal") ]] || fail "the refusal is not above the farewell screen"
keys_to "$refusal" Return
wait_gone "$second" 100 || fail "the second copy did not end after OK"
echo "PASS: a second copy's refusal comes up above the farewell screen"; ((passed++))

# A Duration that is not text is never written over, and prompts for nothing.
wineserver -k 2>/dev/null
for _ in $(seq 100); do [[ -z $(windows_named "Brenvo v1.15") ]] && break; sleep 0.1; done
wine reg add "$key" /v Duration /t REG_DWORD /d 7 /f >/dev/null 2>&1
wine reg add "$key" /v Other /t REG_SZ /d mine /f >/dev/null 2>&1
wine "$EXE" >/dev/null 2>&1 &
disown  # ended by wineserver -k, without a "Killed" line
wait_window "Brenvo v1.15" 60 >/dev/null || fail "no details window with a Duration that is not text"
[[ -z $(windows_named "Brenvo") ]] || fail "a Duration that is not text prompted"
[[ $(stored) == "REG_DWORD 0x7" ]] || fail "the Duration that is not text became '$(stored)'"
wine reg query "$key" /v Other 2>/dev/null | grep -q "REG_SZ *mine" || fail "another value in the key changed"
echo "PASS: a Duration that is not text stays, and so does the rest of the key"; ((passed++))

# A killed copy's mutex goes with it, whatever process ID Wine hands out next.
wineserver -k 2>/dev/null
for _ in $(seq 100); do [[ -z $(windows_named "Brenvo v1.15") ]] && break; sleep 0.1; done
wine "$EXE" >/dev/null 2>&1 &
disown  # ended by wineserver -k, without a "Killed" line
wait_window "Brenvo v1.15" 60 >/dev/null || fail "no start after the first copy was killed"
[[ -z $(windows_named "Brenvo") ]] || fail "a start after a kill was refused"
echo "PASS: a start after a kill runs"; ((passed++))

# A window larger than the screen (scale 3 on 1280 x 1024) keeps its frame's top left,
# the title bar with its close box, on the screen.
frame_origin() { # X Y of the window's frame, title bar included
    local info x y left top
    info=$(xwininfo -id "$1")
    x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
    y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
    IFS=', ' read -r left _ top _ < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= //p')
    echo "$((x - ${left:-0})) $((y - ${top:-0}))"
}
wineserver -k 2>/dev/null
for _ in $(seq 100); do [[ -z $(windows_named "Brenvo v1.15") ]] && break; sleep 0.1; done
WINEQT_SCALE_FACTOR=3 wine "$EXE" >/dev/null 2>&1 &
disown # ended by wineserver -k, without a "Killed" line
large=$(wait_window "Brenvo v1.15" 60) || fail "no details window at scale 3"
for _ in $(seq 50); do
    read -r x y < <(frame_origin "$large")
    ((x >= 0 && y >= 0)) && break
    sleep 0.1
done
((x >= 0 && y >= 0)) || fail "at scale 3 the details window's frame starts at $x, $y"
echo "PASS: a window larger than the screen keeps its title bar on it"; ((passed++))

wineserver -k 2>/dev/null
for _ in $(seq 100); do [[ -z $(windows_named "Brenvo v1.15") ]] && break; sleep 0.1; done
wine "$INSTALLER" /S >/dev/null 2>&1 || fail "the silent install failed"
users=$WINEPREFIX/drive_c/users/$(whoami)
installed=$users/AppData/Local/Programs/Brenvo
menu=$users/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs/Brenvo
uninstall='HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Uninstall\Brenvo'
[[ -f $installed/brenvo.exe && -f $menu/Brenvo.lnk ]] || fail "the install left no program or no Start-menu entry"
grep -q "GNU LESSER GENERAL PUBLIC LICENSE" "$installed/THIRD-PARTY-NOTICES.txt" &&
    grep -q "^License: Zlib" "$installed/THIRD-PARTY-NOTICES.txt" || fail "no third-party notices beside brenvo.exe"
wine reg query "$uninstall" /v UninstallString >/dev/null 2>&1 || fail "no uninstaller in Apps & features"
wine "$installed/brenvo.exe" >/dev/null 2>&1 &
disown  # ended by wineserver -k, without a "Killed" line
wait_window "Brenvo v1.15" 60 >/dev/null || fail "the installed brenvo.exe showed no window"
echo "PASS: silent install for this user: program, Start-menu entry, uninstaller; it starts"; ((passed++))

# Apps & features as Windows shows it: flags as numbers, the folder, the size in KB.
value() { wine reg query "$uninstall" /v "$1" 2>/dev/null | tr -d '\r' | awk -v v="$1" '$1 == v {print $2, $3}'; }
[[ $(value NoModify) == "REG_DWORD 0x1" && $(value NoRepair) == "REG_DWORD 0x1" ]] ||
    fail "NoModify and NoRepair are '$(value NoModify)' and '$(value NoRepair)'"
size=$(value EstimatedSize)
[[ $size == "REG_DWORD "* ]] && ((${size#REG_DWORD } > 1000)) || fail "EstimatedSize is '$size'"
[[ $(value InstallLocation) == "REG_SZ C:\\users\\"*"\\Programs\\Brenvo" ]] ||
    fail "InstallLocation is '$(value InstallLocation)'"
for name in DisplayName DisplayVersion Publisher DisplayIcon; do
    [[ $(value $name) == "REG_SZ "* ]] || fail "no $name"
done
echo "PASS: Apps & features: NoModify, NoRepair and EstimatedSize as numbers, InstallLocation"; ((passed++))

# While Brenvo runs, neither the silent installer nor the silent uninstaller changes
# anything, and both say so with their status.
before=$(stat -c %Y "$installed/brenvo.exe")
wine "$INSTALLER" /S >/dev/null 2>&1
status=$?
[[ $status -ne 0 ]] || fail "the silent install over a running Brenvo reported success"
[[ $(stat -c %Y "$installed/brenvo.exe") == "$before" ]] || fail "the install over a running Brenvo changed it"
wine "$installed/Uninstall.exe" /S "_?=$(winepath -w "$installed")" >/dev/null 2>&1
status=$?
[[ $status -ne 0 ]] || fail "the silent uninstall of a running Brenvo reported success"
[[ -f $installed/brenvo.exe && -f $installed/Uninstall.exe && -f $menu/Brenvo.lnk ]] ||
    fail "the uninstall of a running Brenvo removed files"
wine reg query "$uninstall" /v UninstallString >/dev/null 2>&1 || fail "the uninstall of a running Brenvo left no entry"
echo "PASS: while Brenvo runs, /S install and uninstall change nothing and end with status $status"; ((passed++))

# Interactive, a box asks to close Brenvo; Cancel ends the installer, nothing changed.
wine "$INSTALLER" >/dev/null 2>&1 &
interactive=$!
running=$(wait_window "Brenvo Setup" 60) || fail "the installer showed no box for the running Brenvo"
keys_to "$running" Escape
wait_gone "$interactive" 100 || fail "the installer did not end after Cancel"
[[ $(stat -c %Y "$installed/brenvo.exe") == "$before" ]] || fail "the cancelled install changed brenvo.exe"
echo "PASS: interactive, the installer asks to close Brenvo, and Cancel changes nothing"; ((passed++))

# Installed again over itself once Brenvo is closed: one entry, the program in place.
wineserver -k 2>/dev/null
for _ in $(seq 100); do [[ -z $(windows_named "Brenvo v1.15") ]] && break; sleep 0.1; done
wine reg add 'HKEY_CURRENT_USER\Software\Brenvo\Settings' /v Duration /t REG_SZ /d 2026-01-02 /f >/dev/null 2>&1
wine "$INSTALLER" /S >/dev/null 2>&1 || fail "the install over an earlier one failed"
[[ -f $installed/brenvo.exe ]] || fail "the install over an earlier one left no program"
[[ $(wine reg query 'HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Uninstall' 2>/dev/null |
    tr -d '\r' | grep -c 'Uninstall\\Brenvo$') -eq 1 ]] || fail "more than one Apps & features entry"
echo "PASS: installing over an earlier install replaces it in place, one entry"; ((passed++))

wine "$installed/Uninstall.exe" /S >/dev/null 2>&1 || fail "the silent uninstall failed"
# The uninstaller runs on from a copy of itself, and removes the Start-menu folder last:
# wait until both are gone.
for _ in $(seq 600); do [[ ! -e $installed && ! -e $menu ]] && break; sleep 0.1; done
[[ ! -e $installed && ! -e $menu ]] || fail "the uninstall left $(ls -d "$installed" "$menu" 2>/dev/null)"
! wine reg query "$uninstall" >/dev/null 2>&1 || fail "the uninstall left its Apps & features entry"
! wine reg query 'HKEY_CURRENT_USER\Software\Talvern Softwares' >/dev/null 2>&1 ||
    fail "the uninstall left the vendor's key"
[[ $(stored) == "REG_SZ 2026-01-02" ]] || fail "the uninstall changed the user's Duration to '$(stored)'"
echo "PASS: silent uninstall leaves nothing of the install, and the user's Duration"; ((passed++))
echo "$passed passed, 0 failed"
