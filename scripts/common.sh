# shellcheck shell=bash
# Sourced by the scripts: what they all share whether or not they run Wine.

# How many compile jobs a build runs: QM47_JOBS, or one per processor.
build_jobs() {
  echo "${QM47_JOBS:-$(nproc 2>/dev/null || echo 2)}"
}

# Builds a preset (only the targets given, if any), configuring its folder
# build/PRESET first where it has not been configured yet. Run from the
# repository's folder.
build_preset() { # PRESET [TARGET...]
  local preset=$1
  shift
  { [ -f "build/$preset/build.ninja" ] || cmake --preset "$preset" >/dev/null; } &&
    cmake --build "build/$preset" -j "$(build_jobs)" ${1:+--target "$@"}
}

# Ends the script (exit 2) when one of the files has not been built.
require_built() { # FILE...
  local file
  for file; do
    [ -f "$file" ] || { echo "missing $file: build its preset first (scripts/test.sh builds all)" >&2; exit 2; }
  done
}

# Polls a command until it succeeds, for at most $1 seconds by the clock: a
# count of polls would stretch or shrink with a busy machine. Polls every
# poll_seconds (default 0.2; set it for one call, `poll_seconds=0.02 wait_for
# ...`, where the wait is short and quick answers count). With waiting_for set,
# prints "$waiting_for (N s)..." at every multiple N of progress_seconds
# (default 15), to the error output; N is the mark, however long the poll
# that passed it took. Fails when the command never succeeded in time.
wait_for() { # SECONDS COMMAND...
  local started now deadline mark step
  started=${EPOCHREALTIME//[!0-9]/} # microseconds, whatever the decimal sign
  deadline=$((started + $1 * 1000000))
  step=${progress_seconds:-15}
  mark=$step
  shift
  until "$@"; do
    now=${EPOCHREALTIME//[!0-9]/}
    [ "$now" -lt "$deadline" ] || return 1
    while [ -n "${waiting_for:-}" ] && [ "$now" -ge $((started + mark * 1000000)) ]; do
      echo "$waiting_for ($mark s)..." >&2
      mark=$((mark + step))
    done
    sleep "${poll_seconds:-0.2}"
  done
}

# Seconds since a moment taken with `date +%s.%N` (or from $EPOCHREALTIME),
# to a tenth.
seconds_since() {
  echo "$(date +%s.%N) $1" | awk '{ printf "%.1f", $1 - $2 }'
}

# Runs a check: the command must succeed. Prints "ok" or "FAIL" and the
# description, and counts it in checks_passed or checks_failed.
checks_passed=0
checks_failed=0
check() { # DESCRIPTION COMMAND...
  local description=$1
  shift
  if "$@"; then
    checks_passed=$((checks_passed + 1))
    echo "ok    $description"
  else
    checks_failed=$((checks_failed + 1))
    echo "FAIL  $description"
  fi
}

# How 32-bit Windows programs run on this machine, as scripts/setup-i386.sh
# found and wrote down in its status file:
#   native                the kernel runs them itself
#   emulated              they run under the i386 emulator setup-i386.sh registered
#   unavailable: WHY      never on this machine
#   not set up: WHY       setup-i386.sh has not run, did not finish, or its
#                         emulator is no longer registered (run it as root)
i386_status_file=/usr/local/lib/qm47/i386-status
i386_mode() {
  local status
  status=$(head -n 1 "$i386_status_file" 2>/dev/null || true)
  case $status in
    "ready native") echo native ;;
    "ready emulated")
      if grep -qx enabled /proc/sys/fs/binfmt_misc/qemu-i386 2>/dev/null; then echo emulated
      else echo "not set up: the i386 emulator is not registered (the machine restarted?)"; fi ;;
    unavailable*) echo "unavailable: ${status#unavailable }" ;;
    "") echo "not set up: scripts/setup-i386.sh has not run on this machine" ;;
    *) echo "not set up: scripts/setup-i386.sh did not finish (status: $status)" ;;
  esac
}

# Succeeds where 32-bit Windows programs run. Elsewhere prints why not:
# "SKIP: WHAT: ..." and returns 2 where this machine cannot run them at all,
# or returns 1 where scripts/setup-i386.sh has to run (as root) first.
require_i386() { # WHAT
  local mode
  mode=$(i386_mode)
  case $mode in
    native | emulated) return 0 ;;
    unavailable*) echo "SKIP: $1: this machine cannot run 32-bit Windows programs (${mode#unavailable: })"; return 2 ;;
    *) echo "$1: ${mode#not set up: }; run scripts/setup-i386.sh as root" >&2; return 1 ;;
  esac
}
