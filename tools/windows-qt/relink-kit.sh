#!/usr/bin/env bash
# Makes the relinking kit that LGPL-3.0 asks for with a statically linked Qt: Brenvo's
# own object files and libraries, as built, and a link.sh that links brenvo.exe from
# them again against the static Qt for Windows named by QT (the one it was built with,
# or the user's own modified build of the same Qt version and configuration), with Qt's
# changed source in qt/ (qt-source.txt says what is there).
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
# Qt's changed source, as LGPL-3.0 asks with the object code: what names the source and
# its checksums, the patch, the toolchain file and the recipe with its configure line.
here=$(dirname "$0")
mkdir "$kit/qt"
cp "$here/qt-source.txt" "$here/qtbase-6.4.2-mingw.patch" "$here/mingw-toolchain.cmake.in" "$here/build-qt.sh" "$kit/qt/"
chmod +x "$kit/qt/build-qt.sh"
rm -f "$output"
# The same bytes from every build of one commit: every entry dated SOURCE_DATE_EPOCH
# (zip keeps local time: UTC here), packed in sorted order, without owners or extra times.
stamp=${SOURCE_DATE_EPOCH:-$(git -C "$here" log -1 --format=%ct)}
find "$kit" -exec touch -h -d "@$stamp" {} +
(cd "$work" && find "$(basename "$kit")" -print | LC_ALL=C sort | TZ=UTC zip -qX -@ "$output")
echo "$output"
