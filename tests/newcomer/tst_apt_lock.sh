#!/usr/bin/env bash
# While another program holds apt's lock (an automatic update, a package manager's
# window), scripts/setup.sh waits and says so, and installs once the lock is free. Run as
# root in a throwaway root (tests/newcomer/tst_newcomer.sh runs it there): it installs
# and removes the package hello.
set -euo pipefail
cd "$(dirname "$0")/../.."
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
work=$(mktemp -d)
trap 'exec 3>&-; wait; rm -rf "$work"' EXIT
! dpkg-query -W -f='${Status}' hello 2>/dev/null | grep -q "install ok installed" || fail "hello is installed already"

# The other program: takes dpkg's lock as apt does (fcntl), says so, and holds it until
# its input closes.
mkfifo "$work/hold"
python3 -c '
import fcntl, sys
lock = open("/var/lib/dpkg/lock-frontend", "w")
fcntl.lockf(lock, fcntl.LOCK_EX)
print("held", flush=True)
sys.stdin.read()
' <"$work/hold" >"$work/holder.log" &
exec 3>"$work/hold"
until grep -q held "$work/holder.log"; do sleep 0.1; done

bash scripts/setup.sh --no-build --extra hello >"$work/setup.log" 2>&1 3>&- &
setup=$!
until grep -q "waiting for apt" "$work/setup.log"; do
    kill -0 "$setup" 2>/dev/null || fail "setup ended while apt's lock was held: $(cat "$work/setup.log")"
    sleep 0.1
done
kill -0 "$setup" 2>/dev/null || fail "setup did not wait"
grep -q "process [0-9]*: [^ ]*python3" "$work/setup.log" || fail "the waiting line names no holder: $(cat "$work/setup.log")"
exec 3>&-
wait "$setup" || fail "setup failed once the lock was free: $(cat "$work/setup.log")"
dpkg-query -W -f='${Status}' hello | grep -q "install ok installed" || fail "hello was not installed"
apt-get purge -y -qq hello >/dev/null
echo "PASS: setup waited for apt's lock, said so, and installed once it was free"
