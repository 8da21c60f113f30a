#!/bin/bash
# Soak benchmark: drives QM47.exe under Wine from outside (bench/SoakDriver.cpp)
# against the simulated printer through many cycles, and checks that after a
# warm-up the program's kernel handles, windows and GDI/USER objects do not
# grow and its private bytes grow by less than 64 KiB:
#   - Connect, Refresh, Disconnect, 1,000 times;
#   - every one of the nine pages opened, used once through its main button
#     (the message box it shows answered) and closed, 200 times.
# Prints a table of the samples (before the cycles, after the warm-up, every
# 100 cycles) and a verdict per quantity, for the 64-bit and the 32-bit
# program.
#
#   bench/soak.sh            the full run (build win64 and win32 first)
#   bench/soak.sh --short    the test command's short run: 25 connect and
#                            3 page cycles (27 page openings), fails when
#                            handles or windows grow beyond a small margin
#   bench/soak.sh [--short] win64|win32   one program only
#   bench/soak.sh --only=clock --pages=300 --connect=0 win64
#                            driver options (bench/SoakDriver.cpp) after the
#                            run's own: one page alone, other cycle counts
#   bench/soak.sh --log --connect=0 --pages=40 win64
#                            the program writes its diagnostic log, which is
#                            then replayed (scripts/replay.sh's way, with the
#                            64-bit program): the soak driver's time and the
#                            replay's for the same rounds, and their ratio
#
# Uses its own Wine prefix, Xvfb display and pty (as COM3, for the
# fiscalization page) and ends only what it started. The last line is
# "N passed, N failed", counting one check per quantity and program.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
short=
log=
programs=()
driver_options=()
for argument in "$@"; do
  case $argument in
    --short) short=1 ;;
    --log) log=1; driver_options+=(--log) ;;
    win64 | win32) programs+=("$argument") ;;
    --*=*) driver_options+=("$argument") ;;
    *) echo "usage: bench/soak.sh [--short] [--log] [--OPTION=VALUE]... [win64|win32]..." >&2; exit 2 ;;
  esac
done
[[ ${#programs[@]} -gt 0 ]] || programs=(win64 win32)

# shellcheck source=scripts/wine-env.sh
. "$root/scripts/wine-env.sh"
driver=$root/build/win64/bench/SoakDriver.exe
require_built "$driver"
for program in "${programs[@]}"; do
  require_built "$root/build/$program/QM47.exe" "$root/build/$program/sim/VaronelServiceLibrary.dll"
done

if [[ -n $short ]]; then
  # The margins are above the spread of the warm-up-to-end difference seen
  # over repeated short runs (what Wine itself makes once, late); a leak of
  # one handle or window per cycle exceeds them several times over.
  cycles=(--connect=25 --pages=3 --warmup=3 --every-connect=25 --every-pages=3
          --handle-margin=4 --window-margin=0 --object-margin=4 --private-limit-kib=0)
else
  cycles=(--connect=1000 --pages=200 --warmup=10 --every-connect=100 --every-pages=25
          --handle-margin=0 --window-margin=0 --object-margin=0 --private-limit-kib=64)
fi

begin_wine_run soak
work=$run_dir
map_com_port COM3 "$work" "$work/serial-line.bin"
if [ -n "$log" ]; then
  # shellcheck source=scripts/replay-env.sh
  . "$root/scripts/replay-env.sh"
  require_built "$replay_build/tools/replay/ReplayDriver.exe"
  replay_pty=$pty_device
  replay_capture=$work/serial-line.bin
  replay_mapped[COM3]=1
fi

passed=0
failed=0
for program in "${programs[@]}"; do
  folder=$work/$program
  mkdir -p "$folder"
  cp "$root/build/$program/QM47.exe" "$root/build/$program/sim/VaronelServiceLibrary.dll" "$folder/"
  echo "=== QM47.exe ($program) ==="
  set +e
  output=$(run_wine --within 3600 "$driver" "$(windows_path "$folder")" \
           --port=COM3 "${cycles[@]}" ${driver_options[@]+"${driver_options[@]}"} 2>"$work/driver-$program.log" | tr -d '\r')
  set -e
  # The driver's own closing line becomes this program's line; the script
  # closes with the total.
  echo "$output" | sed -E 's/^([0-9]+) passed, ([0-9]+) failed$/checks of the '"$program"' program: \1 within, \2 not/'
  counts=$(echo "$output" | sed -nE 's/^([0-9]+) passed, ([0-9]+) failed$/\1 \2/p' | tail -1)
  if [[ -z $counts ]]; then
    echo "the driver ended without a verdict:"
    cat "$work/driver-$program.log"
    counts="0 1"
  fi
  read -r p f <<<"$counts"
  if [ -n "$log" ]; then
    # The replay of the same rounds from the log, timed by its driver.
    soak_seconds=$(echo "$output" | sed -nE 's/.* cycles \(9 pages each\) in ([0-9.]+) s$/\1/p')
    replay=$(replay_log "$folder/QM47.log") && rc=0 || rc=$?
    echo "$replay"
    replay_seconds=$(echo "$replay" | sed -nE 's/.* replayed in ([0-9.]+) s$/\1/p')
    if [ "$rc" = 0 ] && [ -n "$soak_seconds" ] && [ -n "$replay_seconds" ]; then
      awk -v s="$soak_seconds" -v r="$replay_seconds" -v c="$(grep -c ' result=' "$folder/QM47.log")" \
        'BEGIN { printf "replay of the %s log: %d library calls; soak %.1f s, replay %.1f s: %.2f times (goal: at most 1.5)\n",
                 "'"$program"'", c, s, r, r / s }'
    else
      echo "the replay of the $program log did not agree"
      f=$((f + 1))
    fi
  fi
  passed=$((passed + p))
  failed=$((failed + f))
done
echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
