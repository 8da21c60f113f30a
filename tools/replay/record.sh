#!/usr/bin/env bash
# Records the sessions of tests/replay/ again (docs/replay.md): each one is
# the QM47.log of QM47.exe started with /log beside the simulated printer, on
# COM3 (a pty), driven by tools/replay/RecordSession.exe.
#
#   tools/replay/record.sh [win64] [win32] [win32-cdecl]     (default: all three)
#   tools/replay/record.sh old-version DIR
#
#   win64        every-page.log, refusals.log, library-box.log, fault.log and
#                missing-exports.log, from the 64-bit program (build/win64)
#   win32        records-stdcall.log: the 32-bit program (build/win32) with
#                the __stdcall simulated printer (build/win32/sim)
#   win32-cdecl  records-cdecl.log: the same with the __cdecl one
#                (build/win32/sim/cdecl)
#   old-version DIR  old-version.log: the win64 build in DIR of a version
#                before the log's input lines (docs/replay.md says which),
#                every page opened and closed, the clock page refused off-line
# Build win64 first, and win32 for the 32-bit recordings (under the i386
# emulator each takes a few minutes). Uses its own prefix, display and pty.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
sessions=$root/tests/replay
# shellcheck source=scripts/wine-env.sh
. "$root/scripts/wine-env.sh"
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(win64 win32 win32-cdecl)
recorder=$root/build/win64/tools/replay/RecordSession.exe
require_built "$recorder"

begin_wine_run record
map_com_port COM3 "$run_dir" "$run_dir/serial-line.bin"

# record NAME SCENARIO PROGRAM_DIR LIBRARY_DIR [SETTING]
record() {
  local folder=$run_dir/$1
  require_built "$3/QM47.exe" "$4/VaronelServiceLibrary.dll"
  mkdir -p "$folder"
  cp "$3/QM47.exe" "$4/VaronelServiceLibrary.dll" "$folder/"
  printf '%s\r\n' "${5:-# the simulated printer as at load}" >"$folder/qm47sim.ini"
  echo "record: $1 ($2, $3/QM47.exe, $4)" >&2
  run_wine --within 900 "$recorder" "$(windows_path "$folder")" "$2" | tr -d '\r'
  cp "$folder/QM47.log" "$sessions/$1.log"
}

for target in "${targets[@]}"; do
  case $target in
    win64)
      record every-page every-page "$root/build/win64" "$root/build/win64/sim"
      record refusals refusals "$root/build/win64" "$root/build/win64/sim"
      record library-box library-box "$root/build/win64" "$root/build/win64/sim" "result.LBDAYREP = -25"
      record fault fault "$root/build/win64" "$root/build/win64/sim" "fault.LBDAYREP = null_write"
      record missing-exports missing-exports "$root/build/win64" "$root/build/win64/sim/variants/sparse" ;;
    win32) record records-stdcall records "$root/build/win32" "$root/build/win32/sim" ;;
    win32-cdecl) record records-cdecl records "$root/build/win32" "$root/build/win32/sim/cdecl" ;;
    old-version) break ;;
    *) echo "usage: tools/replay/record.sh [win64] [win32] [win32-cdecl]" >&2; exit 2 ;;
  esac
done
if [ "${targets[0]}" = old-version ]; then
  old=$(realpath "${targets[1]:?old-version needs the folder of an older win64 build}")
  # Connect asks the printer three times; the fourth answer, the clock page's, is off-line.
  record old-version pages-opened "$old" "$old/sim" "online_sequence = 1,1,1,0,1"
fi
