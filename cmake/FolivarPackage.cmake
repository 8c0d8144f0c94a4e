# The Debian package: `cpack -G DEB` in the build folder, after building.
# Its library dependencies are found by dpkg-shlibdeps; the program that opens
# files is recommended, the spreadsheet programs for the export only suggested
# (they would pull in hundreds of packages).
set(CPACK_PACKAGE_NAME folivar)
set(CPACK_PACKAGE_VENDOR "Mirosel")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Rename, move and de-duplicate many files at once")
# Debian shows the description as lines of at most 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "Lists the files of many folders by wildcard masks, attributes, dates and\n"
    "sizes, lets the user order and prune the list, and then renames, moves,\n"
    "de-duplicates, deletes or exports every listed file, writing each file's\n"
    "outcome into the list. It never overwrites a file and never deletes a file\n"
    "on doubt.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(FOLIVAR_PACKAGE_MAINTAINER "Mirosel Folivar maintainers <folivar@example.org>"
    CACHE STRING "The Maintainer field of the Debian package")
set(CPACK_PACKAGE_CONTACT "${FOLIVAR_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Opening files and folders, and native windows on a Wayland desktop (X11's
# plugin comes with Qt's own libraries); a program for the export's workbook.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libreoffice-calc | gnumeric")

include(CPack)
