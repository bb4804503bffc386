# brenvo.exe with its icon, version and manifest, and the installer and portable zip.
configure_file(dist/windows/brenvo.manifest brenvo.manifest @ONLY)
configure_file(dist/windows/brenvo.rc.in brenvo.rc @ONLY)
target_sources(brenvo PRIVATE ${PROJECT_BINARY_DIR}/brenvo.rc)
set_property(SOURCE ${PROJECT_BINARY_DIR}/brenvo.rc APPEND PROPERTY OBJECT_DEPENDS
    ${PROJECT_SOURCE_DIR}/dist/windows/brenvo.ico ${PROJECT_BINARY_DIR}/brenvo.manifest)
install(TARGETS brenvo RUNTIME DESTINATION .)

# The installer and the portable zip. The installer is per user, as Windows users expect a
# small program's to be: no administrator rights, installed under the user's own
# %LOCALAPPDATA%\Programs, its Start-menu entry and its uninstaller (Apps & features)
# the user's. CPack's own NSIS template asks for administrator rights and installs for
# all users when it gets them; a copy of it that does neither is made here.
file(READ ${CMAKE_ROOT}/Modules/Internal/CPack/NSIS.template.in nsis_template)
# A 64-bit installer for a 64-bit program; it runs where 32-bit programs cannot.
string(REPLACE "RequestExecutionLevel admin" "RequestExecutionLevel user\n  Target amd64-unicode" nsis_template
    "${nsis_template}")
string(REPLACE "SetShellVarContext all" "SetShellVarContext current" nsis_template "${nsis_template}")
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
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
include(CPack)
