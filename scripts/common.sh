# shellcheck shell=bash
# Sourced by the scripts: what they all share whether or not they run Wine.

# How many compile jobs a build runs: QM47_JOBS, or one per processor.
build_jobs() {
  echo "${QM47_JOBS:-$(nproc 2>/dev/null || echo 2)}"
}

# Polls a command every 20 ms for at most $1 seconds; fails when it never
# succeeded within that bound.
wait_for() {
  local steps=$(($1 * 50))
  shift
  until "$@"; do
    steps=$((steps - 1))
    if [ "$steps" -le 0 ]; then return 1; fi
    sleep 0.02
  done
}
