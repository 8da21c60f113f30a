# The layer check: every include in the program's folders names a file of a
# folder that the including one may use (the table: cmake/Layers.cmake), so
# that the dependencies keep running one way. Run by every build
# (CMakeLists.txt) and by its own test on planted trees
# (tests/unit/LayerCheckTest.cmake):
#
#     cmake -DQM47_SOURCE_DIR=<tree> [-DQM47_BINARY_DIR=<build>] -P cmake/CheckLayers.cmake
#
# Every file of those folders is read, whatever its name ends in. An include
# is taken where the compiler finds it: a quoted one beside the includer when
# it starts with ./ or ../ or names a file there, else from the tree's top
# (an include without a folder is of a file beside the includer); one in
# angle brackets from the tree's top, and only when it names a folder of the
# tree (<vector> and <windows.h> are not checked). Its path is then
# normalised: "app/../ui/MainDlg.h" is ui/MainDlg.h. The tests, the
# benchmarks and the demo (and sim/tests/) may include anything.
#
# Fails with one line per include that breaks a rule, naming the file, the
# line, the include and what its folder may use, and one line per top-level
# folder that the table does not name (hidden folders, and the build that
# runs the check, aside).

cmake_minimum_required(VERSION 3.21)

if(NOT QM47_SOURCE_DIR)
  message(FATAL_ERROR "CheckLayers.cmake: give the tree to check as -DQM47_SOURCE_DIR=<folder>")
endif()
include(${CMAKE_CURRENT_LIST_DIR}/Layers.cmake)

set(broken)

set(named ${QM47_LAYERS} ${QM47_FREE_FOLDERS} ${QM47_OTHER_FOLDERS})
if(QM47_BINARY_DIR)
  file(RELATIVE_PATH build ${QM47_SOURCE_DIR} ${QM47_BINARY_DIR})
  string(REGEX MATCH "^[^/]+" build "${build}")
  list(APPEND named "${build}")
endif()
file(GLOB top LIST_DIRECTORIES true RELATIVE ${QM47_SOURCE_DIR} ${QM47_SOURCE_DIR}/*)
foreach(folder IN LISTS top)
  if(IS_DIRECTORY ${QM47_SOURCE_DIR}/${folder} AND NOT folder MATCHES "^\\." AND NOT folder IN_LIST named)
    list(APPEND broken "  ${folder}/: a folder cmake/Layers.cmake does not name; name it there with what it may include")
  endif()
endforeach()

# The folders of the tree an include in angle brackets may name.
set(folders ${QM47_LAYERS})
foreach(free IN LISTS QM47_FREE_FOLDERS)
  if(NOT free MATCHES "/")
    list(APPEND folders ${free})
  endif()
endforeach()

foreach(layer IN LISTS QM47_LAYERS)
  if(layer STREQUAL "sim")
    string(REPLACE ";" ", " rule "${QM47_LAYER_sim_FILES}")
  elseif(QM47_LAYER_${layer})
    string(REPLACE ";" "/, " rule "${QM47_LAYER_${layer}}/")
  else()
    set(rule "nothing outside itself")
  endif()

  file(GLOB_RECURSE sources RELATIVE ${QM47_SOURCE_DIR} ${QM47_SOURCE_DIR}/${layer}/*)
  foreach(source IN LISTS sources)
    set(free FALSE)
    foreach(folder IN LISTS QM47_FREE_FOLDERS)
      if(source MATCHES "^${folder}/")
        set(free TRUE)
      endif()
    endforeach()
    if(free)
      continue()
    endif()
    get_filename_component(beside ${source} DIRECTORY)
    # Each include with the line break before it, so that its line can be counted.
    file(READ ${QM47_SOURCE_DIR}/${source} content)
    set(rest "\n${content}")
    string(REGEX MATCHALL "\n[ \t]*#[ \t]*include[ \t]*(\"[^\"\n]+\"|<[^>\n]+>)" includes "${rest}")
    set(line 0)
    foreach(include IN LISTS includes)
      # Its line: the line breaks up to it.
      string(FIND "${rest}" "${include}" at)
      string(SUBSTRING "${rest}" 0 ${at} before)
      string(REGEX REPLACE "[^\n]" "" breaks "${before}\n")
      string(LENGTH "${breaks}" count)
      math(EXPR line "${line} + ${count}")
      string(LENGTH "${include}" length)
      math(EXPR at "${at} + ${length}")
      string(SUBSTRING "${rest}" ${at} -1 rest)

      string(REGEX REPLACE ".*include[ \t]*" "" spelled "${include}")
      string(REGEX REPLACE "^.(.*).$" "\\1" path "${spelled}")
      cmake_path(SET from_top NORMALIZE "${path}")
      cmake_path(SET from_beside NORMALIZE "${beside}/${path}")
      if(spelled MATCHES "^<")
        string(REGEX MATCH "^[^/]+" folder "${from_top}")
        if(NOT folder IN_LIST folders)
          continue()
        endif()
        set(included ${from_top})
      elseif(path MATCHES "^\\.\\.?/" OR NOT from_top MATCHES "/" OR EXISTS ${QM47_SOURCE_DIR}/${from_beside})
        set(included ${from_beside})
      else()
        set(included ${from_top})
      endif()

      string(REGEX MATCH "^[^/]+" folder "${included}")
      if(folder STREQUAL "..")
        list(APPEND broken "  ${source}:${line}: includes ${spelled}, which lies outside the tree")
        continue()
      elseif(folder STREQUAL layer)
        continue()
      elseif(layer STREQUAL "sim")
        if(included IN_LIST QM47_LAYER_sim_FILES)
          continue()
        endif()
      elseif(folder IN_LIST QM47_LAYER_${layer})
        continue()
      endif()
      if(NOT path STREQUAL included)
        string(APPEND spelled " (${included})")
      endif()
      list(APPEND broken "  ${source}:${line}: includes ${spelled}, but ${layer}/ may include only ${rule}")
    endforeach()
  endforeach()
endforeach()

if(broken)
  list(LENGTH broken count)
  string(REPLACE ";" "\n" lines "${broken}")
  message(FATAL_ERROR "Layer check: ${count} include(s) or folder(s) break the layers "
                      "(the rules are in cmake/Layers.cmake):\n${lines}")
endif()
