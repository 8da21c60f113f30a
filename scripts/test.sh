#!/usr/bin/env bash
# Every test of QM47 from a fresh Debian 12 machine: installs what is missing,
# builds the three targets, runs the native unit tests (with AddressSanitizer
# and UndefinedBehaviorSanitizer), the end-to-end tests of the 64-bit
# QM47.exe under Wine, and the 32-bit stage under i386 emulation.
set -uo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc 2>/dev/null || echo 2)
status=0
summary=()

stage() { echo; echo "=== $* ==="; }
record() { # name exit-code
  if [ "$2" -eq 0 ]; then summary+=("PASS  $1"); else summary+=("FAIL  $1"); status=1; fi
}

stage "set-up"
bash scripts/setup.sh || exit 1
# Exit 0 also where the machine cannot run 32-bit programs at all: then the
# 32-bit stage prints SKIP. Any other exit is a failed set-up.
i386_setup=0
if [ -x scripts/setup-i386.sh ]; then
  bash scripts/setup-i386.sh; i386_setup=$?
  record "32-bit set-up" $i386_setup
fi

for preset in native win64 win32; do
  stage "build $preset"
  if cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" -j "$jobs"; then
    record "build $preset" 0
  else
    record "build $preset" 1
  fi
done

stage "native unit tests"
ctest --preset native -j "$jobs" --output-on-failure; record "native unit tests" $?

if [ -x scripts/e2e.sh ]; then
  stage "end-to-end tests (64-bit, Wine)"
  bash scripts/e2e.sh build/win64; record "end-to-end tests (64-bit)" $?
fi

if [ -x scripts/test-i686.sh ]; then
  stage "32-bit stage (Wine)"
  if [ $i386_setup -eq 0 ]; then
    bash scripts/test-i686.sh; rc=$?
    if [ $rc -eq 0 ] && grep -q '^unavailable' /usr/local/lib/qm47/i386-status 2>/dev/null; then
      summary+=("SKIP  32-bit stage")
    else
      record "32-bit stage" $rc
    fi
  else
    echo "32-bit stage not run: scripts/setup-i386.sh failed (above)"
  fi
fi

stage "summary"
printf '%s\n' "${summary[@]}"
passed=$(printf '%s\n' "${summary[@]}" | grep -c '^PASS' || true)
failed=$(printf '%s\n' "${summary[@]}" | grep -c '^FAIL' || true)
echo "stages: $passed passed, $failed failed"
exit $status
