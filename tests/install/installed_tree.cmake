# Installs the build into a fresh prefix and runs the installed programs from there:
# kolumbra-cli converts a file and back, kolumbra finds its help documents in share/kolumbra.
# cmake -DBUILD_DIR=… -DPREFIX=… -DSOURCE_DIR=… -DVERSION=… -DAPP_ID=… -P installed_tree.cmake

include(${CMAKE_CURRENT_LIST_DIR}/run_command.cmake)

function(expect_contains text wanted what)
  string(FIND "${text}" "${wanted}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${what}: \"${wanted}\" not in:\n${text}")
  endif()
endfunction()

# The programs name their folders as the kernel resolves them, without symbolic links.
file(REMOVE_RECURSE ${PREFIX})
file(MAKE_DIRECTORY ${PREFIX})
file(REAL_PATH ${PREFIX} PREFIX)
file(REAL_PATH ${BUILD_DIR} BUILD_DIR)
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX})

set(docs Doc_Kolumbra_Begin.Txt Doc_Kolumbra_Guide1.Txt Doc_Kolumbra_Guide2.Txt
         Doc_Kolumbra_Guide3.Txt Doc_Kolumbra_History.Txt)
set(expected bin/kolumbra bin/kolumbra-cli
    share/applications/${APP_ID}.desktop share/metainfo/${APP_ID}.metainfo.xml
    share/icons/hicolor/scalable/apps/kolumbra.svg
    share/man/man1/kolumbra.1.gz share/man/man1/kolumbra-cli.1.gz)
foreach(doc ${docs})
  list(APPEND expected share/kolumbra/${doc})
  if(EXISTS ${PREFIX}/bin/${doc})
    message(FATAL_ERROR "help document installed beside the program: bin/${doc}")
  endif()
endforeach()
foreach(f ${expected})
  if(NOT EXISTS ${PREFIX}/${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
# The Debian package's own files stay out of a plain install.
foreach(f share/doc/kolumbra/copyright share/doc/kolumbra/changelog.Debian.gz
          share/lintian/overrides/kolumbra)
  if(EXISTS ${PREFIX}/${f})
    message(FATAL_ERROR "installed outside the Debian package: ${f}")
  endif()
endforeach()
# The PNG sizes exist when the build could render them (with rsvg-convert).
file(GLOB built_pngs ${BUILD_DIR}/icons/hicolor/*/apps/kolumbra.png)
file(GLOB pngs ${PREFIX}/share/icons/hicolor/*/apps/kolumbra.png)
list(LENGTH built_pngs built_count)
list(LENGTH pngs png_count)
if(NOT png_count EQUAL built_count)
  message(FATAL_ERROR "${png_count} of ${built_count} PNG icon sizes installed")
endif()

# The installed converter writes TAB-separated text and reads it back to the same bytes.
set(original ${SOURCE_DIR}/tests/data/titled.csv)
run(${PREFIX}/bin/kolumbra-cli convert --out-separator TAB ${original} ${PREFIX}/out.tsv)
run(${PREFIX}/bin/kolumbra-cli convert --separator TAB --out-separator Comma ${PREFIX}/out.tsv
    ${PREFIX}/back.csv)
file(READ ${PREFIX}/out.tsv tsv)
expect_contains("${tsv}" "\t" "TAB-separated output")
file(SHA256 ${original} want)
file(SHA256 ${PREFIX}/back.csv got)
if(NOT want STREQUAL got)
  message(FATAL_ERROR "the file converted there and back differs from ${original}")
endif()

# Both programs answer --version and --help without a display.
run(${PREFIX}/bin/kolumbra-cli --version)
expect_contains("${out}" "kolumbra-cli ${VERSION}\n" "kolumbra-cli --version")
run(${PREFIX}/bin/kolumbra-cli --help)
expect_contains("${out}" "usage: kolumbra-cli" "kolumbra-cli --help")
run(${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY ${PREFIX}/bin/kolumbra --version)
expect_contains("${out}" "kolumbra ${VERSION}\n" "kolumbra --version")

# The help documents: from share/kolumbra when installed, beside the program in the build tree.
run(${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY ${PREFIX}/bin/kolumbra --help)
expect_contains("${out}" "Usage: kolumbra" "kolumbra --help")
expect_contains("${out}" "Help documents: ${PREFIX}/share/kolumbra\n" "installed kolumbra")
run(${BUILD_DIR}/kolumbra --help)
expect_contains("${out}" "Help documents: ${BUILD_DIR}\n" "kolumbra in the build tree")
