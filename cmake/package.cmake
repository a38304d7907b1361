# `cpack -G DEB`: a Debian package of what cmake/install.cmake installs, under /usr.
set(CPACK_PACKAGE_NAME wadwright)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Wadwright developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tells which release of DOOM an IWAD is and makes its other releases")
# Debian wants the lines of the long description under 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "Wadwright reads the MD5 checksum of a main game data file (IWAD) of the
classic DOOM games, names its release, and offers to update it or to make
the older releases from it. Every action writes one new file beside the IWAD.")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # wadwright_0.08_amd64.deb
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Wadwright developers <wadwright@example.org>")
# Not "games": that section is for the games themselves, installed in /usr/games.
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://wadwright.example.org")
# The libraries come from dpkg-shlibdeps. Beside them: xdg-utils for the file manager, Qt's
# platform plugins (only recommended by Qt's GUI library, yet no window opens without them), and
# the fonts whose metrics the windows were laid out for.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "xdg-utils, qt6-qpa-plugins, fonts-liberation")

# The package's version and its changelog's newest entry must agree.
file(STRINGS docs/debian/changelog wadwright_newest_change LIMIT_COUNT 1)
if(NOT wadwright_newest_change MATCHES "^wadwright \\(${PROJECT_VERSION}\\) ")
  message(WARNING "docs/debian/changelog has no entry for ${PROJECT_VERSION} at its top")
endif()

include(CPack)
