# brenvo.exe with its icon, version and manifest, and the installer and portable zip.
configure_file(dist/windows/brenvo.manifest brenvo.manifest @ONLY)
configure_file(dist/windows/brenvo.rc.in brenvo.rc @ONLY)
target_sources(brenvo PRIVATE ${PROJECT_BINARY_DIR}/brenvo.rc)
set_property(SOURCE ${PROJECT_BINARY_DIR}/brenvo.rc APPEND PROPERTY OBJECT_DEPENDS
    ${PROJECT_SOURCE_DIR}/dist/windows/brenvo.ico ${PROJECT_BINARY_DIR}/brenvo.manifest)
install(TARGETS brenvo RUNTIME DESTINATION .)

# The portable zip: brenvo.exe alone, which needs no DLL beside it.
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Brenvo)
set(CPACK_SYSTEM_NAME win64)
set(CPACK_PACKAGE_VENDOR "Talvern Softwares")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
include(CPack)
