#!/bin/bash
# What creating and destroying one control (and showing one message box)
# leaves in the default heap under Wine, with the system's controls and with
# the common controls 6 QM47.exe asks for (bench/ControlHeapCheck.cpp), for
# the 64-bit and, when built, the 32-bit build. Explains the soak
# benchmark's private-bytes growth over the page rounds.
#
#   bench/control-heap.sh [rounds]     (default 50; build win64 first)
#
# Uses its own Wine prefix and Xvfb display and ends only what it started.
set -euo pipefail

rounds=${1:-50}
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=scripts/wine-env.sh
. "$root/scripts/wine-env.sh"
require_built "$root/build/win64/bench/ControlHeapCheck.exe"
begin_wine_run control-heap

for program in win64 win32; do
  exe=$root/build/$program/bench/ControlHeapCheck.exe
  [[ -f $exe ]] || continue
  loader=()
  [[ $program == win32 ]] && loader=(--32)
  echo "=== ControlHeapCheck.exe ($program) ==="
  run_wine "${loader[@]}" --within 600 "$exe" "$rounds" | tr -d '\r'
done
