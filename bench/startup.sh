#!/bin/bash
# Start-up benchmark: how long QM47.exe (win64) takes under Wine from launch
# until its first top-level window is visible, against a bare dialog program
# built with the same toolchain. Prints each program's median, the ratio, and
# the size of the stripped shipping exe (i686).
#
#   bench/startup.sh [runs]        (default 7; build the win64 preset first)
#
# Uses its own Wine prefix and Xvfb display and ends only what it started.
set -euo pipefail

runs=${1:-7}
root=$(cd "$(dirname "$0")/.." && pwd)
win64=$root/build/win64
win32=$root/build/win32
# shellcheck source=scripts/wine-env.sh
. "$root/scripts/wine-env.sh"

for exe in "$win64/QM47.exe" "$win64/bench/BareDialog.exe" "$win64/bench/LaunchTimer.exe"; do
  [[ -f $exe ]] || { echo "missing $exe: build the win64 preset first" >&2; exit 1; }
done
(( runs >= 1 )) || { echo "runs must be at least 1" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/qm47-bench.XXXXXX")
cleanup() {
  end_started
  rm -rf "$work"
}
trap cleanup EXIT

# A display and a prefix of our own, as the program's users have it: Polish
# code page, the Wine fonts installed, no window manager wait on close.
start_display "$work"
use_prefix "$work/prefix"
echo "Preparing the Wine prefix..." >&2
make_prefix headless
# Keep the server running between launches, as on a desktop where Wine is in
# use: restart it persistent, then let Wine's own services start again.
stop_wineserver
"$wineserver_bin" -p
run_wine wineboot >/dev/null 2>&1

# Each program in a folder of its own; QM47 with the simulated printer if built.
mkdir -p "$work/qm47" "$work/bare"
cp "$win64/QM47.exe" "$work/qm47/"
cp "$win64/bench/BareDialog.exe" "$work/bare/"
qm47_window='^TALMIR POLSKA$'
if [[ -f $win64/sim/VaronelServiceLibrary.dll ]]; then
  cp "$win64/sim/VaronelServiceLibrary.dll" "$work/qm47/"
  qm47_note="with the simulated printer library"
else
  qm47_window='^(TALMIR POLSKA|Brak biblioteki)$'
  qm47_note="WITHOUT the printer library: its first window is the missing-library box"
fi

median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# LaunchTimer runs inside Wine: it starts each program, polls in 1 ms steps
# until its window is shown, closes it, and alternates the two programs.
cp "$win64/bench/LaunchTimer.exe" "$work/"
timer_window=$qm47_window
timer_window=${timer_window#^}; timer_window=${timer_window%$}
[[ $timer_window == *"|"* ]] && timer_window="Brak biblioteki"
times=$(run_wine "$work/LaunchTimer.exe" "$runs" "$(windows_path "$work/qm47/QM47.exe")" "$timer_window" \
        "$(windows_path "$work/bare/BareDialog.exe")" "Bare dialog" | tr -d '\r')
read -r -a qm47_times <<<"$(echo "$times" | sed -n 1p | cut -d' ' -f2-)"
read -r -a bare_times <<<"$(echo "$times" | sed -n 2p | cut -d' ' -f2-)"
(( ${#qm47_times[@]} == runs && ${#bare_times[@]} == runs )) || { echo "the launch timer failed: $times" >&2; exit 1; }

qm47_median=$(median "${qm47_times[@]}")
bare_median=$(median "${bare_times[@]}")
echo "QM47.exe ($qm47_note)"
echo "  times (ms): ${qm47_times[*]}"
echo "  median: $qm47_median ms"
echo "BareDialog.exe"
echo "  times (ms): ${bare_times[*]}"
echo "  median: $bare_median ms"
awk -v a="$qm47_median" -v b="$bare_median" 'BEGIN { printf "ratio QM47 / bare: %.2f\n", a / b }'

if [[ -f $win32/QM47.exe ]]; then
  cp "$win32/QM47.exe" "$work/QM47-i686.exe"
  i686-w64-mingw32-strip "$work/QM47-i686.exe" 2>/dev/null || true
  size=$(stat -c %s "$work/QM47-i686.exe")
  awk -v s="$size" 'BEGIN { printf "stripped i686 QM47.exe: %d bytes (%.1f KiB; limit 512 KiB)\n", s, s / 1024 }'
else
  echo "stripped i686 QM47.exe: not built (cmake --preset win32 && cmake --build --preset win32)"
fi
