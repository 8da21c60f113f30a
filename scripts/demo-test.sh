#!/usr/bin/env bash
# The demo's first run on a new machine, scaled down to seconds: the demo's
# limits set to a tenth (30 s for the window instead of 300, a line every 3 s
# instead of 15), and a wrapper around Wine's loader that makes QM47's start
# late or fail.
#   1. A Wine prefix left half-made by an interrupted first run (wineboot
#      stopped after Wine began making it: its registry is there) is made
#      again, and the demo passes when the window appears 9 s after the
#      start, later than the old fixed 60 s wait scaled alike (6 s), and the
#      printer answers Connect in 12 s, later than the old fixed 10 s, saying
#      meanwhile that it waits for each.
#   2. QM47 ends before its window appears: the demo fails at once, not at the
#      end of its wait, saying so and showing Wine's own last lines.
#
#   scripts/demo-test.sh      (build the win64 preset first)
#
# The demo works in a folder of this run (QM47_DEMO_DIR), never in
# build/demo. Ends with "demo-test: N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
# shellcheck source=scripts/wine-env.sh
. scripts/wine-env.sh
require_built build/win64/QM47.exe build/win64/sim/VaronelServiceLibrary.dll build/win64/demo/qm47_demo_connect.exe
begin_run demo-test
unset DISPLAY # the demo takes its headless way: a display of its own, a screenshot
export QM47_DEMO_DIR=$run_dir/demo
mkdir -p "$QM47_DEMO_DIR"

# Wine's loader for everything but QM47.exe, which starts 9 s late (the
# delay is the fault made here, not a wait) or, with QM47_TEST_START=fails,
# is not found, so that Wine itself says why it ended.
cat >"$run_dir/loader" <<LOADER
#!/bin/sh
if [ "\$1" = QM47.exe ]; then
  case \$QM47_TEST_START in
    late) sleep 9 ;;
    fails) shift; set -- no-such-folder/QM47.exe "\$@" ;;
  esac
fi
exec "$wine_loader" "\$@"
LOADER
chmod +x "$run_dir/loader"

# Runs the demo with the wrapper and the scaled limits; its output goes to
# FILE and, indented, here. Sets demo_code and demo_seconds.
run_demo() { # FILE START [WINDOW_SECONDS]
  local started
  started=$EPOCHREALTIME
  QM47_TEST_START=$2 QM47_WINE_LOADER=$run_dir/loader QM47_DEMO_WINDOW_SECONDS=${3:-30} \
    QM47_DEMO_PROGRESS_SECONDS=3 bash scripts/demo.sh >"$1" 2>&1
  demo_code=$?
  demo_seconds=$(seconds_since "$started")
  sed 's/^/    /' "$1"
}
said() { grep -qF -- "$2" "$1"; } # FILE TEXT

# --- 1. A half-made prefix, and a window later than the old wait ----------------

use_prefix "$QM47_DEMO_DIR/wineprefix"
start_wine wineboot -i
if ! wait_for 120 test -f "$WINEPREFIX/.update-timestamp"; then
  echo "demo-test: wineboot did not begin making the prefix"
  exit 1
fi
stop_wineserver
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "demo-test: the interrupted wineboot left no registry; the half-made prefix is not the one wanted"
  exit 1
fi
: >"$WINEPREFIX/left-by-the-interrupted-run"

echo "demo-test: the demo with a half-made prefix, QM47's window 9 s late and a slow printer"
# Every call answers after 1.2 s: Connect makes ten of them.
echo "delay_ms = 1200" >"$QM47_DEMO_DIR/qm47sim.ini"
run_demo "$run_dir/late.out" late
rm -f "$QM47_DEMO_DIR/qm47sim.ini"
check "the demo passes when the window appears 9 s after the start (exit $demo_code)" test "$demo_code" = 0
check "it says every 3 s that it waits" said "$run_dir/late.out" "demo: waiting for QM47's window (6 s)..."
check "it says every 3 s that it waits for the printer" said "$run_dir/late.out" \
  "demo: waiting for the printer's answer (9 s)..."
made_again() { [ ! -e "$WINEPREFIX/left-by-the-interrupted-run" ] && prefix_made; }
check "the half-made prefix is made again and marked made" made_again

# --- 2. The program ends before its window ----------------------------------------

echo "demo-test: the demo with a QM47.exe that Wine cannot start"
run_demo "$run_dir/fails.out" fails 60
check "the demo fails, in ${demo_seconds} s, well before its 60 s wait ends" \
  test "$demo_code" = 1 -a "${demo_seconds%.*}" -lt 30
check "it says that QM47 ended before its window appeared" said "$run_dir/fails.out" \
  "demo: QM47 ended before its window appeared"
found_told() { # FILE
  said "$1" "wine: failed to open" && said "$1" "demo: QM47 is not running" && said "$1" "demo: windows on the screen: "
}
check "it shows Wine's last lines, whether QM47 runs and the windows on the screen" found_told "$run_dir/fails.out"

echo "demo-test: $checks_passed passed, $checks_failed failed"
[ "$checks_failed" = 0 ]
