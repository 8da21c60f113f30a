# shellcheck shell=bash
# shellcheck disable=SC2154 # run_dir comes from scripts/wine-env.sh
# The replay's end-to-end checks, sourced by scripts/e2e.sh (--replays) once
# its tests have run, in the same prefix, display and pty (COM3):
#   - every recorded session of tests/replay/ replays with no difference
#     (recorded with /log, replayed with /log: the program's new log equals
#     the recorded one but for what is never compared);
#   - the same log with one field of one call changed by hand reports that
#     line as the first difference;
#   - every-page.log without its input lines (as an earlier version wrote
#     it) stops at the first press whose page needs values, and with a
#     refusal on the serial line says that it is not reproducible;
#   - a session cut off in the middle of a line (a power cut) with the next
#     session glued to it, as earlier versions wrote it: the next session
#     replays, the cut one is refused naming the cut line;
#   - scripts/replay.sh refuses a --session that is no session number.
# Prints "ok"/"FAIL" per check (the report of a failed one below it) and
# "replays: N passed, N failed"; returns 1 when a check failed.

# The last call line of LOG's last session with a number in what it
# sends gets that number (its last) raised by one, into OUT; prints the line's number.
change_one_field() { # LOG OUT
  awk -v out="$2" '
    { line[NR] = $0 }
    /^==== QM47 / { n = 0 }
    /^\[ *[0-9]+ ms\] [A-Z][A-Za-z_]* [a-z]/ && !/\)\r?$/ && /=-?[0-9]/ { call[++n] = NR }
    END {
      target = call[n]
      s = line[target]; at = 0
      for (rest = s; match(rest, /=-?[0-9]+/); rest = substr(rest, RSTART + RLENGTH)) {
        at += RSTART; width = RLENGTH; last = at; at += RLENGTH - 1
      }
      line[target] = substr(s, 1, last) (substr(s, last + 1, width - 1) + 1) substr(s, last + width)
      for (i = 1; i <= NR; i++) print line[i] > out
      print target
    }' "$1"
}

replay_checks() { # DIR
  local log name changed line code session report=$run_dir/replay-report
  checks_passed=0
  checks_failed=0
  for log in "$1"/*.log; do
    name=$(basename "$log" .log)
    replay_log "$log" >"$report" 2>&1
    code=$?
    check "the recorded session $name replays with no difference" test "$code" = 0
    [ "$code" = 0 ] || sed 's/^/      /' "$report"
    changed=$run_dir/$name-changed.log
    line=$(change_one_field "$log" "$changed")
    replay_log "$changed" >"$report" 2>&1
    code=$?
    grep -q "first difference at line $line of the log" "$report" || code="$code, not at line $line"
    check "$name with a field changed at line $line: the replay reports that line" test "$code" = 1
    [ "$code" = 1 ] || sed 's/^/      /' "$report"
  done
  log=$1/every-page.log
  grep -av '^\[ *[0-9]* ms\] input ' "$log" >"$run_dir/no-inputs.log"
  replay_log "$run_dir/no-inputs.log" >"$report" 2>&1
  code=$?
  grep -q "the page needs values the log does not hold" "$report" || code="$code, no step named"
  check "every-page without its input lines stops where a page needs values" test "$code" = 2
  [ "$code" = 2 ] || sed 's/^/      /' "$report"
  line=$(grep -an '\] serial link ".*" opened' "$log" | cut -d: -f1)
  awk -v at="$line" '{ print } NR == at { sub(/\] .*/, "] serial link: byte 3 refused 2 times, taken after 20 ms, last system error 0: -\r"); print }' \
    "$log" >"$run_dir/refused.log"
  replay_log "$run_dir/refused.log" >"$report" 2>&1
  code=$?
  grep -q "not reproducible (line $((line + 1))" "$report" || code="$code, not at line $((line + 1))"
  check "every-page with a refused byte on the serial line: not reproducible there" test "$code" = 2
  [ "$code" = 2 ] || sed 's/^/      /' "$report"
  head -n 19 "$1/fault.log" >"$run_dir/cut.log"
  sed -n 20p "$1/fault.log" | head -c 20 >>"$run_dir/cut.log"
  cat "$1/library-box.log" >>"$run_dir/cut.log"
  replay_log "$run_dir/cut.log" >"$report" 2>&1
  code=$?
  check "the session after a session cut off in a line replays with no difference" test "$code" = 0
  [ "$code" = 0 ] || sed 's/^/      /' "$report"
  replay_log "$run_dir/cut.log" --session 1 >"$report" 2>&1
  code=$?
  grep -q "session 1 cannot be read at line 20: the line breaks off" "$report" || code="$code, line 20 not named"
  check "the session cut off in a line is refused, naming the line" test "$code" = 2
  [ "$code" = 2 ] || sed 's/^/      /' "$report"
  for session in abc 0 1x; do
    "$replay_root/scripts/replay.sh" "$run_dir/cut.log" --session "$session" >"$report" 2>&1
    code=$?
    grep -q -- "--session needs a session number, from 1" "$report" || code="$code, not said"
    check "scripts/replay.sh --session $session: refused" test "$code" = 2
  done
  echo "replays: $checks_passed passed, $checks_failed failed"
  [ "$checks_failed" = 0 ]
}
