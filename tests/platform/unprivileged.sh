#!/usr/bin/env bash
# Runs a test program as a user without privileges, where file permissions count: as
# root through setpriv as nobody, from a copy nobody can read; as anyone else as it is.
set -euo pipefail
program=$1
shift
if [[ $(id -u) -ne 0 ]]; then
    exec "$program" "$@"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
install -m 0755 "$program" "$work/"
mkdir -m 0700 "$work/run"
chown nobody:nogroup "$work/run"
chmod 0755 "$work"
status=0
setpriv --reuid=nobody --regid=nogroup --clear-groups \
    env HOME="$work/run" XDG_RUNTIME_DIR="$work/run" TMPDIR=/tmp \
    "$work/$(basename "$program")" "$@" || status=$?
exit $status
