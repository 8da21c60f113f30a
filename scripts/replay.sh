#!/usr/bin/env bash
# Plays a technician's session back at the desk (docs/replay.md):
#
#   scripts/replay.sh QM47.log [--session N] [--watch] [--timing]
#
# Installs what is missing and builds the win64 program, the simulated
# printers and the replay's driver as scripts/demo.sh does, maps every port
# the session names to a pty, starts QM47.exe under Wine beside the simulated
# printer that answers as the technician's printer did, drives it from the
# log's actions and compares what it does with the log. Prints a report and
# the first difference. Exit code: 0 everything agreed, 1 a difference, 2 the
# log cannot be replayed.
#   --session N  the log's session N (counted from 1; default the last)
#   --watch      on your display (DISPLAY), with a pause between the steps;
#                a step whose values the log lacks waits for you to enter
#                them and press the button; the program stays up at the end
#   --timing     each library call takes as long as it took there
# The Wine prefix is kept in build/replay/wineprefix so that the next replay
# starts quickly.
set -uo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
log=
options=()
while [ $# -gt 0 ]; do
  case $1 in
    --session) [[ ${2:-} =~ ^[1-9][0-9]{0,5}$ ]] || { echo "replay: --session needs a session number, from 1" >&2; exit 2; }
               options+=(--session "$2"); shift 2 ;;
    --watch | --timing) options+=("$1"); shift ;;
    -*) echo "usage: scripts/replay.sh QM47.log [--session N] [--watch] [--timing]" >&2; exit 2 ;;
    *) log=$(realpath "$1") || exit 2; shift ;;
  esac
done
if [ -z "$log" ] || [ ! -f "$log" ]; then
  echo "usage: scripts/replay.sh QM47.log [--session N] [--watch] [--timing]" >&2
  exit 2
fi
watch=
[[ " ${options[*]} " == *" --watch "* ]] && watch=1
if [ -n "$watch" ] && [ -z "${DISPLAY:-}" ]; then
  echo "replay: --watch shows the program on your display, and DISPLAY is not set" >&2
  exit 2
fi

cd "$repo" || exit 2
bash scripts/setup.sh || exit 2
# shellcheck source=scripts/wine-env.sh
. scripts/wine-env.sh
# shellcheck source=scripts/replay-env.sh
. scripts/replay-env.sh
build_preset win64 QM47 qm47sim qm47sim_without_LBFSTRQ24 qm47sim_sparse ReplayDriver || exit 2

begin_run replay
[ -n "$watch" ] || start_display "$run_dir" || exit 2
use_prefix "$repo/build/replay/wineprefix"
mkdir -p "$repo/build/replay"
prefix_made || echo "replay: making the Wine prefix (once)..." >&2
make_prefix "$([ -n "$watch" ] && echo managed || echo headless)" || exit 2
replay_log "$log" "${options[@]}"
