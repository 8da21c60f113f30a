# shellcheck shell=bash
# shellcheck disable=SC2154 # run_dir and pty_device come from scripts/wine-env.sh
# Sourced after scripts/wine-env.sh by what plays a technician's session back
# (scripts/replay.sh, the end-to-end stage's replays, bench/soak.sh --log),
# in the prefix and on the display the caller made:
#
#   replay_log LOG [--session N] [--watch] [--timing]
#       plays session N (default: the last) of LOG back (docs/replay.md) in a
#       folder of its own under $run_dir: QM47.exe beside the simulated
#       printer that answers from LOG (the one that lacks the exports the
#       log's library lacked), driven by tools/replay/ReplayDriver.exe.
#       Prints the driver's report and returns its exit code: 0 everything
#       agreed, 1 a difference, 2 the log cannot be replayed.
#
# Every COM port the session names becomes one pty, made at the first replay
# that needs one; a caller that has mapped a pty already sets replay_pty (its
# device), replay_capture (the file of the bytes sent on it) and
# replay_mapped[PORT]=1 for each port it maps. replay_build is the win64
# build with QM47.exe, the simulated printers and the driver.

replay_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
replay_build=${replay_build:-$replay_root/build/win64}
replay_pty=
replay_capture=
declare -A replay_mapped=()
replay_count=0

replay_map_port() { # PORT
  [ -z "${replay_mapped[$1]:-}" ] || return 0
  if [ -z "$replay_pty" ]; then
    replay_capture=$run_dir/replay-line.bin
    map_com_port "$1" "$run_dir" "$replay_capture" || return 1
    replay_pty=$pty_device
  else
    run_wine reg add 'HKLM\Software\Wine\Ports' /v "$1" /t REG_SZ /d "$replay_pty" /f >/dev/null || return 1
    stop_wineserver
  fi
  replay_mapped[$1]=1
}

replay_log() { # LOG [--session N] [--watch] [--timing]
  local log=$1 options=() bound=(--within 1800) folder code port
  local driver=$replay_build/tools/replay/ReplayDriver.exe
  shift
  while [ $# -gt 0 ]; do
    case $1 in
      --session) options+=(--session="${2:-}"); shift 2 || return 2 ;;
      --watch) options+=(--watch); bound=(); shift ;;
      --timing) options+=(--timing); shift ;;
      *) echo "replay: unknown option $1" >&2; return 2 ;;
    esac
  done
  require_built "$driver" "$replay_build/QM47.exe" "$replay_build/sim/VaronelServiceLibrary.dll"
  replay_count=$((replay_count + 1))
  folder=$run_dir/replay-$replay_count
  mkdir -p "$folder"
  cp "$replay_build/QM47.exe" "$folder/"
  # The driver names the ports still to map (exit code 3), once.
  for _ in 1 2; do
    run_wine "${bound[@]}" "$driver" "$(windows_path "$folder")" "$(windows_path "$log")" \
      --sim="$(windows_path "$replay_build/sim")" --exports="$(windows_path "$replay_root/sim/exports")" \
      --mapped="$(IFS=,; echo "${!replay_mapped[*]}")" \
      ${replay_capture:+--line="$(windows_path "$replay_capture")"} "${options[@]}" |
      tr -d '\r' | tee "$folder/report"
    code=${PIPESTATUS[0]}
    [ "$code" = 3 ] || return "$code"
    while read -r port; do
      replay_map_port "$port" || return 2
    done < <(sed -n 's/^replay: port \(.*\) to map$/\1/p' "$folder/report")
  done
  return 2
}
