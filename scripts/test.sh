#!/usr/bin/env bash
# Every test of QM47 from a fresh Debian 12 machine: installs what is missing,
# builds the three targets, runs the native unit tests (with AddressSanitizer
# and UndefinedBehaviorSanitizer), the end-to-end tests of the 64-bit
# QM47.exe under Wine and the replays of the recorded sessions, the platform
# layer's own checks under Wine, the demo's first run scaled down, and the
# 32-bit stage (under i386 emulation where the kernel cannot run it itself). The summary gives each stage's time and the
# total.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
# shellcheck source=scripts/common.sh
. scripts/common.sh

status=0
summary=()

# Seconds since a moment taken from $EPOCHREALTIME, as minutes and seconds.
minutes_since() { # MOMENT [END]
  awk -v a="$1" -v b="${2:-$EPOCHREALTIME}" 'BEGIN { s = int(b - a + 0.5); printf "%d:%02d", s / 60, s % 60 }'
}
test_started=$EPOCHREALTIME
stage() { echo; echo "=== $* ==="; stage_started=$EPOCHREALTIME; }
logs=$(mktemp -d)
trap '[ -z "${i686_pid:-}" ] || kill "$i686_pid" 2>/dev/null; rm -rf "$logs"' EXIT
tests_passed=0
tests_failed=0
# Runs a test stage, showing its output, and adds up the tests it reports:
# ctest's "... tests failed out of N", GoogleTest's "[  PASSED  ] N tests" and
# "[  FAILED  ] N tests", and plain "N passed, N failed" lines. A stage that
# fails without reporting a failed test counts as one failure.
run_tests() { # name command...
  local name=$1 log
  shift
  log=$logs/$(echo "$name" | tr -c 'a-zA-Z0-9' '_')
  "$@" 2>&1 | tee "$log"
  add_up "$name" "$log" "${PIPESTATUS[0]}"
}
add_up() { # name output exit-code
  local name=$1 log=$2 rc=$3 counts p f
  counts=$(awk '
    / tests passed, [0-9]+ tests failed out of [0-9]+$/ { f += $4; p += $9 - $4; next }
    /^\[  PASSED  \] [0-9]+ test/ { p += $4; next }
    /^\[  FAILED  \] [0-9]+ test/ { f += $4; next }
    /^([A-Za-z0-9-]+: )?[0-9]+ passed, [0-9]+ failed/ { n = ($1 ~ /:$/) ? 2 : 1; p += $n; f += $(n + 2); next }
    END { print p + 0, f + 0 }' "$log")
  read -r p f <<<"$counts"
  if [ "$rc" -ne 0 ] && [ "$f" -eq 0 ]; then f=1; fi
  tests_passed=$((tests_passed + p))
  tests_failed=$((tests_failed + f))
  record "$name ($p passed, $f failed)" "$rc"
}
# A line of the summary, with the time since the stage began (or until
# stage_ended, where it is set).
summarize() { # PASS|FAIL|SKIP name
  summary+=("$(printf '%s %6s  %s' "$1" "$(minutes_since "$stage_started" "${stage_ended:-}")" "$2")")
}
record() { # name exit-code
  if [ "$2" -eq 0 ]; then summarize PASS "$1"; else summarize FAIL "$1"; status=1; fi
}

# The Wine stages copy one prefix made once (scripts/wine-env.sh), except the
# demo's, whose making is what its stage tests.
export QM47_PREFIX_TEMPLATE=$logs/prefix-template

stage "set-up"
bash scripts/setup.sh || exit 1
record "set-up (Debian packages)" 0
# Exit 0 also where the machine cannot run 32-bit programs at all: then the
# 32-bit stage prints SKIP. Any other exit is a failed set-up.
i386_setup=0
if [ -x scripts/setup-i386.sh ]; then
  stage_started=$EPOCHREALTIME
  bash scripts/setup-i386.sh; i386_setup=$?
  record "32-bit set-up" $i386_setup
fi

# Of the 32-bit build, what the 32-bit stage and the release stage run: the
# test programs that drive it are 64-bit.
for preset in native win64 win32; do
  stage "build $preset"
  if [ "$preset" = win32 ]; then build_preset win32 qm47_i686_stage; else build_preset "$preset"; fi
  record "build $preset" $?
done

stage "native unit tests"
run_tests "native unit tests" ctest --preset native -j "$(build_jobs)" --output-on-failure

stage "fuzzing (10 s per target)"
run_tests "fuzzing" bash tests/fuzz/run.sh 10

# The 32-bit stage runs beside the 64-bit Wine stages, from here on: its
# tests take each program through the same commands, and one run leaves the
# processors idle much of the time (most where 32-bit code runs under the
# emulator). Its output follows in its own stage below.
i686_pid=
if [ -x scripts/test-i686.sh ] && [ "$i386_setup" = 0 ]; then
  i686_started=$EPOCHREALTIME
  # Ended with the test command: the stage ends what it started.
  {
    bash scripts/test-i686.sh & stage_pid=$!
    trap 'kill "$stage_pid" 2>/dev/null' TERM
    wait "$stage_pid"
    echo "$? $EPOCHREALTIME" >"$logs/i686.end"
  } >"$logs/i686.out" 2>&1 &
  i686_pid=$!
fi

stage "end-to-end tests and replays (64-bit, Wine)"
# The recorded sessions of tests/replay/ replayed in the same prefix (docs/replay.md).
run_tests "end-to-end tests and replays (64-bit)" bash scripts/e2e.sh build/win64 --replays tests/replay

stage "platform layer (64-bit, Wine)"
run_tests "platform layer" bash tests/platform/run.sh build/win64

stage "the demo's first run, scaled down (Wine)"
run_tests "demo's first run" env -u QM47_PREFIX_TEMPLATE bash scripts/demo-test.sh

stage "soak, short (Wine)"
# The 32-bit program too where the machine runs it natively (under emulation
# the short run would take minutes).
soak_programs=(win64)
[ "$(i386_mode)" = native ] && soak_programs+=(win32)
run_tests "soak (short)" bash bench/soak.sh --short "${soak_programs[@]}"

if [ -x scripts/test-i686.sh ]; then
  stage "32-bit stage (Wine, run beside the stages above)"
  if [ -n "$i686_pid" ]; then
    wait "$i686_pid"
    i686_pid=
    cat "$logs/i686.out"
    read -r i686_status stage_ended <"$logs/i686.end"
    stage_started=$i686_started
    case $(i386_mode) in
      unavailable*) summarize SKIP "32-bit stage" ;;
      *) add_up "32-bit stage" "$logs/i686.out" "$i686_status" ;;
    esac
    stage_ended=
  else
    echo "32-bit stage not run: scripts/setup-i386.sh failed (above)"
  fi
fi

if [ -x scripts/release-test.sh ]; then
  stage "release zip (built twice from HEAD, run under 32-bit Wine)"
  run_tests "release zip" bash scripts/release-test.sh
fi

stage "summary"
printf '%s\n' "${summary[@]}"
passed=$(printf '%s\n' "${summary[@]}" | grep -c '^PASS' || true)
failed=$(printf '%s\n' "${summary[@]}" | grep -c '^FAIL' || true)
echo "stages: $passed passed, $failed failed"
echo "tests: $tests_passed passed, $tests_failed failed"
echo "total time: $(minutes_since "$test_started") (minutes:seconds; each stage's is in its line above)"
exit $status
