#!/bin/bash
# Start-up benchmark: how long QM47.exe (win64) takes under Wine from launch
# until its main window is visible, against two yardsticks built with the same
# toolchain:
#   - BareDialog.exe: an empty dialog of the main window's size and control
#     count (what any dialog program costs);
#   - SameDialogProgram.exe: a plain Win32 program, no framework, that shows
#     QM47's very main window, made from the program's own template by the
#     same template builder, with the program's own resources, and loads
#     nothing else.
# QM47 / same-dialog is the cost of QM47's own framework, application object
# and library binding. The three programs are launched in turn, run after
# run, so all see the same machine. Prints each program's median, quartiles,
# range and peak working set, the two ratios, and the size of the stripped
# shipping exe (i686).
#
#   bench/startup.sh [runs]        (default 21; build the win64 preset first)
#
# Uses its own Wine prefix and Xvfb display and ends only what it started.
set -euo pipefail

runs=${1:-21}
root=$(cd "$(dirname "$0")/.." && pwd)
win64=$root/build/win64
win32=$root/build/win32
# shellcheck source=scripts/wine-env.sh
. "$root/scripts/wine-env.sh"

require_built "$win64/QM47.exe" "$win64/bench/"{BareDialog,SameDialogProgram,LaunchTimer}.exe
(( runs >= 1 )) || { echo "runs must be at least 1" >&2; exit 1; }

# A display and a prefix of our own, as the program's users have it: Polish
# code page, the Wine fonts installed, no window manager wait on close.
echo "Preparing the Wine prefix..." >&2
begin_wine_run bench
work=$run_dir
# Keep the server running between launches, as on a desktop where Wine is in
# use: restart it persistent, then let Wine's own services start again.
stop_wineserver
"$wineserver_bin" -p
run_wine wineboot >/dev/null 2>&1

# Each program in a folder of its own; QM47 with the simulated printer if built.
mkdir -p "$work/qm47" "$work/bare" "$work/same"
cp "$win64/QM47.exe" "$work/qm47/"
cp "$win64/bench/BareDialog.exe" "$work/bare/"
cp "$win64/bench/SameDialogProgram.exe" "$work/same/"
qm47_window="TALMIR POLSKA"
if [[ -f $win64/sim/VaronelServiceLibrary.dll ]]; then
  cp "$win64/sim/VaronelServiceLibrary.dll" "$work/qm47/"
  qm47_note="with the simulated printer library"
else
  qm47_window="Brak biblioteki"
  qm47_note="WITHOUT the printer library: its first window is the missing-library box"
fi

# LaunchTimer runs inside Wine: it starts each program, polls in 1 ms steps
# until its window is shown, closes it, and takes the programs in turn.
cp "$win64/bench/LaunchTimer.exe" "$work/"
output=$(run_wine "$work/LaunchTimer.exe" "$runs" \
           "$(windows_path "$work/qm47/QM47.exe")" "$qm47_window" \
           "$(windows_path "$work/same/SameDialogProgram.exe")" "TALMIR POLSKA" \
           "$(windows_path "$work/bare/BareDialog.exe")" "Bare dialog" | tr -d '\r')
(( $(grep -c '^ms ' <<<"$output") == 3 )) || { echo "the launch timer failed: $output" >&2; exit 1; }
line() { grep "^$1 " <<<"$output" | sed -n "$2p" | cut -d' ' -f2-; }

# "median q1 q3 min max" of the numbers given.
stats() {
  printf '%s\n' "$@" | sort -n | awk '
    function at(p,   i, f) { i = 1 + p * (NR - 1); f = int(i); return v[f] + (i - f) * (v[f + 1] - v[f]) }
    { v[NR] = $1 } END { v[NR + 1] = v[NR]; printf "%s %s %s %s %s\n", at(0.5), at(0.25), at(0.75), v[1], v[NR] }'
}

names=("QM47.exe ($qm47_note)" "SameDialogProgram.exe (QM47's main window, plain Win32)" "BareDialog.exe (empty dialog)")
medians=()
for i in 1 2 3; do
  read -r -a times <<<"$(line ms "$i")"
  read -r -a peaks <<<"$(line peak-kib "$i")"
  (( ${#times[@]} == runs )) || { echo "the launch timer failed: $output" >&2; exit 1; }
  read -r median q1 q3 low high <<<"$(stats "${times[@]}")"
  read -r peak_median _ _ peak_low peak_high <<<"$(stats "${peaks[@]}")"
  medians+=("$median")
  echo "${names[i - 1]}"
  echo "  times (ms): ${times[*]}"
  awk -v m="$median" -v a="$q1" -v b="$q3" -v l="$low" -v h="$high" -v n="$runs" \
    'BEGIN { printf "  median %.1f ms, quartiles %.1f to %.1f ms, range %.1f to %.1f ms (%d runs)\n", m, a, b, l, h, n }'
  echo "  peak working set: median ${peak_median} KiB (${peak_low} to ${peak_high} KiB)"
done

awk -v a="${medians[0]}" -v s="${medians[1]}" -v b="${medians[2]}" 'BEGIN {
  printf "ratio QM47 / same dialog: %.3f (goal: at most 1.05)\n", a / s
  printf "ratio QM47 / bare dialog: %.3f\n", a / b }'

if [[ -f $win32/QM47.exe ]]; then
  cp "$win32/QM47.exe" "$work/QM47-i686.exe"
  i686-w64-mingw32-strip "$work/QM47-i686.exe" 2>/dev/null || true
  size=$(stat -c %s "$work/QM47-i686.exe")
  awk -v s="$size" 'BEGIN { printf "stripped i686 QM47.exe: %d bytes (%.1f KiB; limit 512 KiB)\n", s, s / 1024 }'
else
  echo "stripped i686 QM47.exe: not built (cmake --preset win32 && cmake --build --preset win32)"
fi
