#!/usr/bin/env bash
# Installs into a fresh prefix and finds every file where a desktop looks for it; the
# desktop entry and the AppStream data pass their validators.
set -uo pipefail
BUILD=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$BUILD" --prefix "$prefix" >/dev/null || fail "cmake --install failed"
expect=(bin/brenvo share/applications/brenvo.desktop share/metainfo/example.talvern.brenvo.metainfo.xml
        share/icons/hicolor/scalable/apps/brenvo.svg share/man/man1/brenvo.1.gz
        share/doc/brenvo/copyright share/doc/brenvo/changelog.gz)
for s in 16 22 24 32 48 64 128 256; do expect+=("share/icons/hicolor/${s}x${s}/apps/brenvo.png"); done
for f in "${expect[@]}"; do
    [[ -s $prefix/$f ]] || fail "missing $f"
done
for s in 16 22 24 32 48 64 128 256; do
    size=$(od -An -tu1 -j16 -N8 "$prefix/share/icons/hicolor/${s}x${s}/apps/brenvo.png" | awk '{print $3*256+$4 "x" $7*256+$8}')
    [[ $size == "${s}x${s}" ]] || fail "the ${s}x${s} icon measures $size"
done
[[ -x $prefix/bin/brenvo ]] || fail "brenvo is not executable"
echo "PASS: every file in place"

desktop-file-validate "$prefix/share/applications/brenvo.desktop" || fail "desktop entry invalid"
grep -qx "Exec=brenvo" "$prefix/share/applications/brenvo.desktop" || fail "Exec"
echo "PASS: desktop entry valid"
appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/example.talvern.brenvo.metainfo.xml" >/dev/null || fail "metainfo invalid"
echo "PASS: metainfo valid"
warnings=$(zcat "$prefix/share/man/man1/brenvo.1.gz" | groff -ww -man -Tutf8 2>&1 >/dev/null)
[[ -z $warnings ]] || fail "the manual page: $warnings"
zcat "$prefix/share/man/man1/brenvo.1.gz" | grep -q "^\.TH BRENVO 1 .*Brenvo [0-9]" || fail "manual page version"
echo "PASS: manual page clean"
echo "4 passed, 0 failed"
