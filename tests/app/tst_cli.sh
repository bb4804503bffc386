#!/usr/bin/env bash
# The real executable's own options: --help, --help-all and --version print and end
# with status 0 without a display, a window or the single-copy lock; anything else
# still starts the program, with Qt's options working as before.
set -uo pipefail
BRENVO=$1
VERSION=$2
work=$(mktemp -d)
trap 'kill $pid 2>/dev/null; rm -rf "$work"' EXIT
pid=
fail() { echo "FAIL: $*" >&2; exit 1; }
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run XDG_CACHE_HOME=$work/cache
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
passed=0

# informs ARGS...: runs brenvo with no display; its output goes to $work/out and $work/err.
informs() {
    "$BRENVO" "$@" >"$work/out" 2>"$work/err"
    local status=$?
    [[ $status -eq 0 ]] || fail "$* ended with status $status: $(cat "$work/err")"
    [[ ! -s $work/err ]] || fail "$* printed to standard error: $(cat "$work/err")"
    [[ -z $(ls -A "$XDG_RUNTIME_DIR") && ! -e $XDG_CACHE_HOME ]] || fail "$* took the lock"
    [[ ! -e $XDG_CONFIG_HOME ]] || fail "$* touched the settings"
}

for option in --version -v "-platform offscreen --version" "--version --bogus"; do
    # shellcheck disable=SC2086
    informs $option
    [[ $(cat "$work/out") == "Brenvo $VERSION" ]] || fail "$option printed '$(cat "$work/out")'"
    passed=$((passed + 1))
done
for option in --help -h "-style fusion --help"; do
    # shellcheck disable=SC2086
    informs $option
    grep -q "^Usage: " "$work/out" && grep -q -- "--version" "$work/out" && grep -q -- "--help-all" "$work/out" ||
        fail "$option printed no help: $(cat "$work/out")"
    passed=$((passed + 1))
done
informs --help-all
grep -q -- "-platform" "$work/out" || fail "--help-all names no Qt option"
passed=$((passed + 1))

# No display to open: one line that says what is needed and which display was tried,
# status 1 and no core dump, whatever display was named.
nodisplay() { # EXPECTED ARGS...: runs brenvo with the environment and arguments given
    local expected=$1
    shift
    env "$@" >"$work/out" 2>"$work/err"
    local status=$?
    [[ $status -eq 1 ]] || fail "$* ended with status $status: $(cat "$work/err")"
    [[ $(wc -l <"$work/err") -eq 1 ]] || fail "$* printed more than one line: $(cat "$work/err")"
    grep -q "needs a graphical desktop session" "$work/err" && grep -qF "$expected" "$work/err" ||
        fail "$* said: $(cat "$work/err")"
    passed=$((passed + 1))
}
nodisplay "DISPLAY names none" "$BRENVO"
nodisplay '":57"' DISPLAY=:57 "$BRENVO"
nodisplay '"127.0.0.1:97"' DISPLAY=127.0.0.1:97 "$BRENVO"
nodisplay '"nowhere"' WAYLAND_DISPLAY=nowhere "$BRENVO" -platform wayland
nodisplay '":58"' QT_QPA_PLATFORM=xcb DISPLAY=:58 "$BRENVO"
# What failed is named, not what the environment holds.
nodisplay '":199"' DISPLAY=:57 "$BRENVO" -display :199
nodisplay '"nonexistent"' DISPLAY=:57 "$BRENVO" -platform nonexistent

# Anything else starts the program as before: Qt's -platform is obeyed, an unknown
# argument is ignored, and the lock is taken. With no locale set at all, as on a fresh
# machine, Qt's notice of the UTF-8 locale it chose instead stays unsaid.
env -u LC_ALL -u LC_CTYPE -u LANG "$BRENVO" -platform offscreen --bogus >"$work/out" 2>"$work/err" &
pid=$!
for _ in $(seq 200); do
    [[ -e $XDG_RUNTIME_DIR/brenvo.lock ]] && break
    kill -0 "$pid" 2>/dev/null || fail "it ended: $(cat "$work/err")"
    sleep 0.05
done
[[ -e $XDG_RUNTIME_DIR/brenvo.lock ]] || fail "-platform offscreen --bogus did not start the program"
kill -0 "$pid" || fail "the program did not keep running"
! grep -q locale "$work/err" || fail "a start without a locale said: $(cat "$work/err")"
passed=$((passed + 1))

# scripts/run.sh with a display that answers nowhere says so at once: no package
# installed, nothing built (a setup.sh that would run fails the test).
here=$(cd "$(dirname "$0")/../.." && pwd)
mkdir -p "$work/run-sh/scripts"
cp "$here/scripts/run.sh" "$work/run-sh/scripts/"
printf 'echo "setup.sh ran" >&2; exit 9\n' >"$work/run-sh/scripts/setup.sh"
for display in :199 localhost:199.0; do
    DISPLAY=$display timeout 20 bash "$work/run-sh/scripts/run.sh" >"$work/out" 2>"$work/err"
    status=$?
    [[ $status -eq 1 && $(cat "$work/err") == "brenvo: needs a graphical desktop session; no display answers at DISPLAY=$display" ]] ||
        fail "run.sh with DISPLAY=$display: status $status, $(cat "$work/err")"
    passed=$((passed + 1))
done
echo "$passed passed, 0 failed"
