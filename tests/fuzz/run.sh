#!/usr/bin/env bash
# Builds the libFuzzer targets (preset fuzz: clang with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for SECONDS (default 600),
# starting from its seeds in tests/fuzz/corpus/<target>/, as many at once as
# the machine has processors (QM47_JOBS sets another number). Prints per target
# the executions, the size of the corpus it reached and its findings, then
# "N passed, N failed" counting targets. Exits non-zero on any finding.
#
# The corpus grown by a run is kept in build/fuzz/corpus/<target>/ and used
# again by the next run; a finding is saved in build/fuzz/findings/<target>/
# (run the target on that file to see it again).
#
#   tests/fuzz/run.sh [SECONDS]
set -uo pipefail
cd "$(dirname "$0")/../.." || exit 1
root=$PWD
# shellcheck source=scripts/common.sh
. scripts/common.sh
seconds=${1:-600}

if ! build_preset fuzz; then
  echo "fuzz: build failed"
  echo "0 passed, 1 failed"
  exit 1
fi

targets=$(sed -n '/^set(QM47_FUZZ_TARGETS/,/)/p' tests/fuzz/CMakeLists.txt | tr -d '()' | awk 'NR > 1 { print $1 }')

# The targets' working files (the header conversion's) go to a folder of
# this run, in memory where there is one: file creation on disk is what
# makes that target slow.
base=/tmp
[ -d /dev/shm ] && [ -w /dev/shm ] && base=/dev/shm
work=$(mktemp -d "$base/qm47-fuzz.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Runs one target; its output goes to $work/TARGET.log, its exit code to
# $work/TARGET.rc.
run_target() { # TARGET
  local corpus=$root/build/fuzz/corpus/$1 findings=$root/build/fuzz/findings/$1
  mkdir -p "$corpus" "$findings"
  TMPDIR=$work "$root/build/fuzz/tests/fuzz/fuzz_$1" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings/" "$corpus" "$root/tests/fuzz/corpus/$1" >"$work/$1.log" 2>&1
  echo $? >"$work/$1.rc"
}

# A target keeps one processor busy: as many run at once as there are.
for target in $targets; do
  while [ "$(jobs -pr | wc -l)" -ge "$(build_jobs)" ]; do wait -n; done
  run_target "$target" &
done
wait

passed=0
failed=0
for target in $targets; do
  log=$work/$target.log
  rc=$(cat "$work/$target.rc" 2>/dev/null || echo "none")
  executions=$(awk '/^stat::number_of_executed_units:/ { print $NF }' "$log")
  # The corpus as libFuzzer holds it at the end: "corp: <inputs>/<bytes>".
  inputs=$(grep -o 'corp: [0-9]*/[0-9]*[a-zA-Z]*' "$log" | tail -1 | sed 's/corp: //; s|/| inputs, |')
  found=$(grep -c 'Test unit written to' "$log")
  if [ "$rc" = 0 ] && [ "$found" -eq 0 ]; then
    passed=$((passed + 1))
    echo "fuzz $target: ${executions:-0} executions, corpus ${inputs:-0 inputs}, no findings"
  else
    failed=$((failed + 1))
    echo "fuzz $target: ${executions:-0} executions, corpus ${inputs:-0 inputs}, FINDING (exit $rc)"
    grep -E 'property does not hold|^SUMMARY|^==[0-9]+==ERROR|Test unit written to' "$log" | head -20
  fi
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
