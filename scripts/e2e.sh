#!/usr/bin/env bash
# Runs the end-to-end tests (qm47_e2e.exe) under Wine against a built win64
# tree. Builds nothing: build first with
#     cmake --preset win64 && cmake --build --preset win64
#
# Usage: scripts/e2e.sh [build-dir] [--program DIR]
#                       [--library DIR [--library-filter FILTER]]...
#                       [test-program arguments...]
#     build-dir defaults to build/win64: the build of the test program
#         (tests/e2e/qm47_e2e.exe), and by default of what it tests;
#     --program DIR: test the QM47.exe of DIR instead, e.g. build/win32 for
#         the 32-bit program (the 64-bit test program drives it alike);
#     --library DIR: the simulated printer's folder (VaronelServiceLibrary.dll
#         and its variants/), default <program dir>/sim; given more than
#         once, the tests run once per library, in the same prefix;
#     --library-filter FILTER: a GoogleTest filter for the runs with the
#         library given just before it (it takes the place of a
#         --gtest_filter among the test program's arguments);
#     --replays DIR: afterwards, in the same prefix and on the same COM3,
#         replay each recorded session DIR/*.log with the build's own 64-bit
#         program (tests/replay/checks.sh);
#     other arguments go to the test program, e.g. --gtest_filter='Connect*'.
# Environment: QM47_KEEP_RUN=1 leaves the run's folder (prefix, working
# folders, serial line capture) in place and prints where it is;
# QM47_E2E_TIMEOUT bounds the whole test program (seconds, default 900).
#
# The run makes its own Wine prefix, X display (Xvfb) and serial lines (ptys
# from socat: COM3, and COM4 whose far end the tests drive), and on exit ends
# only what it started. Its exit code is the tests'.
set -euo pipefail

build_dir=build/win64
if [ $# -gt 0 ] && [ "${1#-}" = "$1" ]; then
  build_dir=$1
  shift
fi
build_dir=$(realpath "$build_dir")
program_dir=$build_dir
libraries=()
library_filters=() # by the index of the library, where one was given
replays=
while [ $# -gt 0 ]; do
  case $1 in
    --program) [ $# -ge 2 ] || { echo "e2e: --program needs a folder" >&2; exit 2; }
               program_dir=$(realpath "$2"); shift 2 ;;
    --library) [ $# -ge 2 ] || { echo "e2e: --library needs a folder" >&2; exit 2; }
               libraries+=("$(realpath "$2")"); shift 2 ;;
    --library-filter)
      if [ $# -lt 2 ] || [ ${#libraries[@]} = 0 ]; then
        echo "e2e: --library-filter needs a filter, after a --library" >&2; exit 2
      fi
      library_filters[${#libraries[@]} - 1]=$2; shift 2 ;;
    --replays) [ $# -ge 2 ] || { echo "e2e: --replays needs a folder" >&2; exit 2; }
               replays=$(realpath "$2"); shift 2 ;;
    *) break ;;
  esac
done
[ ${#libraries[@]} -gt 0 ] || libraries=("$program_dir/sim")
test_program=$build_dir/tests/e2e/qm47_e2e.exe
# shellcheck source=scripts/wine-env.sh
. "$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine-env.sh"
require_built "$test_program" "$program_dir/QM47.exe"
for library in "${libraries[@]}"; do
  if [ ! -f "$library/VaronelServiceLibrary.dll" ]; then
    echo "e2e: no simulated printer in $library" >&2
    exit 2
  fi
done

started=$(date +%s.%N)
begin_wine_run e2e
# The serial line: COM3, every byte the program sends on it kept in a file.
line_capture=$run_dir/serial-line.bin
map_com_port COM3 "$run_dir" "$line_capture"
line_pty=$pty_device
# A second line, COM4, whose far end the tests hold, hang up and reconnect.
controlled_capture=$run_dir/controlled-line.bin
map_controlled_com_port COM4 "$run_dir" "$controlled_capture"
prepared=$(date +%s.%N)

mkdir -p "$run_dir/work"
# What the test program reads (tests/e2e/Driver.h, RunEnvironment).
QM47_E2E_BUILD=$(windows_path "$program_dir")
QM47_E2E_WORK=$(windows_path "$run_dir/work")
QM47_E2E_COM=COM3
QM47_E2E_LINE=$(windows_path "$line_capture")
QM47_E2E_CONTROLLED_COM=COM4
QM47_E2E_CONTROLLED_LINE=$(windows_path "$controlled_capture")
QM47_E2E_LINE_CONTROL=$(windows_path "$run_dir/COM4-control")
export QM47_E2E_BUILD QM47_E2E_WORK QM47_E2E_COM QM47_E2E_LINE QM47_E2E_CONTROLLED_COM QM47_E2E_CONTROLLED_LINE \
  QM47_E2E_LINE_CONTROL QM47_E2E_SIM

# A last bound for each run of the tests; every wait inside them is bounded too.
status=0
for index in "${!libraries[@]}"; do
  library=${libraries[index]}
  QM47_E2E_SIM=$(windows_path "$library")
  if [ ${#libraries[@]} -gt 1 ] || [ "$program_dir" != "$build_dir" ]; then
    echo "e2e: testing $program_dir/QM47.exe with $library/VaronelServiceLibrary.dll" >&2
  fi
  set +e
  # GoogleTest takes the last --gtest_filter it is given.
  run_wine --within "${QM47_E2E_TIMEOUT:-900}" "$test_program" --gtest_color=no "$@" \
    ${library_filters[index]:+"--gtest_filter=${library_filters[index]}"}
  code=$?
  set -e
  [ "$code" = 0 ] || status=$code
done
finished=$(date +%s.%N)
if [ -n "$replays" ]; then
  replay_build=$build_dir
  # shellcheck source=scripts/replay-env.sh
  . "$(dirname "${BASH_SOURCE[0]}")/replay-env.sh"
  # shellcheck source=tests/replay/checks.sh
  . "$(dirname "${BASH_SOURCE[0]}")/../tests/replay/checks.sh"
  replay_pty=$line_pty
  replay_capture=$line_capture
  replay_mapped[COM3]=1
  replay_checks "$replays" || status=1
fi
replayed=$(date +%s.%N)
awk -v a="$started" -v b="$prepared" -v c="$finished" -v d="$replayed" -v r="$replays" \
  'BEGIN { printf "e2e: prefix and display ready in %.1f s, tests ran in %.1f s%s\n", b - a, c - b,
           r == "" ? "" : sprintf(", replays in %.1f s", d - c) }' >&2
exit "$status"
