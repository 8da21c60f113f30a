# The layer check (cmake/CheckLayers.cmake) on planted trees: each case is a
# tree of one file with one include; the check must pass it, or fail naming
# the file, its line and the rule it breaks (or the folder it does not know).
#
#     cmake -DQM47_CHECKER=<CheckLayers.cmake> -DQM47_WORK_DIR=<folder> -P LayerCheckTest.cmake

# file | include ("..." unless written in <>) | expected: "pass", or what the failure must say
set(cases
  "app/Planted.cpp|ui/MainDlg.h|app/Planted.cpp:2: includes \"ui/MainDlg.h\", but app/ may include only serial/, framework/, res/, platform/"
  "framework/Planted.h|app/ServiceApp.h|framework/Planted.h:2: includes \"app/ServiceApp.h\", but framework/ may include only platform/"
  "serial/Planted.cpp|framework/Dialog.h|serial/Planted.cpp:2: includes \"framework/Dialog.h\", but serial/ may include only platform/"
  "platform/posix/Planted.cpp|serial/SerialLink.h|platform/posix/Planted.cpp:2: includes \"serial/SerialLink.h\", but platform/ may include only nothing outside itself"
  "res/Planted.cpp|app/Records.h|res/Planted.cpp:2: includes \"app/Records.h\", but res/ may include only framework/"
  "ui/Planted.cpp|pages/ClockPage.h|ui/Planted.cpp:2: includes \"pages/ClockPage.h\", but ui/ may include only app/, framework/, res/, platform/"
  "sim/Planted.cpp|app/ServiceApp.h|sim/Planted.cpp:2: includes \"app/ServiceApp.h\", but sim/ may include only app/Records.h"
  "sim/Planted.cpp|app/Records.h|pass"
  "pages/Planted.cpp|serial/FiscalizationFrame.h|pass"
  "entry/Planted.cpp|ui/MainDlg.h|pass"
  "app/Planted.cpp|Beside.h|pass"
  "tests/unit/Planted.cpp|ui/MainDlg.h|pass"
  "app/Planted.cpp|<ui/MainDlg.h>|app/Planted.cpp:2: includes <ui/MainDlg.h>, but app/"
  "app/Planted.cpp|app/../ui/MainDlg.h|includes \"app/../ui/MainDlg.h\" (ui/MainDlg.h), but app/"
  "platform/win32/Planted.cpp|platform/win32/../../ui/MainDlg.h|(ui/MainDlg.h), but platform/"
  "app/Planted.cpp|../ui/MainDlg.h|includes \"../ui/MainDlg.h\" (ui/MainDlg.h), but app/"
  "app/Planted.cpp|../../Outside.h|app/Planted.cpp:2: includes \"../../Outside.h\", which lies outside the tree"
  "ui/Planted.cpp|../app/ServiceApp.h|pass"
  "pages/Planted.inl|ui/MainDlg.h|pages/Planted.inl:2: includes \"ui/MainDlg.h\", but pages/"
  "pages/Planted.hpp|ui/MainDlg.h|pages/Planted.hpp:2: includes"
  "serial/Planted.cc|app/ServiceApp.h|serial/Planted.cc:2: includes"
  "platform/posix/Planted.c|app/ServiceApp.h|platform/posix/Planted.c:2: includes"
  "tools/replay/Planted.cpp|app/ServiceApp.h|tools/replay/Planted.cpp:2: includes \"app/ServiceApp.h\", but tools/ may include only sim/, res/"
  "extras/Planted.cpp|app/Records.h|extras/: a folder cmake/Layers.cmake does not name")

set(failures 0)
set(index 0)
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" columns "${case}")
  list(GET columns 0 file)
  list(GET columns 1 included)
  list(GET columns 2 expected)
  math(EXPR index "${index} + 1")
  set(tree ${QM47_WORK_DIR}/case${index})
  file(REMOVE_RECURSE ${tree})
  if(NOT included MATCHES "^<")
    set(included "\"${included}\"")
  endif()
  # Line 1 holds a letter outside ASCII, which must not throw the line count off.
  file(WRITE ${tree}/${file} "// planted: Połącz\n#include ${included}\n#include <vector>\n")
  execute_process(COMMAND ${CMAKE_COMMAND} -DQM47_SOURCE_DIR=${tree} -P ${QM47_CHECKER}
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(expected STREQUAL "pass")
    if(NOT result EQUAL 0)
      message(SEND_ERROR "${file} including ${included}: refused, but the rules allow it:\n${output}")
      math(EXPR failures "${failures} + 1")
    endif()
  else()
    string(FIND "${output}" "${expected}" found)
    if(result EQUAL 0 OR found EQUAL -1)
      message(SEND_ERROR "${file} including ${included}: expected a failure saying\n  ${expected}\ngot (exit ${result}):\n${output}")
      math(EXPR failures "${failures} + 1")
    endif()
  endif()
endforeach()
file(REMOVE_RECURSE ${QM47_WORK_DIR})
if(failures GREATER 0)
  message(FATAL_ERROR "${failures} case(s) of the layer check failed")
endif()
