# Installation into a GNU-style prefix and the desktop integration: the programs in bin/, the
# help documents in share/kolumbra/ (the program looks there when they are not beside it), the
# .desktop file, the AppStream metainfo, the icon in the hicolor theme and the man pages.
# Package.cmake builds the Debian package from the same rules, adding its copyright, changelog and
# lintian overrides (data/debian/).
include(GNUInstallDirs)

set(KOLUMBRA_APP_ID org.kolumbra.Kolumbra)
set(KOLUMBRA_DESKTOP_DIR ${PROJECT_SOURCE_DIR}/data/desktop)
set(KOLUMBRA_ICON_SIZES 16 24 32 48 64 128 256)

install(TARGETS kolumbra kolumbra-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A stripped install (cpack, cmake --install --strip) also drops the compiler's .comment and
# .note sections, as Debian's packaging tools do.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    foreach(program $<TARGET_FILE_NAME:kolumbra> $<TARGET_FILE_NAME:kolumbra-cli>)
      execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
                              \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${program}\"
                      COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
  endif()")
install(FILES ${HELP_DOCS} DESTINATION ${CMAKE_INSTALL_DATADIR}/kolumbra)
install(FILES ${KOLUMBRA_DESKTOP_DIR}/${KOLUMBRA_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${KOLUMBRA_DESKTOP_DIR}/${KOLUMBRA_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${KOLUMBRA_DESKTOP_DIR}/kolumbra.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The PNG sizes are rendered from the SVG into icons/hicolor/ of the build folder, where the
# program also finds them when it runs from the build tree.
find_program(KOLUMBRA_RSVG_CONVERT rsvg-convert)
if(KOLUMBRA_RSVG_CONVERT)
  set(icon_pngs "")
  foreach(size ${KOLUMBRA_ICON_SIZES})
    set(dir ${PROJECT_BINARY_DIR}/icons/hicolor/${size}x${size}/apps)
    add_custom_command(
      OUTPUT ${dir}/kolumbra.png
      COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
      COMMAND ${KOLUMBRA_RSVG_CONVERT} -w ${size} -h ${size} -o ${dir}/kolumbra.png
              ${KOLUMBRA_DESKTOP_DIR}/kolumbra.svg
      DEPENDS ${KOLUMBRA_DESKTOP_DIR}/kolumbra.svg
      VERBATIM)
    list(APPEND icon_pngs ${dir}/kolumbra.png)
    install(FILES ${dir}/kolumbra.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  add_custom_target(kolumbra_icons ALL DEPENDS ${icon_pngs})
else()
  message(WARNING "rsvg-convert (librsvg2-bin) not found: only the SVG icon is installed")
endif()

# Man pages, compressed as Debian installs them.
find_program(KOLUMBRA_GZIP gzip REQUIRED)
set(man_pages "")
foreach(page kolumbra.1 kolumbra-cli.1)
  set(out ${PROJECT_BINARY_DIR}/man/${page})
  add_custom_command(
    OUTPUT ${out}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/data/man/${page} ${out}
    COMMAND ${KOLUMBRA_GZIP} -9 -n -f ${out}
    DEPENDS ${PROJECT_SOURCE_DIR}/data/man/${page}
    VERBATIM)
  list(APPEND man_pages ${out}.gz)
endforeach()
add_custom_target(kolumbra_man ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package's own files: the copyright, the Debian changelog (compressed without name
# or time stamp, so the package builds reproducibly) and lintian's overrides. They go into the
# package only: component "debian" is left out of a plain `cmake --install`, and Package.cmake
# adds it to the package.
set(KOLUMBRA_DEBIAN_DIR ${PROJECT_SOURCE_DIR}/data/debian)
set(debian_changelog ${PROJECT_BINARY_DIR}/debian/changelog.Debian)
add_custom_command(
  OUTPUT ${debian_changelog}.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/debian
  COMMAND ${CMAKE_COMMAND} -E copy ${KOLUMBRA_DEBIAN_DIR}/changelog ${debian_changelog}
  COMMAND ${KOLUMBRA_GZIP} -9 -n -f ${debian_changelog}
  DEPENDS ${KOLUMBRA_DEBIAN_DIR}/changelog
  VERBATIM)
add_custom_target(kolumbra_debian_changelog ALL DEPENDS ${debian_changelog}.gz)
install(FILES ${KOLUMBRA_DEBIAN_DIR}/copyright ${debian_changelog}.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kolumbra COMPONENT debian EXCLUDE_FROM_ALL)
install(FILES ${KOLUMBRA_DEBIAN_DIR}/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME kolumbra
        COMPONENT debian EXCLUDE_FROM_ALL)

include(${CMAKE_CURRENT_LIST_DIR}/Package.cmake)

if(KOLUMBRA_BUILD_TESTS)
  # An install into a fresh prefix, then the installed programs are run from there.
  add_test(NAME install_tree
           COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${PROJECT_BINARY_DIR}
                   -DPREFIX=${PROJECT_BINARY_DIR}/install-test -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
                   -DVERSION=${PROJECT_VERSION} -DAPP_ID=${KOLUMBRA_APP_ID}
                   -P ${PROJECT_SOURCE_DIR}/tests/install/installed_tree.cmake)
  # The Debian package, built into its own folder, and lintian's verdict on it.
  set(package_test_dir ${PROJECT_BINARY_DIR}/package-test)
  add_test(NAME package
           COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${PROJECT_BINARY_DIR} -DOUT=${package_test_dir}
                   -DCPACK=${CMAKE_CPACK_COMMAND}
                   -DDEB_VERSION=${CPACK_PACKAGE_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}
                   -DREADELF=${CMAKE_READELF} -P ${PROJECT_SOURCE_DIR}/tests/install/package.cmake)
  set_tests_properties(package PROPERTIES FIXTURES_SETUP kolumbra_deb)
  add_test(NAME package_lintian
           COMMAND ${CMAKE_COMMAND} -DOUT=${package_test_dir}
                   -P ${PROJECT_SOURCE_DIR}/tests/install/lintian.cmake)
  set_tests_properties(package_lintian PROPERTIES FIXTURES_REQUIRED kolumbra_deb
                       SKIP_REGULAR_EXPRESSION "lintian is not installed")
  find_program(KOLUMBRA_DESKTOP_FILE_VALIDATE desktop-file-validate)
  if(KOLUMBRA_DESKTOP_FILE_VALIDATE)
    add_test(NAME desktop_file_validate
             COMMAND ${KOLUMBRA_DESKTOP_FILE_VALIDATE} ${KOLUMBRA_DESKTOP_DIR}/${KOLUMBRA_APP_ID}.desktop)
    # desktop-file-validate reports hints on standard output and still succeeds.
    set_tests_properties(desktop_file_validate PROPERTIES FAIL_REGULAR_EXPRESSION "error|warning|hint")
  else()
    message(WARNING "desktop-file-validate (desktop-file-utils) not found: its test is skipped")
  endif()
  find_program(KOLUMBRA_APPSTREAMCLI appstreamcli)
  if(KOLUMBRA_APPSTREAMCLI)
    add_test(NAME appstream_validate
             COMMAND ${KOLUMBRA_APPSTREAMCLI} validate --no-net --strict
                     ${KOLUMBRA_DESKTOP_DIR}/${KOLUMBRA_APP_ID}.metainfo.xml)
  else()
    message(WARNING "appstreamcli (appstream) not found: its test is skipped")
  endif()
endif()

