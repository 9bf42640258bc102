# Where `cmake --install` puts what a desktop needs besides the binary (which the Qt layer
# installs): the help page where the game looks for it, the licence, the desktop entry, the
# AppStream metainfo and the icons of the hicolor theme.
set(KORVANE_APP_ID io.github.helmfirth.Korvane)

# The game opens ${CMAKE_INSTALL_FULL_DOCDIR}/Korvane.htm (its KORVANE_HELP_DIR).
install(FILES ${PROJECT_SOURCE_DIR}/resources/Korvane.htm DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME copyright)

install(FILES ${PROJECT_SOURCE_DIR}/packaging/korvane.desktop
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/${KORVANE_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)

install(FILES ${PROJECT_SOURCE_DIR}/resources/korvane.svg
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps)
# The PNG sizes are rendered by tools/ at build time (target korvane_icons).
install(DIRECTORY ${KORVANE_ICON_DIR}/ DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor
        FILES_MATCHING PATTERN "korvane.png")

# The manual page, compressed as Debian installs manual pages (gzip -9n: no name, no time, so
# the package builds the same bytes every time).
find_program(GZIP_EXECUTABLE gzip REQUIRED)
set(KORVANE_MAN_PAGE ${CMAKE_CURRENT_BINARY_DIR}/korvane.6.gz)
add_custom_command(OUTPUT ${KORVANE_MAN_PAGE}
    COMMAND ${GZIP_EXECUTABLE} -9n -c ${PROJECT_SOURCE_DIR}/packaging/korvane.6 > ${KORVANE_MAN_PAGE}
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/korvane.6 VERBATIM)
add_custom_target(korvane_man ALL DEPENDS ${KORVANE_MAN_PAGE})
install(FILES ${KORVANE_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
