# Builds the Debian package into a fresh folder and checks what it holds: the control fields, the
# owners and modes of its files, the copyright and the Debian changelog, stripped programs.
# cmake -DBUILD_DIR=… -DOUT=… -DCPACK=… -DDEB_VERSION=… -DREADELF=… -P package.cmake

include(${CMAKE_CURRENT_LIST_DIR}/run_command.cmake)

function(expect_match text regex what)
  if(NOT text MATCHES "${regex}")
    message(FATAL_ERROR "${what}: no match for \"${regex}\" in:\n${text}")
  endif()
endfunction()

file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT})
run(${CPACK} -G DEB -B ${OUT} --config ${BUILD_DIR}/CPackConfig.cmake)
file(GLOB debs ${OUT}/kolumbra_${DEB_VERSION}_*.deb)
list(LENGTH debs count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one kolumbra_${DEB_VERSION}_*.deb in ${OUT}, found: ${debs}")
endif()

# Control fields.
run(dpkg-deb --field ${debs} Package Version Section Priority Maintainer)
expect_match("${out}" "Package: kolumbra\n" "Package")
expect_match("${out}" "Version: ${DEB_VERSION}\n" "Version")
expect_match("${out}" "Section: non-free/editors\n" "Section")
expect_match("${out}" "Priority: optional\n" "Priority")
expect_match("${out}" "Maintainer: [^<\n]+ <[^@>\n]+@[^>\n]+>\n" "Maintainer")
run(dpkg-deb --field ${debs} Description)
string(REPLACE "\n" ";" lines "${out}")
foreach(line IN LISTS lines)
  string(LENGTH "${line}" length)
  if(length GREATER 80)
    message(FATAL_ERROR "description line of ${length} characters: ${line}")
  endif()
endforeach()

# Every entry belongs to root; the programs are executable, nothing else is, nothing is writable
# by group or others.
run(dpkg-deb --contents ${debs})
string(REGEX REPLACE "\n$" "" listing "${out}")
string(REPLACE "\n" ";" entries "${listing}")
foreach(entry IN LISTS entries)
  string(REGEX MATCH "^([-dl][rwx-]+) ([^ ]+) +[0-9]+ [-0-9]+ [:0-9]+ \\./(.*)$" parsed "${entry}")
  if(NOT parsed)
    message(FATAL_ERROR "unexpected listing line: ${entry}")
  endif()
  set(mode ${CMAKE_MATCH_1})
  set(owner ${CMAKE_MATCH_2})
  set(path ${CMAKE_MATCH_3})
  if(NOT owner STREQUAL "root/root")
    message(FATAL_ERROR "${path} belongs to ${owner}")
  endif()
  if(path MATCHES "/$")
    set(want drwxr-xr-x)
  elseif(path MATCHES "^usr/bin/[^/]+$")
    set(want -rwxr-xr-x)
  else()
    set(want -rw-r--r--)
  endif()
  if(NOT mode STREQUAL want)
    message(FATAL_ERROR "${path} has mode ${mode}, not ${want}")
  endif()
endforeach()

set(root ${OUT}/root)
run(dpkg-deb --extract ${debs} ${root})
set(doc ${root}/usr/share/doc/kolumbra)
foreach(f usr/bin/kolumbra usr/bin/kolumbra-cli usr/share/doc/kolumbra/copyright
          usr/share/doc/kolumbra/changelog.Debian.gz usr/share/lintian/overrides/kolumbra
          usr/share/man/man1/kolumbra.1.gz usr/share/man/man1/kolumbra-cli.1.gz)
  if(NOT EXISTS ${root}/${f})
    message(FATAL_ERROR "not in the package: ${f}")
  endif()
endforeach()

# The copyright file is machine-readable (DEP-5): the format line, then a Files paragraph with
# its copyright and license.
file(READ ${doc}/copyright copyright)
expect_match("${copyright}"
             "^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
             "copyright format")
expect_match("${copyright}" "\n\nFiles: \\*\nCopyright: [0-9]+ [^\n]+\nLicense: [^\n]+\n"
             "copyright Files paragraph")

# The changelog is compressed as gzip -9n does it: no file name, no time stamp, best compression.
file(READ ${doc}/changelog.Debian.gz header LIMIT 10 HEX)
expect_match("${header}" "^1f8b08000000000002" "changelog.Debian.gz header")
run(gzip -d -c ${doc}/changelog.Debian.gz)
set(changelog "${out}")
string(REPLACE "." "\\." version_regex "${DEB_VERSION}")
expect_match("${changelog}" "^kolumbra \\(${version_regex}\\) [a-z-]+; urgency=[a-z]+\n\n  \\* "
             "the latest changelog entry")
expect_match("${changelog}"
             "\n -- [^<\n]+ <[^@>\n]+@[^>\n]+>  (Mon|Tue|Wed|Thu|Fri|Sat|Sun), [0-9][0-9] [A-Z][a-z][a-z] [0-9][0-9][0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9] [-+][0-9][0-9][0-9][0-9]\n"
             "the changelog trailer")

# The programs are stripped of symbols and of the compiler's notes.
foreach(program kolumbra kolumbra-cli)
  run(${READELF} --section-headers --wide ${root}/usr/bin/${program})
  foreach(section .symtab .comment .debug_info)
    string(FIND "${out}" " ${section} " at)
    if(NOT at EQUAL -1)
      message(FATAL_ERROR "usr/bin/${program} keeps its ${section} section")
    endif()
  endforeach()
endforeach()
