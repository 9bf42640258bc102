# The Debian package: `cpack -G DEB` in a build configured with CMAKE_INSTALL_PREFIX=/usr
# (scripts/check-deb.sh does that and checks the result).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvane)
set(CPACK_PACKAGE_VENDOR Helmfirth)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "twisty puzzle game: cube, tetrahedron and Piracube")
set(CPACK_PACKAGE_DESCRIPTION
    "Korvane shows one shaded three-dimensional twisty puzzle and lets the player turn its\n\
layers by stroking across its stickers and spin it by dragging. It offers the cube\n\
from 2x2x2 to 5x5x5, the tetrahedron in four levels and the Piracube, with a clock,\n\
a move counter, one level of undo and tables of the best moves and times.")
set(CPACK_PACKAGE_CONTACT "Helmfirth <korvane@helmfirth.org>")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
# The game finds its help page under the prefix it was built for; package that same prefix.
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://helmfirth.github.io/korvane/")
# dpkg-shlibdeps finds the Qt libraries and the C++ runtime the binary links; it cannot see the
# platform plugins Qt loads at run time, the SQLite driver of the solve history, nor the status
# font read from its file.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6sql6-sqlite, fonts-croscore")
# Native Wayland windows; without it the game runs through XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")

include(CPack)
