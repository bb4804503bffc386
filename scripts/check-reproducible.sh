#!/usr/bin/env bash
# Builds every release artifact (the .deb, brenvo.exe, the installer, the zip and the
# relinking kit) twice from the commit checked out, in two fresh clones of different
# names, one after the other, and compares them byte for byte; what differs is shown by
# diffoscope. Prints the SHA-256 sums a user can check a release against.
#   usage: scripts/check-reproducible.sh
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --no-build --extra git diffoscope-minimal >/dev/null
[[ -z $(git status --porcelain --untracked-files=no) ]] ||
    echo "check-reproducible: uncommitted changes are left out: both builds are of $(git log -1 --format=%h)"
work=$(mktemp -d /var/tmp/brenvo-reproducible.XXXXXX)
trap 'rm -rf "$work"' EXIT
artifacts() {
    (cd "$1" && ls build-deb/brenvo_*.deb build-windows/brenvo.exe build-windows/Brenvo-*-win64.exe \
        build-windows/Brenvo-*-win64.zip build-windows/Brenvo-*-win64-relink.zip)
}
for copy in first second-copy; do
    git clone --quiet --no-hardlinks . "$work/$copy"
    (cd "$work/$copy" && bash scripts/package.sh && bash scripts/windows.sh) >"$work/$copy.log" 2>&1 || {
        tail -n 40 "$work/$copy.log" >&2
        echo "FAIL: building the $copy clone failed (the end of its output above)" >&2
        exit 1
    }
done
status=0
while read -r artifact; do
    if cmp -s "$work/first/$artifact" "$work/second-copy/$artifact"; then
        echo "PASS: $artifact: the same bytes ($(sha256sum <"$work/first/$artifact" | cut -c1-64))"
    else
        echo "FAIL: $artifact differs between two builds of one commit:" >&2
        diffoscope --text - --max-report-size 20000 "$work/first/$artifact" "$work/second-copy/$artifact" >&2 || true
        status=1
    fi
done < <(artifacts "$work/first")
exit $status
