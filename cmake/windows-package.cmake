# brenvo.exe with its icon, version and manifest, and the installer and portable zip.
configure_file(dist/windows/brenvo.manifest brenvo.manifest @ONLY)
configure_file(dist/windows/brenvo.rc.in brenvo.rc @ONLY)
target_sources(brenvo PRIVATE ${PROJECT_BINARY_DIR}/brenvo.rc)
set_property(SOURCE ${PROJECT_BINARY_DIR}/brenvo.rc APPEND PROPERTY OBJECT_DEPENDS
    ${PROJECT_SOURCE_DIR}/dist/windows/brenvo.ico ${PROJECT_BINARY_DIR}/brenvo.manifest)
install(TARGETS brenvo RUNTIME DESTINATION .)
# Beside it, in the install folder and the zip: what it contains besides Brenvo, with the
# full texts of their licences.
add_custom_command(OUTPUT THIRD-PARTY-NOTICES.txt
    COMMAND ${CMAKE_COMMAND} -DOUTPUT=${PROJECT_BINARY_DIR}/THIRD-PARTY-NOTICES.txt -DQT_HOST=${BRENVO_QT_HOST_PATH}
            -DVERSION=${PROJECT_VERSION} -P ${PROJECT_SOURCE_DIR}/dist/windows/notices.cmake
    DEPENDS ${PROJECT_SOURCE_DIR}/dist/windows/notices.cmake VERBATIM)
add_custom_target(notices ALL DEPENDS THIRD-PARTY-NOTICES.txt)
install(FILES ${PROJECT_BINARY_DIR}/THIRD-PARTY-NOTICES.txt DESTINATION .)
# Signed as it is packed, when scripts/sign-windows.sh is given a certificate.
install(CODE "execute_process(COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/sign-windows.sh
    \"\${CMAKE_INSTALL_PREFIX}/brenvo.exe\" COMMAND_ERROR_IS_FATAL ANY)")

# The installer and the portable zip. The installer is per user, as Windows users expect a
# small program's to be: no administrator rights, installed under the user's own
# %LOCALAPPDATA%\Programs, its Start-menu entry and its uninstaller (Apps & features)
# the user's. CPack's own NSIS template asks for administrator rights and installs for
# all users when it gets them; a copy of it that does neither is made here.
file(READ ${CMAKE_ROOT}/Modules/Internal/CPack/NSIS.template.in nsis_template)
# A 64-bit installer for a 64-bit program; it runs where 32-bit programs cannot.
# Files keep no packing time (two builds of one commit give the same installer), and an
# earlier install's folder, wherever the user put it, is the one offered again.
string(REPLACE "RequestExecutionLevel admin" "RequestExecutionLevel user\n  Target amd64-unicode\n  !include FileFunc.nsh
  SetDateSave off
  InstallDirRegKey HKCU \"Software\\@CPACK_PACKAGE_VENDOR@\\@CPACK_PACKAGE_INSTALL_REGISTRY_KEY@\" \"\"" nsis_template
    "${nsis_template}")
string(REPLACE "SetShellVarContext all" "SetShellVarContext current" nsis_template "${nsis_template}")
# The earlier install to remove first is looked for where this installer registers.
string(REPLACE [=[ReadRegStr $0 HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall]=]
               [=[ReadRegStr $0 HKCU "Software\Microsoft\Windows\CurrentVersion\Uninstall]=] nsis_template
               "${nsis_template}")
# A running Brenvo holds its session's one-copy mutex, and its files cannot be replaced
# or removed: the installer and the uninstaller ask to close it first (Retry, Cancel),
# before anything is changed; run silently (/S) they end with status 2 and change nothing.
# A file that still cannot be written stops the installer rather than being skipped.
set(brenvo_running [=[
AllowSkipFiles off
!macro BRENVO_CLOSED_FUNCTION PREFIX
; The name of Brenvo's one-copy mutex in $R0: "Local\Brenvo.OneCopy." and the user's SID.
Function ${PREFIX}BrenvoMutexName
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  Push $6
  StrCpy $R0 "Local\Brenvo.OneCopy."
  System::Call 'advapi32::OpenProcessToken(p -1, i 8, *p .r1) i .r2'
  IntCmp $2 0 done
  System::Call 'advapi32::GetTokenInformation(p r1, i 1, p 0, i 0, *i .r3)'
  System::Alloc $3
  Pop $4
  System::Call 'advapi32::GetTokenInformation(p r1, i 1, p r4, i r3, *i .r3) i .r2'
  IntCmp $2 0 free
  System::Call '*$4(p .r5)'
  System::Call 'advapi32::ConvertSidToStringSidW(p r5, *w .r6) i .r2'
  IntCmp $2 0 free
  StrCpy $R0 "Local\Brenvo.OneCopy.$6"
  free:
    System::Free $4
    System::Call 'kernel32::CloseHandle(p r1)'
  done:
  Pop $6
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
FunctionEnd
Function ${PREFIX}BrenvoClosed
  Push $R0
  Call ${PREFIX}BrenvoMutexName
  retry:
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w R0) p.r0'
    IntPtrCmp $0 0 closed
    System::Call 'kernel32::CloseHandle(p r0)'
    IfSilent stop
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Brenvo is running. Close Brenvo, then choose Retry." IDRETRY retry
  stop:
    SetErrorLevel 2
    Quit
  closed:
  Pop $R0
FunctionEnd
!macroend
!insertmacro BRENVO_CLOSED_FUNCTION ""
!insertmacro BRENVO_CLOSED_FUNCTION "un."

Function .onInit
  Call BrenvoClosed]=])
string(REPLACE "Function .onInit" "${brenvo_running}" nsis_template "${nsis_template}")
string(REPLACE "Function un.onInit" "Function un.onInit\n  Call un.BrenvoClosed" nsis_template "${nsis_template}")
# The vendor's key goes too when the uninstall leaves it empty.
string(REPLACE [=[DeleteRegKey /ifempty SHCTX "Software\@CPACK_PACKAGE_VENDOR@\@CPACK_PACKAGE_INSTALL_REGISTRY_KEY@"]=]
    [=[DeleteRegKey /ifempty SHCTX "Software\@CPACK_PACKAGE_VENDOR@\@CPACK_PACKAGE_INSTALL_REGISTRY_KEY@"
  DeleteRegKey /ifempty SHCTX "Software\@CPACK_PACKAGE_VENDOR@"]=]
    nsis_template "${nsis_template}")
# NSIS's uninstaller, run by itself, runs from a copy of itself, and the one it was started
# from may not have ended yet when the copy is done: the folder goes once it has (tries
# for five seconds; a folder that still holds files of the user's stays).
string(REPLACE [=[  RMDir "$INSTDIR"
]=] [=[  StrCpy $R1 0
  brenvo_remove_folder:
    Delete "$INSTDIR\@CPACK_NSIS_UNINSTALL_NAME@.exe"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    IfFileExists "$INSTDIR\*.*" 0 brenvo_folder_gone
    IntOp $R1 $R1 + 1
    IntCmp $R1 50 brenvo_folder_gone
    Sleep 100
    Goto brenvo_remove_folder
  brenvo_folder_gone:
]=] nsis_template "${nsis_template}")
# Uninstall.exe, in front of NSIS's uninstaller (written as uninstall-core.exe), waits for
# the work to be done and ends with its status: NSIS's own returns at once with 0.
add_executable(brenvo_uninstall WIN32 dist/windows/uninstall.cpp)
set_target_properties(brenvo_uninstall PROPERTIES OUTPUT_NAME Uninstall AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
target_compile_definitions(brenvo_uninstall PRIVATE UNICODE _UNICODE)
target_link_options(brenvo_uninstall PRIVATE -municode)
target_link_libraries(brenvo_uninstall PRIVATE brenvo_options)
set(CPACK_NSIS_UNINSTALL_NAME uninstall-core)
string(REPLACE [=[Push "$\"$INSTDIR\@CPACK_NSIS_UNINSTALL_NAME@.exe$\""]=] [=[Push "$\"$INSTDIR\Uninstall.exe$\""]=]
    nsis_template "${nsis_template}")
string(REPLACE [=["$SMPROGRAMS\$STARTMENU_FOLDER\Uninstall.lnk" "$INSTDIR\@CPACK_NSIS_UNINSTALL_NAME@.exe"]=]
    [=["$SMPROGRAMS\$STARTMENU_FOLDER\Uninstall.lnk" "$INSTDIR\Uninstall.exe"]=] nsis_template "${nsis_template}")
# Checked again just before the files are written or removed (Brenvo may have been
# started meanwhile); then Apps & features as Windows shows it: its flags as numbers,
# the folder, and the size in KB.
string(REPLACE "@CPACK_NSIS_EXTRA_PREINSTALL_COMMANDS@" "Call BrenvoClosed" nsis_template "${nsis_template}")
string(REPLACE "@CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS@" "Call un.BrenvoClosed" nsis_template "${nsis_template}")
string(REPLACE "@CPACK_NSIS_EXTRA_INSTALL_COMMANDS@" [=[
  SetOutPath "$INSTDIR"
  ; Signed as it is packed (a copy: the build's own stays as built).
  !system 'cp "@BRENVO_UNINSTALL_LAUNCHER@" "@BRENVO_UNINSTALL_LAUNCHER@.packed"' = 0
  !system 'bash "@BRENVO_SIGN_SCRIPT@" "@BRENVO_UNINSTALL_LAUNCHER@.packed"' = 0
  File "/oname=Uninstall.exe" "@BRENVO_UNINSTALL_LAUNCHER@.packed"
  WriteRegDWORD SHCTX "Software\Microsoft\Windows\CurrentVersion\Uninstall\@CPACK_PACKAGE_INSTALL_REGISTRY_KEY@" "NoModify" 1
  WriteRegDWORD SHCTX "Software\Microsoft\Windows\CurrentVersion\Uninstall\@CPACK_PACKAGE_INSTALL_REGISTRY_KEY@" "NoRepair" 1
  WriteRegStr SHCTX "Software\Microsoft\Windows\CurrentVersion\Uninstall\@CPACK_PACKAGE_INSTALL_REGISTRY_KEY@" "InstallLocation" "$INSTDIR"
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "Software\Microsoft\Windows\CurrentVersion\Uninstall\@CPACK_PACKAGE_INSTALL_REGISTRY_KEY@" "EstimatedSize" $0]=]
    nsis_template "${nsis_template}")
# The uninstaller inside the installer, and the installer, signed as makensis writes
# them (nothing is done without a certificate).
string(REPLACE "RequestExecutionLevel user" "RequestExecutionLevel user
  !uninstfinalize 'bash \"${PROJECT_SOURCE_DIR}/scripts/sign-windows.sh\" \"%1\"' = 0
  !finalize 'bash \"${PROJECT_SOURCE_DIR}/scripts/sign-windows.sh\" \"%1\"' = 0" nsis_template "${nsis_template}")
string(REPLACE "@BRENVO_UNINSTALL_LAUNCHER@" "${PROJECT_BINARY_DIR}/Uninstall.exe" nsis_template "${nsis_template}")
string(REPLACE "@BRENVO_SIGN_SCRIPT@" "${PROJECT_SOURCE_DIR}/scripts/sign-windows.sh" nsis_template "${nsis_template}")
file(WRITE ${PROJECT_BINARY_DIR}/nsis/NSIS.template.in "${nsis_template}")
list(APPEND CMAKE_MODULE_PATH ${PROJECT_BINARY_DIR}/nsis)

set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_NAME Brenvo)
set(CPACK_SYSTEM_NAME win64)
set(CPACK_PACKAGE_VENDOR "Talvern Softwares")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Brenvo)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Brenvo)
set(CPACK_PACKAGE_EXECUTABLES brenvo Brenvo)
# Escaped twice: CPack writes the value into its own configuration and reads it again.
set(CPACK_NSIS_INSTALL_ROOT "$LOCALAPPDATA\\\\Programs")
set(CPACK_NSIS_DISPLAY_NAME Brenvo)
set(CPACK_NSIS_PACKAGE_NAME Brenvo)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/dist/windows/brenvo.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/dist/windows/brenvo.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME brenvo.exe)
# An earlier install is replaced in place when the files are written, after the wizard's
# last page: removing it first (CPack's way, before the first page) would leave nothing
# of Brenvo when the user then cancels.
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL OFF)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
# Brenvo's terms are "all rights reserved" (dist/debian/copyright): nothing to agree to,
# so no licence page rather than CPack's placeholder.
set(CPACK_NSIS_IGNORE_LICENSE_PAGE ON)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
include(CPack)
