# cmake -DINPUT=... -DOUTPUT=... [-DCHANGELOG_VERSION=...] -P gzip_doc.cmake
# Compresses a file of the package's documentation with gzip -9n (no name
# or time stamp, so the same text always gives the same bytes), as Debian
# wants its changelogs and manual pages.
# With CHANGELOG_VERSION the input is the package changelog, and its top
# entry must name that version: a package whose changelog stops at an
# older version would tell the user the wrong story.
if(DEFINED CHANGELOG_VERSION)
  file(STRINGS "${INPUT}" first_line LIMIT_COUNT 1)
  if(NOT first_line MATCHES "^billprint \\(([^)]+)\\)")
    message(FATAL_ERROR "${INPUT}: the first line is not \"billprint (VERSION) ...\"")
  endif()
  if(NOT CMAKE_MATCH_1 STREQUAL CHANGELOG_VERSION)
    message(FATAL_ERROR "${INPUT}: the newest entry is ${CMAKE_MATCH_1}, the program is "
                        "${CHANGELOG_VERSION}: add an entry for ${CHANGELOG_VERSION}")
  endif()
endif()
execute_process(COMMAND gzip -9n -c "${INPUT}" OUTPUT_FILE "${OUTPUT}" RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "gzip -9n ${INPUT} failed")
endif()
