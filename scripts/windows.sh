#!/usr/bin/env bash
# Brenvo for Windows, cross-built here: installs what is missing (mingw-w64, the host's
# Qt tools, Wine), provides a static Qt for Windows in /opt/qt-6.4.2-mingw64 (unpacked
# from ../shared/windows when that archive is there, else built once from Debian's
# qt6-base source with tools/windows-qt/build-qt.sh, about 30-40 minutes), and builds
# build-windows/brenvo.exe, its installer and a portable zip beside it; signed when
# BRENVO_SIGN_PFX names a certificate (see scripts/sign-windows.sh).
#   --test   also builds the unit tests for Windows and runs them under Wine (offscreen),
#            then brenvo.exe and its installer under Wine on a virtual screen, and what a
#            screen reader is given through UI Automation (under Wine 10; on Debian 12,
#            in a Debian 13 root: see scripts/debian-root.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
qt=/opt/qt-6.4.2-mingw64
archive=../shared/windows/qt-6.4.2-mingw64.tar.xz
packages=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 qt6-base-dev-tools
    cmake ninja-build xz-utils nsis osslsigncode zip)
[[ ${1:-} != --test ]] || packages+=(wine wine64 xvfb xauth xdotool openbox x11-utils openssl unzip python3)
bash scripts/setup.sh --no-build --extra "${packages[@]}"
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
if [[ ! -f $qt/lib/cmake/Qt6/Qt6Config.cmake ]]; then
    if [[ -f $archive ]]; then
        "${sudo[@]}" tar -C /opt -xJf "$archive"
    else
        bash tools/windows-qt/build-qt.sh "$qt"
    fi
fi
# moc, rcc and uic of the same Qt version as the Qt for Windows: the host's own where it
# has that version (Debian 12), else those of Debian 12's packages, unpacked once into
# /opt/qt-6.4.2-host (they run with a newer Qt Core, which keeps Qt 6's compatibility).
host=/usr
if [[ $(dpkg-query -W -f='${Version}' qt6-base-dev-tools) != 6.4.2* ]]; then
    host=/opt/qt-6.4.2-host/usr
    [[ -x $host/lib/qt6/libexec/moc ]] || bash tools/windows-qt/host-tools.sh /opt/qt-6.4.2-host
fi
source scripts/configure.sh
release_time
configure_build build-windows windows -DBRENVO_QT_HOST_PATH="$host"
# A Windows program carries its link time: one linked for another commit's time is
# linked again, though nothing else changed.
if [[ $(cat build-windows/release-time 2>/dev/null) != "$SOURCE_DATE_EPOCH" ]]; then
    rm -f build-windows/brenvo.exe build-windows/Uninstall.exe
    echo "$SOURCE_DATE_EPOCH" >build-windows/release-time
fi
cmake --build --preset windows
(cd build-windows && cpack >/dev/null)
# Brenvo's objects and link command, published with a release: Qt is linked statically.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-windows/CMakeCache.txt)
bash tools/windows-qt/relink-kit.sh build-windows "build-windows/Brenvo-$version-win64-relink.zip" >/dev/null
ls "$PWD"/build-windows/brenvo.exe "$PWD"/build-windows/Brenvo-*-win64.exe "$PWD"/build-windows/Brenvo-*-win64*.zip
if [[ ${1:-} == --test ]]; then
    # The unit tests built for Windows, run under Wine through ctest.
    cmake -B build-windows -DBUILD_TESTING=ON >/dev/null
    cmake --build build-windows
    (cd build-windows && ctest --output-on-failure --no-tests=error)
    /usr/bin/python3 tests/windows/tst_wine.py build-windows/brenvo.exe build-windows/Brenvo-*-win64.exe
    bash tests/windows/tst_signing.sh build-windows
    bash tests/windows/tst_relink.sh "build-windows/Brenvo-$version-win64-relink.zip" build-windows/brenvo.exe
    # What a Windows screen reader is given, through UI Automation under Wine 10.
    bash tests/windows/uia/tst_uia.sh build-windows/brenvo.exe build-windows/uia_probe.exe
fi
