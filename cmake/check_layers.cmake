# Fails when an #include in src/ runs against the order of the subsystems.
#
#   cmake -DSOURCE_DIR=<checkout> -P cmake/check_layers.cmake
#
# The subsystems, lowest first. A subsystem may include its own headers and
# those of any lower line; subsystems on the same line are peers and include
# none of each other. src/main.cpp sits above everything. docs/ARCHITECTURE.md
# describes the order and why each piece sits where it does.
#
#   app                               foundation: context, database, alerts, settings,
#                                     shared widgets (picture viewer, value input,
#                                     GBK length validator), web info, the main frame's
#                                     command registry (MainFrame)
#   refdata users addressbook         reference data, operators, address book and
#                                     the address parser (used by bills and batch)
#   templates                         template model, store, catalogue, packages,
#                                     template cache (check_ini_cache)
#   printing                          renderer, offsets, printers
#   bills                             bill entry windows and their records
#   designers history batch           template designers (print test pages, open
#                                     bill windows), history, batch print and import
#   maintenance                       data upgrade (reads history and import defaults)
#   shell                             main window, about, splash, the composition
#                                     root that installs every subsystem
#
# Also: the core library (src/<subsystem>/*) includes no window header
# (src/<subsystem>/ui/*), since it is built without QtWidgets.
cmake_minimum_required(VERSION 3.21)

set(layer_lines
  "app"
  "refdata users addressbook"
  "templates"
  "printing"
  "bills"
  "designers history batch"
  "maintenance"
  "shell")

if(NOT SOURCE_DIR)
  get_filename_component(SOURCE_DIR "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
endif()

set(rank 0)
foreach(line IN LISTS layer_lines)
  string(REPLACE " " ";" members "${line}")
  foreach(member IN LISTS members)
    set(rank_of_${member} ${rank})
  endforeach()
  math(EXPR rank "${rank} + 1")
endforeach()

set(offences "")
file(GLOB subsystem_dirs LIST_DIRECTORIES true "${SOURCE_DIR}/src/*")
foreach(dir IN LISTS subsystem_dirs)
  if(NOT IS_DIRECTORY "${dir}")
    continue()
  endif()
  get_filename_component(from "${dir}" NAME)
  if(NOT DEFINED rank_of_${from})
    list(APPEND offences "src/${from}/: a subsystem missing from the order in cmake/check_layers.cmake")
    continue()
  endif()
  file(GLOB_RECURSE files "${dir}/*.h" "${dir}/*.cpp")
  foreach(file IN LISTS files)
    file(RELATIVE_PATH rel "${SOURCE_DIR}" "${file}")
    set(in_core TRUE)
    if(rel MATCHES "^src/[^/]+/ui/")
      set(in_core FALSE)
    endif()
    file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(include IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*$" "\\1" header "${include}")
      if(NOT header MATCHES "^([^/]+)/")
        continue()
      endif()
      set(to "${CMAKE_MATCH_1}")
      if(NOT DEFINED rank_of_${to})
        continue()  # not one of ours (a system or library header)
      endif()
      if(in_core AND header MATCHES "^[^/]+/ui/")
        list(APPEND offences "${rel}: ${header} (a window header in the core library)")
      endif()
      if(to STREQUAL from)
        continue()
      endif()
      if(rank_of_${to} GREATER rank_of_${from})
        list(APPEND offences "${rel}: ${header} (${from} reaches up to ${to})")
      elseif(rank_of_${to} EQUAL rank_of_${from})
        list(APPEND offences "${rel}: ${header} (${from} and ${to} are peers)")
      endif()
    endforeach()
  endforeach()
endforeach()

if(offences)
  list(LENGTH offences count)
  list(JOIN offences "\n  " lines)
  message(FATAL_ERROR "${count} include(s) against the layer order:\n  ${lines}\n")
endif()
message(STATUS "Includes follow the layer order.")
