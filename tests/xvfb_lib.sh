# shellcheck shell=bash
# Helpers for the scripts that put the real brenvo on a virtual X server of their own
# (the Wine checks, the package check, the screenshots, the start-up benchmarks), with
# a fresh home, settings and runtime folder. Source it; call start_x first.

fail() { echo "FAIL: $*" >&2; exit 1; }

start_x() {
    WORK=$(mktemp -d)
    export HOME=$WORK/home XDG_CONFIG_HOME=$WORK/config XDG_RUNTIME_DIR=$WORK/run XDG_CACHE_HOME=$WORK/cache
    mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" "$XDG_CACHE_HOME"
    chmod 700 "$XDG_RUNTIME_DIR"
    unset QT_QPA_PLATFORM WAYLAND_DISPLAY
    exec 3>"$WORK/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset >"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 100); do
        [[ -s $WORK/display ]] && break
        sleep 0.05
    done
    [[ -s $WORK/display ]] || fail "Xvfb did not start"
    DISPLAY=:$(head -n1 "$WORK/display")
    export DISPLAY
    trap stop_x EXIT
}

stop_x() {
    pkill -9 -P $$ brenvo 2>/dev/null || true
    exec 2>/dev/null
    kill "$XVFB_PID" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$WORK"
}

# Prints the ids of visible windows whose title is exactly $1.
windows_named() {
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true
}

# Waits up to $2 seconds (default 30) until a window titled $1 is visible; prints its id.
wait_window() {
    local deadline=$((SECONDS + ${2:-30})) ids
    while ((SECONDS < deadline)); do
        ids=$(windows_named "$1")
        if [[ -n $ids ]]; then
            echo "$ids" | head -n1
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# Types keys into a window, giving it the focus first (there is no window manager).
keys_to() {
    local id=$1
    shift
    xdotool windowfocus --sync "$id" 2>/dev/null || xdotool windowfocus "$id"
    sleep 0.2
    xdotool key --clearmodifiers "$@"
}

# Waits up to $2 tenths of a second for process $1 to end; false when it did not.
# Its status is then read with wait, in the shell that started it.
wait_gone() {
    local i
    for ((i = 0; i < ${2:-50} * 2; i++)); do
        kill -0 "$1" 2>/dev/null || return 0
        sleep 0.05
    done
    return 1
}

# Clicks at x, y inside a window (its top left corner, menu bar included, is 0, 0).
click_at() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
    sleep 0.2
}
