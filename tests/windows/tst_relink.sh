#!/usr/bin/env bash
# The relinking kit links a working brenvo.exe again with the static Qt it names: the
# same size as the one built (both stripped), and importing only system DLLs.
#   usage: tests/windows/tst_relink.sh KIT.zip BUILT-brenvo.exe
set -uo pipefail
kit=$(realpath "$1")
built=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
unzip -q "$kit" -d "$work" || fail "the kit did not unpack"
sh "$work"/*/link.sh || fail "link.sh failed"
relinked=$(ls "$work"/*/brenvo.exe) || fail "link.sh made no brenvo.exe"
[[ $(stat -c %s "$relinked") == $(stat -c %s "$built") ]] ||
    fail "relinked $(stat -c %s "$relinked") bytes, built $(stat -c %s "$built")"
dlls=$(x86_64-w64-mingw32-objdump -p "$relinked" | sed -n 's/.*DLL Name: //p' | sort -u | tr '\n' ' ')
[[ $dlls == *KERNEL32.dll* && $dlls != *libgcc* && $dlls != *Qt6* ]] || fail "it imports $dlls"
echo "PASS: the kit links brenvo.exe again ($dlls)"
echo "1 passed, 0 failed"
