# Cross build for 64-bit Windows with Debian's mingw-w64 (posix thread model), against
# the static Qt for Windows that scripts/windows.sh puts in /opt/qt-6.4.2-mingw64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(BRENVO_WINDOWS_QT /opt/qt-6.4.2-mingw64 CACHE PATH "Qt for Windows (not relocatable)")
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${BRENVO_WINDOWS_QT})
set(CMAKE_PREFIX_PATH ${BRENVO_WINDOWS_QT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
# The host's moc, rcc and uic must be those of the Qt for Windows: Debian 12's own, or on
# a newer Debian the ones scripts/windows.sh unpacks from Debian 12's packages.
set(BRENVO_QT_HOST_PATH /usr CACHE PATH "Host Qt whose moc, rcc and uic match the Qt for Windows")
set(QT_HOST_PATH ${BRENVO_QT_HOST_PATH})
set(QT_HOST_PATH_CMAKE_DIR ${BRENVO_QT_HOST_PATH}/lib/x86_64-linux-gnu/cmake)

# One .exe that needs no DLL beside it (the C++ runtime and libgcc linked in), stripped.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -s")
# No path of the checkout in the objects (the relinking kit carries them): any folder
# builds the same bytes (the last map that matches wins: the build folder's, inside).
get_filename_component(brenvo_checkout "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(CMAKE_CXX_FLAGS_INIT "-ffile-prefix-map=${brenvo_checkout}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=.")
# Tests of the Windows build run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
