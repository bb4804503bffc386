#!/usr/bin/env bash
# Signs one Windows executable in place with Debian's osslsigncode when a code-signing
# certificate is given, and does nothing otherwise (an unsigned build):
#   BRENVO_SIGN_PFX=cert.p12 BRENVO_SIGN_PASSWORD=... [BRENVO_SIGN_TIMESTAMP_URL=...]
# Called for brenvo.exe as it is packed, and by makensis for the uninstaller and the
# installer it writes.
#   usage: sign-windows.sh FILE.exe
set -euo pipefail
file=$1
[[ -n ${BRENVO_SIGN_PFX:-} ]] || exit 0
timestamp=()
[[ -z ${BRENVO_SIGN_TIMESTAMP_URL:-} ]] || timestamp=(-ts "$BRENVO_SIGN_TIMESTAMP_URL")
# The password reaches osslsigncode through a pipe, never its command line.
osslsigncode sign -pkcs12 "$BRENVO_SIGN_PFX" -readpass <(printf '%s' "${BRENVO_SIGN_PASSWORD:-}") \
    -n Brenvo -i https://www.talvern.example/brenvo/ -h sha256 "${timestamp[@]}" \
    -in "$file" -out "$file.signed" >/dev/null
mv -f "$file.signed" "$file"
