#!/usr/bin/env bash
# Shows QM47 working against the simulated printer under Wine.
#
# Builds the win64 preset, puts QM47.exe and the simulated printer
# (VaronelServiceLibrary.dll) in build/demo, maps COM1 to a pty whose bytes go,
# as a hex dump, to build/demo/serial-line.log, and starts the program there.
#   - With a DISPLAY: the program stays up for you; the script ends when you
#     close it. Watch the serial line with: tail -f build/demo/serial-line.log
#   - Without one: it starts Xvfb, presses "Połąc&z", waits for the status
#     panel, saves build/demo/qm47-connected.png and closes everything.
#
# The Wine prefix is kept in build/demo/wineprefix so that a second run starts
# quickly. Change the simulated printer's answers in build/demo/qm47sim.ini.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j2
build_dir=$repo/build/win64
demo_dir=$repo/build/demo


mkdir -p "$demo_dir"
cp "$build_dir/QM47.exe" "$build_dir/sim/VaronelServiceLibrary.dll" "$demo_dir/"
rm -f "$demo_dir/qm47sim.journal" "$demo_dir/qm47-connected.png"
if [ ! -f "$demo_dir/qm47sim.ini" ]; then
  cat >"$demo_dir/qm47sim.ini" <<'EOF'
# The simulated printer's answers; re-read at every call. Examples:
# online = 0                 the printer reports off-line
# device_name = TALMIR|Serwis
# fiscal = 1
EOF
fi

export WINEPREFIX=$demo_dir/wineprefix
# shellcheck source=scripts/wine-env.sh
. "$repo/scripts/wine-env.sh"

xvfb_pid=
socat_pid=
line_holder_open=
program_pid=
wine_started=

# shellcheck disable=SC2317  # run by the EXIT trap
finish() {
  local status=$?
  trap - EXIT INT TERM
  if [ -n "$program_pid" ] && kill -0 "$program_pid" 2>/dev/null; then
    kill "$program_pid" 2>/dev/null || true
  fi
  if [ -n "$wine_started" ]; then
    "$wineserver_bin" -k 2>/dev/null || true
    "$wineserver_bin" -w 2>/dev/null || true
  fi
  if [ -n "$line_holder_open" ]; then exec 4>&-; fi
  if [ -n "$socat_pid" ]; then kill "$socat_pid" 2>/dev/null || true; wait "$socat_pid" 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
  exit "$status"
}
trap finish EXIT
trap 'exit 130' INT TERM

wait_for() { # bound in seconds, then a command polled every 20 ms
  local steps=$(($1 * 50))
  shift
  while ! "$@"; do
    steps=$((steps - 1))
    if [ "$steps" -le 0 ]; then return 1; fi
    sleep 0.02
  done
}

headless=
if [ -z "${DISPLAY:-}" ]; then
  headless=1
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$demo_dir/.display" >"$demo_dir/xvfb.log" 2>&1 &
  xvfb_pid=$!
  wait_for 10 grep -q '[0-9]' "$demo_dir/.display" || { echo "demo: Xvfb did not start" >&2; exit 1; }
  DISPLAY=:$(tr -dc '0-9' <"$demo_dir/.display")
  export DISPLAY
fi

# COM1: a pty; every byte the program sends on it is dumped in hex.
line_log=$demo_dir/serial-line.log
: >"$line_log"
socat -u -x "PTY,raw,echo=0,link=$demo_dir/com1-pty" OPEN:/dev/null 2>>"$line_log" &
socat_pid=$!
wait_for 10 test -e "$demo_dir/com1-pty" || { echo "demo: socat did not make its pty" >&2; exit 1; }
pty_device=$(readlink -f "$demo_dir/com1-pty")
# Kept open here so the line survives the program closing the port.
exec 4<>"$pty_device"
line_holder_open=1

wine_started=1
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "demo: making the Wine prefix (once)..." >&2
  "$wine_loader" wineboot -i >/dev/null 2>&1
fi
install_wine_fonts
"$wine_loader" reg add 'HKLM\Software\Wine\Ports' /v COM1 /t REG_SZ /d "$pty_device" /f >/dev/null
if [ -n "$headless" ]; then
  # No window manager on Xvfb: let Wine place the windows itself.
  "$wine_loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null
else
  "$wine_loader" reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 || true
fi
# The port mapping takes effect when the prefix's services start again.
"$wineserver_bin" -k
"$wineserver_bin" -w

echo "demo: COM1 is $pty_device; its bytes go to $line_log" >&2
cd "$demo_dir"
if [ -z "$headless" ]; then
  echo "demo: QM47 is running; close its window to end the demo" >&2
  "$wine_loader" QM47.exe
  exit 0
fi

"$wine_loader" QM47.exe &
program_pid=$!
# QM47_DEMO_PAGE=<page button id> also opens that page for the screenshot.
if ! place=$("$wine_loader" "$build_dir/tests/e2e/qm47_demo_connect.exe" ${QM47_DEMO_PAGE:-}); then
  echo "demo: Connect did not work" >&2
  exit 1
fi
read -r x y width height <<<"$(echo "$place" | tr -d '\r')"

# The window is on screen once two captures in a row are the same.
shot=$demo_dir/qm47-connected${QM47_DEMO_PAGE:+-page-$QM47_DEMO_PAGE}.png
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
