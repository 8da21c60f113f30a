#!/usr/bin/env bash
# Shows QM47 working against the simulated printer under Wine.
#
# Installs what is missing (scripts/setup.sh), builds the win64 preset, puts
# QM47.exe and the simulated printer (VaronelServiceLibrary.dll) in
# build/demo, maps COM1 to a pty whose bytes go, as a hex dump, to
# build/demo/serial-line.log, and starts the program there.
#   - With a DISPLAY: the program stays up for you; the script ends when you
#     close it. Watch the serial line with: tail -f build/demo/serial-line.log
#   - Without one: it starts Xvfb, presses "Połąc&z", waits for the status
#     panel, saves build/demo/qm47-connected.png and closes everything.
#     QM47_DEMO_PAGE=<page> then also opens that page and saves
#     build/demo/qm47-connected-<page>.png; the pages are clock, rates,
#     header, fiscal, display, reports, goods, service and sale.
#
# The Wine prefix is kept in build/demo/wineprefix so that a second run starts
# quickly. The first start of Wine in a new prefix can take minutes on a new
# machine: the demo waits up to 5 minutes for the window, tells every 15 s that
# it still waits, and stops at once when the program has ended. When it fails
# it shows Wine's last lines (build/demo/wine.log keeps all of Wine's output),
# whether QM47 still runs and the windows on the screen. Change the simulated
# printer's answers in build/demo/qm47sim.ini.
#
# Settings (environment): QM47_DEMO_DIR, the demo's folder (default
# build/demo); QM47_DEMO_WINDOW_SECONDS, the wait for the window (default
# 300); QM47_DEMO_PROGRESS_SECONDS, between the lines that tell it still waits
# (default 15). As a technician's Windows of another language or scaling:
# QM47_DEMO_LOCALE (e.g. en_US.UTF-8, an English Windows's code page 1252;
# default pl_PL.UTF-8) and QM47_DEMO_DPI (e.g. 144 for 150 %; default 96),
# each in a prefix of its own (build/demo/wineprefix-en_US-144dpi), the
# screenshot named alike (qm47-connected-en_US-144dpi.png).
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
bash scripts/setup.sh
# shellcheck source=scripts/wine-env.sh
. scripts/wine-env.sh

build_preset win64 QM47 qm47sim qm47_demo_connect
build_dir=$repo/build/win64
demo_dir=${QM47_DEMO_DIR:-$repo/build/demo}
window_seconds=${QM47_DEMO_WINDOW_SECONDS:-300}
progress_seconds=${QM47_DEMO_PROGRESS_SECONDS:-15}

mkdir -p "$demo_dir"
cp "$build_dir/QM47.exe" "$build_dir/sim/VaronelServiceLibrary.dll" "$demo_dir/"
# Another language or scaling: its own prefix and screenshot (wine-env.sh).
export QM47_WINE_LOCALE=${QM47_DEMO_LOCALE:-} QM47_WINE_DPI=${QM47_DEMO_DPI:-}
variant=${QM47_DEMO_LOCALE:+-${QM47_DEMO_LOCALE%%.*}}${QM47_DEMO_DPI:+-${QM47_DEMO_DPI}dpi}
shot=$demo_dir/qm47-connected${QM47_DEMO_PAGE:+-$QM47_DEMO_PAGE}$variant.png
rm -f "$demo_dir/qm47sim.journal" "$shot"
if [ ! -f "$demo_dir/qm47sim.ini" ]; then
  cat >"$demo_dir/qm47sim.ini" <<'INI'
# The simulated printer's answers; re-read at every call. Examples:
# online = 0                 the printer reports off-line
# device_name = TALMIR|Serwis
# fiscal = 1
INI
fi

begin_run demo
wine_log=$demo_dir/wine.log
: >"$wine_log"

headless=
if [ -z "${DISPLAY:-}" ]; then
  headless=1
  # The main window at 150 % is about 1150 pixels wide.
  start_display "$run_dir" "$([ "${QM47_DEMO_DPI:-96}" -gt 96 ] && echo 1600x1200x24 || echo 1024x768x24)"
fi

use_prefix "$demo_dir/wineprefix$variant"
prefix_made || echo "demo: making the Wine prefix (once)..." >&2
if [ -n "$headless" ]; then make_prefix headless; else make_prefix managed; fi
line_log=$demo_dir/serial-line.log
: >"$line_log"
map_com_port COM1 "$run_dir" "$line_log" --hex

echo "demo: COM1 is $pty_device; its bytes go to $line_log" >&2
cd "$demo_dir"
if [ -z "$headless" ]; then
  echo "demo: QM47 is running; close its window to end the demo" >&2
  run_wine QM47.exe
  exit 0
fi

# Ends the demo (exit 1) saying what failed and what it found.
fail() { # WHAT
  local code=0 running="QM47 is still running"
  if ! kill -0 "$started_pid" 2>/dev/null; then
    wait "$started_pid" || code=$?
    running="QM47 is not running (it ended with exit code $code)"
  fi
  echo "demo: $1" >&2
  { show_wine_log; echo "$running"; echo "windows on the screen: $(window_titles)"; } | sed 's/^/demo: /' >&2
  exit 1
}

start_wine QM47.exe
if ! waiting_for="demo: waiting for QM47's window" \
  wait_for_window '^(TALMIR POLSKA|Brak biblioteki)$' "$window_seconds" "$started_pid"; then
  if kill -0 "$started_pid" 2>/dev/null; then
    fail "QM47's window did not appear within $window_seconds s"
  fi
  fail "QM47 ended before its window appeared"
fi
# Presses Connect (and opens the page asked for) and tells where the window is.
# Exit code 2: no page has the name asked for (it lists the names).
code=0
place=$(run_wine "$build_dir/demo/qm47_demo_connect.exe" ${QM47_DEMO_PAGE:+"$QM47_DEMO_PAGE"}) || code=$?
case $code in
  0) ;;
  2) exit 2 ;;
  *) fail "Connect did not work" ;;
esac
read -r x y width height <<<"$(echo "$place" | tr -d '\r')"

# The window is on screen once two captures in a row are the same.
last_sum=
capture_settled() {
  import -window root -crop "${width}x${height}+${x}+${y}" +repage "$shot" 2>/dev/null || return 1
  local now
  now=$(md5sum <"$shot")
  [ "$now" = "$last_sum" ] && return 0
  last_sum=$now
  return 1
}
if ! wait_for 5 capture_settled; then
  echo "demo: the window kept changing; the last capture is kept" >&2
fi
echo "demo: screenshot saved: $shot" >&2
