# Writes THIRD-PARTY-NOTICES.txt for the Windows package: what brenvo.exe contains
# besides Brenvo, with the full texts of their licences. Run with -DOUTPUT=FILE
# -DQT_HOST=PREFIX (the host Qt 6.4.2, whose Debian copyright file describes qtbase and
# every library bundled in it) and -DVERSION=VERSION.
set(qt_copyright ${QT_HOST}/share/doc/qt6-base-dev/copyright)
foreach(required ${qt_copyright} /usr/share/common-licenses/LGPL-3 /usr/share/common-licenses/GPL-3
        /usr/share/doc/mingw-w64-x86-64-dev/copyright /usr/share/doc/gcc-mingw-w64-base/copyright)
    if(NOT EXISTS ${required})
        message(FATAL_ERROR "notices: ${required} is missing")
    endif()
endforeach()
file(READ ${qt_copyright} qt)
file(READ /usr/share/common-licenses/LGPL-3 lgpl)
file(READ /usr/share/common-licenses/GPL-3 gpl)
file(READ /usr/share/doc/mingw-w64-x86-64-dev/copyright mingw)
file(READ /usr/share/doc/gcc-mingw-w64-base/copyright gcc)
set(rule "================================================================================")
file(WRITE ${OUTPUT} "Third-party software in Brenvo ${VERSION} for Windows
${rule}

brenvo.exe is Brenvo linked statically with the following. Brenvo itself: Copyright
2026 Talvern Softwares, all rights reserved.

1. Qt 6.4.2 (qtbase: Core, Gui, Widgets and the Windows platform plug-in), by The Qt
   Company and others, under the GNU Lesser General Public License version 3 (LGPL-3.0),
   whose full text follows in section A (it builds on the GNU GPL version 3, section B).
   Qt is linked statically. To let you relink Brenvo with a modified Qt, as LGPL-3.0
   asks, Brenvo's object files and the command that links them are published beside
   this release as Brenvo-${VERSION}-win64-relink.zip (run its link.sh with QT naming
   your Qt for Windows). Qt's source is Debian's qt6-base source package, version
   6.4.2+dfsg-10, built with two changes. The same zip carries that changed source's
   every part in its folder qt/: qt-source.txt (the source package's files with their
   SHA-256 sums and where to download them), the patch with the two changes
   (qtbase-6.4.2-mingw.patch), the build recipe with its configure line (build-qt.sh)
   and its CMake toolchain file; qt-source.txt says how to rebuild that Qt.
2. The libraries bundled in Qt's source and built into it: zlib, libpng, FreeType,
   HarfBuzz, PCRE2, double-conversion, md4c, TinyCBOR, pixman, SHA-1/SHA-3, the easing
   equations and Unicode data. Section C is Debian's copyright file for qt6-base, which
   names every file of Qt's source with its copyright holders and licence, and gives the
   full text of each licence.
3. The MinGW-w64 runtime and the GCC runtime libraries (libstdc++, libgcc, winpthreads),
   under their licences in sections D and E (the GCC runtime under the GCC Runtime
   Library Exception).

${rule}
A. GNU Lesser General Public License, version 3
${rule}

${lgpl}
${rule}
B. GNU General Public License, version 3
${rule}

${gpl}
${rule}
C. Qt 6.4.2 (qtbase) and the libraries bundled in it: Debian's copyright file
${rule}

${qt}
${rule}
D. MinGW-w64 runtime: Debian's copyright file
${rule}

${mingw}
${rule}
E. GCC and its runtime libraries: Debian's copyright file
${rule}

${gcc}")
