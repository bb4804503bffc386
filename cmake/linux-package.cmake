# The program, its manual page, menu entry, icons and software-centre data where a Linux
# desktop looks for them, and the Debian package.
install(TARGETS brenvo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Where a Linux desktop looks for the menu entry, the icons and the software-centre data.
# The manual page and the Debian documents, compressed as Debian wants them.
configure_file(dist/brenvo.1 brenvo.1 @ONLY)
add_custom_command(OUTPUT brenvo.1.gz
    COMMAND gzip -9n -c brenvo.1 > brenvo.1.gz
    DEPENDS ${PROJECT_BINARY_DIR}/brenvo.1 VERBATIM)
add_custom_command(OUTPUT changelog.gz
    COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/dist/debian/changelog > changelog.gz
    DEPENDS dist/debian/changelog VERBATIM)
add_custom_target(brenvo_docs ALL DEPENDS brenvo.1.gz changelog.gz)
install(FILES ${PROJECT_BINARY_DIR}/brenvo.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES dist/debian/copyright ${PROJECT_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

install(FILES dist/brenvo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# Named after the component's id, which software centres know it by.
configure_file(dist/example.talvern.brenvo.metainfo.xml.in example.talvern.brenvo.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/example.talvern.brenvo.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES src/ui/icons/brenvo.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256)
    install(FILES dist/icons/brenvo-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME brenvo.png)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brenvo)
set(CPACK_PACKAGE_VENDOR "Talvern Softwares")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Find out whether the left or the right half of your brain leads")
set(CPACK_PACKAGE_DESCRIPTION "Brenvo asks twenty questions with two answers each and tells whether the
left or the right hemisphere of your brain is the more dominant, with a list
of what that hemisphere is responsible for.
.
It runs offline: links open the maker's web pages in your browser, and the
only thing it stores is the date on which it last offered an update.")
set(CPACK_PACKAGE_CONTACT "Talvern Softwares <support@talvern.example>")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beyond the linked libraries: the platform plugins that show the windows, and the
# fonts the layouts are drawn with. Liberation 2 is fonts-liberation2 on Debian 12 and
# fonts-liberation from Debian 13 on: the package that holds it here.
# liberation2/ before liberation/, which holds the old Liberation 1 on Debian 12; a link
# is followed to the file a package owns.
file(GLOB liberation /usr/share/fonts/truetype/liberation*/LiberationSans-Regular.ttf)
list(SORT liberation)
list(REVERSE liberation)
set(liberation_package fonts-liberation2)
if(liberation)
    list(GET liberation 0 liberation)
    file(REAL_PATH ${liberation} liberation)
    execute_process(COMMAND dpkg-query -S ${liberation} OUTPUT_VARIABLE owner ERROR_QUIET)
    if(owner MATCHES "^([a-z0-9.+-]+):")
        set(liberation_package ${CMAKE_MATCH_1})
    endif()
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core, ${liberation_package}")
# Wayland without an X server needs Qt's Wayland plug-in; with Xwayland Brenvo uses X11.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "qt6-wayland")
# Stripped as Debian's dh_strip strips: the symbols and the .comment and .note sections.
option(BRENVO_DEBIAN_STRIP "Strip the installed program as Debian's packages are stripped" OFF)
if(BRENVO_DEBIAN_STRIP)
    install(CODE "execute_process(COMMAND ${CMAKE_STRIP} --remove-section=.comment --remove-section=.note
                  \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/brenvo\" COMMAND_ERROR_IS_FATAL ANY)")
else()
    set(CPACK_STRIP_FILES ON)
endif()
include(CPack)
