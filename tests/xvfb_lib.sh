# shellcheck shell=bash
# Helpers for the shell scripts that put the real brenvo on a virtual X server of their
# own (the package check, the newcomer's stages, the screenshots, the start-up
# benchmarks), with a fresh home, settings and runtime folder. Source it; call start_x
# first. The checks of the program's behaviour use tests/e2e/desktop instead.

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
