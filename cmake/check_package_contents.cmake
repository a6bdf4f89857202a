# cmake -DBINARY_DIR=... -DOUTPUT_DIR=... [-DLINTIAN=...] -P check_package_contents.cmake
# Builds the Debian package into OUTPUT_DIR and checks what Debian asks of
# it: the copyright and a changelog.gz compressed without name or time stamp
# in /usr/share/doc/billprint, the manual page, the program, the desktop
# entry. With LINTIAN, lintian may report no error but the Maintainer's
# mail host (the project has no public mailbox).
file(REMOVE_RECURSE "${OUTPUT_DIR}")
file(MAKE_DIRECTORY "${OUTPUT_DIR}")
execute_process(COMMAND cpack -G DEB -B "${OUTPUT_DIR}" --config "${BINARY_DIR}/CPackConfig.cmake"
                WORKING_DIRECTORY "${OUTPUT_DIR}" RESULT_VARIABLE failed OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(failed)
  message(FATAL_ERROR "cpack failed:\n${out}")
endif()
file(GLOB deb "${OUTPUT_DIR}/billprint_*_amd64.deb")
if(NOT deb)
  message(FATAL_ERROR "no billprint_*_amd64.deb in ${OUTPUT_DIR}:\n${out}")
endif()

execute_process(COMMAND dpkg-deb -c "${deb}" OUTPUT_VARIABLE listing COMMAND_ERROR_IS_FATAL ANY)
foreach(path
    ./usr/bin/billprint
    ./usr/share/applications/billprint.desktop
    ./usr/share/mime/packages/billprint.xml
    ./usr/share/icons/hicolor/48x48/apps/billprint.png
    ./usr/share/doc/billprint/copyright
    ./usr/share/doc/billprint/changelog.gz
    ./usr/share/man/man1/billprint.1.gz)
  string(FIND "${listing}" " ${path}\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${path} is not in the package:\n${listing}")
  endif()
endforeach()

# gzip -n leaves the header's time stamp zero (bytes 4..7) and sets no
# name flag (bit 3 of byte 3), so two builds give the same bytes.
set(unpacked "${OUTPUT_DIR}/unpacked")
execute_process(COMMAND dpkg-deb -x "${deb}" "${unpacked}" COMMAND_ERROR_IS_FATAL ANY)
foreach(gz usr/share/doc/billprint/changelog.gz usr/share/man/man1/billprint.1.gz)
  file(READ "${unpacked}/${gz}" header LIMIT 8 HEX)
  if(NOT header MATCHES "^1f8b08[0-9a-f][0-7]00000000$")
    message(FATAL_ERROR "${gz} has a name or time stamp in its gzip header (${header}): compress with gzip -9n")
  endif()
endforeach()
file(STRINGS "${unpacked}/usr/share/doc/billprint/copyright" format LIMIT_COUNT 1)
if(NOT format STREQUAL "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/")
  message(FATAL_ERROR "the copyright file is not in Debian's machine-readable format: ${format}")
endif()

if(LINTIAN)
  execute_process(COMMAND ${LINTIAN} --no-tag-display-limit "${deb}" OUTPUT_VARIABLE report ERROR_VARIABLE report)
  string(REGEX MATCHALL "E: [^\n]*" errors "${report}")
  list(FILTER errors EXCLUDE REGEX "bogus-mail-host")
  if(errors)
    message(FATAL_ERROR "lintian:\n${report}")
  endif()
endif()
file(REMOVE_RECURSE "${OUTPUT_DIR}")
