# The Debian package: `cpack -G DEB` in the build folder. The shared-library dependencies are
# computed by dpkg-shlibdeps; only what no library check can see is listed by hand.
set(KOLUMBRA_PACKAGE_MAINTAINER "Kolumbra developers <kolumbra@example.org>"
    CACHE STRING "The Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kolumbra)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Kolumbra developers")
set(CPACK_PACKAGE_CONTACT ${KOLUMBRA_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer and editor for Shift-JIS CSV tables")
# Lines of the long description stay within 80 columns (dpkg and apt show them as they are).
set(CPACK_PACKAGE_DESCRIPTION
    "Kolumbra shows delimited text tables (CSV, TSV and similar) in Shift-JIS\n\
(CP932) in a grid and edits them: cells, rows and columns, ranges and character\n\
widths, with undo. Large tables open quickly and every byte of a file is kept\n\
as it was. kolumbra-cli reads and writes tables the same way without a display.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# One package: everything a plain install has, then the files only the package has (component
# "debian", Install.cmake).
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};ALL;/"
                                 "${PROJECT_BINARY_DIR};${PROJECT_NAME};debian;/")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
# The project publishes no free license (data/debian/copyright), so the package belongs to
# Debian's non-free area.
set(CPACK_DEBIAN_PACKAGE_SECTION non-free/editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Menus and messages are drawn with the IPA fonts; the browser and editor are opened through
# xdg-open. The program runs without them, so they are recommended rather than required.
# libfreexl1 is loaded at run time to read .xls workbooks, so dpkg-shlibdeps does not see it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-mincho, xdg-utils, libfreexl1")

include(CPack)
