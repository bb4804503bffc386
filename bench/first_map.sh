# shellcheck shell=bash
# Sourced by the start-up benchmarks: a virtual X server, a stored date of today (no
# update prompt, the usual start), and the root window's map notifications read as they
# come, so a window counts as on screen when the X server maps it, with no polling.
source tests/xvfb_lib.sh
start_x
mkdir -p "$XDG_CONFIG_HOME/brenvo"
printf '[Settings]\nDuration=%s\n' "$(date +%F)" >"$XDG_CONFIG_HOME/brenvo/brenvo.conf"
coproc XEV { exec xev -root -event substructure; }
sleep 0.5 # xev selects its events before the first program starts

# start_until_mapped BINARY: starts it and returns once its window is mapped; its pid is
# left in $mapped_pid.
start_until_mapped() {
    local line
    "$1" &
    mapped_pid=$!
    while read -r line <&"${XEV[0]}"; do
        [[ $line == MapNotify* ]] && break
    done
}

stop_mapped() {
    kill -9 "$mapped_pid"
    wait "$mapped_pid" 2>/dev/null
}

stop_xev() {
    kill "$XEV_PID" 2>/dev/null
    wait "$XEV_PID" 2>/dev/null
}
