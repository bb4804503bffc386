#!/usr/bin/env bash
# Code signing: with a throwaway certificate made here, the package is built signed and
# every signature is checked with osslsigncode: brenvo.exe (in the zip and as the
# installer installs it), the uninstaller the installer writes, and the installer.
# Without a certificate nothing is signed.
#   usage: tests/windows/tst_signing.sh BUILD-WINDOWS-DIR
set -uo pipefail
build=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
export WINEPREFIX=$work/wine WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=" WINEDEBUG=-all
trap 'bash "$here/wine_stop.sh" "$WINEPREFIX"; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
passed=0

openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/key.pem" -out "$work/cert.pem" -days 2 \
    -subj "/CN=Brenvo test signing" -addext "extendedKeyUsage=codeSigning" >/dev/null 2>&1 ||
    fail "could not make a certificate"
openssl pkcs12 -export -out "$work/test.p12" -inkey "$work/key.pem" -in "$work/cert.pem" \
    -passout pass:not-a-secret >/dev/null 2>&1 || fail "could not make the PKCS#12 file"
verify() { osslsigncode verify -CAfile "$work/cert.pem" -in "$1" 2>&1 | grep -q "^Signature verification: ok"; }

(cd "$build" && BRENVO_SIGN_PFX=$work/test.p12 BRENVO_SIGN_PASSWORD=not-a-secret \
    cpack -B "$work/signed" >/dev/null 2>&1) || fail "the signed package was not built"
installer=$(ls "$work"/signed/Brenvo-*-win64.exe)
verify "$installer" || fail "the installer's signature does not verify"
unzip -q "$work"/signed/Brenvo-*-win64.zip -d "$work/zip" ||
    fail "the zip did not unpack"
verify "$work/zip/brenvo.exe" || fail "brenvo.exe in the zip is not signed"
grep -q "GNU LESSER GENERAL PUBLIC LICENSE" "$work/zip/THIRD-PARTY-NOTICES.txt" || fail "no notices in the zip"
[[ $(osslsigncode verify -CAfile "$work/cert.pem" -in "$installer" 2>&1) == *"Brenvo test signing"* ]] ||
    fail "the installer is signed by someone else"
passed=$((passed + 1))
echo "PASS: the installer and brenvo.exe in the zip are signed and verify"

wine wineboot -i >/dev/null 2>&1 || fail "wineboot failed"
wine "$installer" /S >/dev/null 2>&1 || fail "the signed installer did not install"
installed=$WINEPREFIX/drive_c/users/$(whoami)/AppData/Local/Programs/Brenvo
verify "$installed/brenvo.exe" || fail "the installed brenvo.exe is not signed"
verify "$installed/Uninstall.exe" || fail "the uninstaller is not signed"
passed=$((passed + 1))
echo "PASS: the installed brenvo.exe and the uninstaller are signed and verify"

osslsigncode verify -in "$build/brenvo.exe" >/dev/null 2>&1 && fail "the build's own brenvo.exe was signed"
(cd "$build" && cpack -B "$work/unsigned" >/dev/null 2>&1) || fail "the unsigned package was not built"
osslsigncode verify -in "$(ls "$work"/unsigned/Brenvo-*-win64.exe)" >/dev/null 2>&1 &&
    fail "without a certificate the installer was signed"
passed=$((passed + 1))
echo "PASS: without a certificate nothing is signed"
echo "$passed passed, 0 failed"
