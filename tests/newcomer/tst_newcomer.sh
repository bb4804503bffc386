#!/usr/bin/env bash
# A newcomer's first run on a fresh Debian machine, as README tells it: a root holding
# only what mmdebstrap makes and git, the committed tree (HEAD) cloned into it, README's
# first command run until the details window is on the screen, the same command once
# more, then README's second command. Then the same build spoiled as a configure that
# failed leaves it, and README's first command once more. Downloaded packages are kept
# in /var/cache/brenvo/apt-RELEASE for the next run; nothing is preinstalled. Needs root
# (chroot, mounts in namespaces of their own); the windows go to a virtual screen here.
#   usage: tests/newcomer/tst_newcomer.sh RELEASE [SCRIPT...]
#   RELEASE is bookworm or trixie; each SCRIPT (scripts/check-package.sh) then runs in
#   the root as well.
set -euo pipefail
cd "$(dirname "$0")/../.."
release=$1
shift
bash scripts/setup.sh --no-build --extra git mmdebstrap xvfb xauth xdotool
source scripts/debian-root.sh
source tests/xvfb_lib.sh
here=$PWD
start_x
root=$(mktemp -d /var/tmp/brenvo-newcomer.XXXXXX)
archives=/var/cache/brenvo/apt-$release
mkdir -p "$archives/partial"
step_pid=
finish() {
    if [[ -n $step_pid ]]; then
        kill -KILL "$step_pid" 2>/dev/null || true
        wait "$step_pid" 2>/dev/null || true
    fi
    stop_x
    debian_remove "$root" || true
}
trap finish EXIT
debian_root "$release" "$root" git
git clone --quiet --no-hardlinks "$here" "$root/root/brenvo"
echo "newcomer: $(git log -1 --format='%h %s') on a fresh Debian $(cat "$root/etc/debian_version") root"

# step [--display] COMMAND: runs COMMAND in the project's clone in the root, as root, in
# a mount and process namespace of its own that ends with it; with --display, on this
# virtual screen (its socket alone: the tests' own X servers would take its number in a
# /tmp of their own). Its output goes to $WORK/step.log. It becomes that namespace's
# parent: call it in the background or in a subshell.
step() {
    local display=
    [[ $1 != --display ]] || { display=${DISPLAY#:} && shift; }
    exec unshare --mount --pid --fork --kill-child --propagation private bash -euc '
        root=$1 archives=$2 display=$3
        mount -t proc proc "$root/proc"
        mount --rbind /dev "$root/dev"
        mount -t sysfs sysfs "$root/sys"
        mount -t tmpfs -o mode=1777 tmpfs "$root/tmp"
        mount --bind "$archives" "$root/var/cache/apt/archives"
        if [[ -n $display ]]; then
            mkdir -p "$root/tmp/.X11-unix"
            touch "$root/tmp/.X11-unix/X$display"
            mount --bind "/tmp/.X11-unix/X$display" "$root/tmp/.X11-unix/X$display"
        fi
        exec chroot "$root" env -i PATH=/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin HOME=/root TERM=dumb \
            ${display:+DISPLAY=:$display} CI="${CI:-}" bash -c "cd /root/brenvo && $4"
    ' _ "$root" "$archives" "$display" "$1" >"$WORK/step.log" 2>&1
}

# first_window WHAT: README's first command until the details window is mapped (or the
# command ends); prints how long that took.
first_window() {
    local started=$SECONDS window
    step --display "bash scripts/run.sh" &
    step_pid=$!
    # Installing and building may take many minutes the first time: the cap only
    # bounds a run that hangs.
    until window=$(xdotool search --onlyvisible --name '^Brenvo v1\.15$' 2>/dev/null) && [[ -n $window ]]; do
        kill -0 "$step_pid" 2>/dev/null || {
            tail -n 30 "$WORK/step.log" >&2
            fail "$1: README's first command ended without showing the details window"
        }
        ((SECONDS - started < 3600)) || fail "$1: no details window after an hour"
        sleep 1
    done
    kill -KILL "$step_pid"
    wait "$step_pid" 2>/dev/null || true
    step_pid=
    until [[ -z $(xdotool search --onlyvisible --name '^Brenvo v1\.15$' 2>/dev/null) ]]; do sleep 0.1; done
    echo "PASS: $1: README's first command showed the details window after $((SECONDS - started)) s"
    grep -E '^(Installing|  (downloading|setting up): [05]0 %)' "$WORK/step.log" | sed 's/^/    /' || true
}

first_window "fresh machine"
first_window "once more"
started=$SECONDS
(step "bash scripts/test.sh") || {
    tail -n 60 "$WORK/step.log" >&2
    fail "README's second command failed"
}
echo "PASS: README's second command after $((SECONDS - started)) s: $(grep -E 'tests passed' "$WORK/step.log")"

# A configure that failed (here for a compiler that is not there) leaves a build folder
# whose cache keeps the cause; README's first command still starts Brenvo.
(step "rm -rf build && ! cmake --preset default -DCMAKE_CXX_COMPILER=/nonexistent/c++ && test ! -e build/build.ninja") ||
    fail "the configure meant to fail did not"
first_window "after a configure that failed"

for script in "$@"; do
    started=$SECONDS
    (step "bash $script") || {
        tail -n 40 "$WORK/step.log" >&2
        fail "$script failed"
    }
    echo "PASS: $script after $((SECONDS - started)) s"
done
