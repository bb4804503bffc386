#!/usr/bin/env bash
# Makes the relinking kit that LGPL-3.0 asks for with a statically linked Qt: Brenvo's
# own object files and libraries, as built, and a link.sh that links brenvo.exe from
# them again against the static Qt for Windows named by QT (the one it was built with,
# or the user's own modified build of the same Qt version and configuration).
#   usage: relink-kit.sh BUILD-WINDOWS-DIR OUTPUT.zip
set -euo pipefail
build=$(realpath "$1")
output=$(realpath -m "$2")
qt=/opt/qt-6.4.2-mingw64
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
kit=$work/$(basename "$output" .zip)
mkdir -p "$kit/objects"

# The link step exactly as the build ran it: ninja's explicit inputs, flags and libraries.
rule=$(grep -A5 '^build brenvo.exe: CXX_EXECUTABLE_LINKER' "$build/build.ninja")
inputs=$(sed -n '1{s/^build brenvo.exe: CXX_EXECUTABLE_LINKER[^ ]* //;s/ | .*//;p}' <<<"$rule")
flags=$(sed -n 's/^  LINK_FLAGS = //p' <<<"$rule")
libraries=$(sed -n 's/^  LINK_LIBRARIES = //p' <<<"$rule")
words=()
for word in $inputs $libraries; do
    case $word in
    "$qt"/*) words+=("\"\$QT${word#"$qt"}\"") ;;
    -*) words+=("$word") ;;
    *)
        name=$(tr '/' '_' <<<"${word#./}")
        cp "$build/$word" "$kit/objects/$name"
        words+=("objects/$name")
        ;;
    esac
done
cat >"$kit/link.sh" <<SCRIPT
#!/bin/sh
# Links brenvo.exe again from Brenvo's own objects (objects/) and a static Qt $(basename "$qt" | sed 's/^qt-//;s/-mingw64//')
# for Windows: QT names its prefix (default $qt). Needs Debian's
# g++-mingw-w64-x86-64-posix. Writes brenvo.exe beside this script.
set -e
QT=\${QT:-$qt}
cd "\$(dirname "\$0")"
x86_64-w64-mingw32-g++-posix $flags ${words[*]} -o brenvo.exe
SCRIPT
chmod +x "$kit/link.sh"
rm -f "$output"
(cd "$work" && zip -qr "$output" "$(basename "$kit")")
echo "$output"
