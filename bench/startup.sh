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
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
poll_limit_ms=30000

for exe in "$win64/QM47.exe" "$win64/bench/BareDialog.exe" "$win64/bench/LaunchTimer.exe"; do
  [[ -f $exe ]] || { echo "missing $exe: build the win64 preset first" >&2; exit 1; }
done
(( runs >= 1 )) || { echo "runs must be at least 1" >&2; exit 1; }

work=$(mktemp -d /tmp/qm47-bench.XXXXXX)
xvfb_pid=""
app_pid=""
cleanup() {
  [[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null || true
  WINEPREFIX=$work/prefix "$wineserver" -k 2>/dev/null || true
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A display of our own.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 1 100); do [[ -s $work/display ]] && break; sleep 0.05; done
[[ -s $work/display ]] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$(head -n1 "$work/display")

# A prefix of our own, as the program's users have it: Polish code page, the
# Wine fonts installed, no window manager wait on close.
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=pl_PL.UTF-8 2>/dev/null # Wine then uses code page 1250
echo "Preparing the Wine prefix..." >&2
"$wine" wineboot -i >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
if [[ -d /usr/share/wine/fonts ]]; then cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"; fi
# Keep the server running between launches, as on a desktop where Wine is in
# use: restart it persistent, then let Wine's own services start again.
"$wineserver" -k || true
"$wineserver" -w || true
"$wineserver" -p
"$wine" wineboot >/dev/null 2>&1

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
windows_path() { echo "Z:$1" | tr '/' '\\'; }

# LaunchTimer runs inside Wine: it starts each program, polls in 1 ms steps
# until its window is shown, closes it, and alternates the two programs.
cp "$win64/bench/LaunchTimer.exe" "$work/"
timer_window=$qm47_window
timer_window=${timer_window#^}; timer_window=${timer_window%$}
[[ $timer_window == *"|"* ]] && timer_window="Brak biblioteki"
times=$("$wine" "$work/LaunchTimer.exe" "$runs" "$(windows_path "$work/qm47/QM47.exe")" "$timer_window" \
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
