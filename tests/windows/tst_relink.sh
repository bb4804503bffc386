#!/usr/bin/env bash
# The relinking kit links a working brenvo.exe again with the static Qt it names: the
# same size as the one built (both stripped; the same bytes when unsigned), importing
# only system DLLs; and Qt's changed source it carries configures.
#   usage: tests/windows/tst_relink.sh KIT.zip BUILT-brenvo.exe
set -uo pipefail
kit=$(realpath "$1")
built=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
passed=0
pass() { echo "PASS: $*" && passed=$((passed + 1)); }
unzip -q "$kit" -d "$work" || fail "the kit did not unpack"
sh "$work"/*/link.sh || fail "link.sh failed"
relinked=$(ls "$work"/*/brenvo.exe) || fail "link.sh made no brenvo.exe"
[[ $(stat -c %s "$relinked") == $(stat -c %s "$built") ]] ||
    fail "relinked $(stat -c %s "$relinked") bytes, built $(stat -c %s "$built")"
dlls=$(x86_64-w64-mingw32-objdump -p "$relinked" | sed -n 's/.*DLL Name: //p' | sort -u | tr '\n' ' ')
[[ $dlls == *KERNEL32.dll* && $dlls != *libgcc* && $dlls != *Qt6* ]] || fail "it imports $dlls"
pass "the kit links brenvo.exe again ($dlls)"
# Linked at one fixed time, an unsigned brenvo.exe comes out byte for byte as built.
if [[ -n ${SOURCE_DATE_EPOCH:-} ]] && ! x86_64-w64-mingw32-objdump -h "$built" | grep -q '\.sig\b'; then
    cmp -s "$relinked" "$built" || fail "the relinked brenvo.exe is not the one built, byte for byte"
    pass "the relinked brenvo.exe is the one built, byte for byte"
fi
# Qt's changed source, as the kit ships it: the named source package downloads with its
# checksums, the patch applies and Qt configures with the recipe's line (the host tools
# must be Qt 6.4.2's: Debian 12's).
for part in qt-source.txt qtbase-6.4.2-mingw.patch build-qt.sh mingw-toolchain.cmake.in; do
    [[ -s $(echo "$work"/*/qt/$part) ]] || fail "the kit carries no qt/$part"
done
if [[ $(dpkg-query -W -f='${Version}' qt6-base-dev-tools 2>/dev/null) == 6.4.2* ]]; then
    mkdir -p /var/cache/brenvo/qt-source
    QT_SOURCE_CACHE=/var/cache/brenvo/qt-source bash "$work"/*/qt/build-qt.sh --configure-only >"$work/qt.log" 2>&1 ||
        { tail -n 30 "$work/qt.log" >&2; fail "Qt's source as the kit names it did not configure"; }
    pass "the kit's Qt source downloads as named, takes the patch and configures"
else
    echo "SKIP: Qt's source configures only with Debian 12's Qt 6.4.2 tools"
fi
echo "$passed passed, 0 failed"
