# The layer check: every `#include "folder/..."` in the program's folders
# names a folder that the including one may use, so that the dependencies
# keep running one way. Run by every build (CMakeLists.txt) and by its own
# test on planted trees (tests/unit/LayerCheckTest.cmake):
#
#     cmake -DQM47_SOURCE_DIR=<tree> -P cmake/CheckLayers.cmake
#
# Fails with one line per include that breaks a rule, naming the file, the
# line, the include and what its folder may use. An include without a folder
# is of a file beside the includer; system includes (<...>) are not checked;
# tests/, bench/ and demo/ (and sim/tests/) may include anything.

cmake_minimum_required(VERSION 3.21)

if(NOT QM47_SOURCE_DIR)
  message(FATAL_ERROR "CheckLayers.cmake: give the tree to check as -DQM47_SOURCE_DIR=<folder>")
endif()

# What each folder may include besides itself.
set(allowed_entry ui pages app framework serial res platform)
set(allowed_ui app framework res platform)
set(allowed_pages app framework serial res platform)
set(allowed_app serial framework res platform)
set(allowed_serial platform)
set(allowed_framework platform)
set(allowed_res framework)
set(allowed_platform)
# The simulated printer shares only the records and the export list with the program.
set(allowed_sim_files app/Records.h app/RecordFieldList.h app/DeviceLibraryExports.h)

set(broken)
foreach(layer entry ui pages app serial framework res platform sim)
  if(layer STREQUAL "sim")
    string(REPLACE ";" ", " rule "${allowed_sim_files}")
  elseif(allowed_${layer})
    string(REPLACE ";" "/, " rule "${allowed_${layer}}/")
  else()
    set(rule "nothing outside itself")
  endif()

  file(GLOB_RECURSE sources RELATIVE ${QM47_SOURCE_DIR}
    ${QM47_SOURCE_DIR}/${layer}/*.h ${QM47_SOURCE_DIR}/${layer}/*.cpp
    ${QM47_SOURCE_DIR}/${layer}/*.rc ${QM47_SOURCE_DIR}/${layer}/*.S)
  list(FILTER sources EXCLUDE REGEX "^sim/tests/")
  foreach(source IN LISTS sources)
    file(STRINGS ${QM47_SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+/")
    foreach(include IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" included "${include}")
      string(REGEX MATCH "^[^/]+" folder "${included}")
      if(folder STREQUAL layer)
        continue()
      elseif(layer STREQUAL "sim")
        if(included IN_LIST allowed_sim_files)
          continue()
        endif()
      elseif(folder IN_LIST allowed_${layer})
        continue()
      endif()
      # Found: its line number, read only now.
      file(STRINGS ${QM47_SOURCE_DIR}/${source} lines)
      set(number 0)
      set(at "?")
      foreach(line IN LISTS lines)
        math(EXPR number "${number} + 1")
        if(line STREQUAL include)
          set(at ${number})
          break()
        endif()
      endforeach()
      list(APPEND broken "  ${source}:${at}: includes \"${included}\", but ${layer}/ may include only ${rule}")
    endforeach()
  endforeach()
endforeach()

if(broken)
  list(LENGTH broken count)
  string(REPLACE ";" "\n" lines "${broken}")
  message(FATAL_ERROR "Layer check: ${count} include(s) point where their folder may not look "
                      "(the rules are in cmake/CheckLayers.cmake):\n${lines}")
endif()
