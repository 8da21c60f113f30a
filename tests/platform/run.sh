#!/usr/bin/env bash
# The platform layer under Wine, below the program: the Win32 dialog backend
# on real windows, and the serial link on a real serial line. Builds nothing:
# build the win64 preset first.
#
#   tests/platform/run.sh [build-dir]      (default build/win64)
#
# 1. dialog_backend_probe.exe opens dialogs of its own templates, checks
#    them, answers its own message boxes and prints one "ok"/"FAIL" line per
#    check.
# 2. serial_link_probe.exe sends a fiscalization frame on
#    COM12, a pty reached only through the device namespace (ports above
#    COM9 need it); the line must carry the frame and one zero byte, and the
#    terminal the settings the link asked for. Then a port that does not
#    exist: the probe must report it, with the step that failed and the
#    system's error code, and still wait 100 ms.
#
# Ends with "platform: N passed, N failed"; exit 0 when nothing failed. Makes
# its own prefix, display and pty, and ends only what it started.
set -euo pipefail

build_dir=$(realpath "${1:-build/win64}")
backend_probe=$build_dir/tests/platform/dialog_backend_probe.exe
serial_probe=$build_dir/tests/platform/serial_link_probe.exe
# shellcheck source=scripts/wine-env.sh
. "$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/wine-env.sh"
require_built "$backend_probe" "$serial_probe"
begin_wine_run platform 1024x768x24
line=$run_dir/serial-line.bin
map_com_port COM12 "$run_dir" "$line"

# --- 1. The dialog backend ------------------------------------------------------
cp "$backend_probe" "$run_dir/"
code=0
(cd "$run_dir" && run_wine --within 120 dialog_backend_probe.exe) >"$run_dir/backend.out" 2>&1 || code=$?
tr -d '\r' <"$run_dir/backend.out" | grep -E '^(ok|FAIL)' || true
checks_passed=$((checks_passed + $(tr -d '\r' <"$run_dir/backend.out" | grep -c '^ok') ))
backend_failed=$(tr -d '\r' <"$run_dir/backend.out" | grep -c '^FAIL' || true)
checks_failed=$((checks_failed + backend_failed))
if [ "$code" != 0 ] && [ "$backend_failed" = 0 ]; then
  # Ended without reporting a failed check: crashed or timed out (124).
  echo "FAIL the dialog backend probe ended with exit code $code"
  checks_failed=$((checks_failed + 1))
fi

# The program's about box measured in each code page and at 100 % and 150 %.
for locale in pl_PL.UTF-8 en_US.UTF-8; do
  for dpi in 96 144; do
    run_wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
    out=$(cd "$run_dir" && QM47_WINE_LOCALE=$locale run_wine --within 60 dialog_backend_probe.exe --about | tr -d '\r') || true
    grep -E '^(ok|FAIL)' <<<"$out" | sed "s/^\(ok  \|FAIL\)/& [$locale, $dpi dpi]/" || true
    checks_passed=$((checks_passed + $(grep -c '^ok' <<<"$out" || true)))
    checks_failed=$((checks_failed + $(grep -c '^FAIL' <<<"$out" || true)))
    grep -qE '^(ok|FAIL)' <<<"$out" || { echo "FAIL [$locale, $dpi dpi] the about box was not measured"; checks_failed=$((checks_failed + 1)); }
  done
done

# --- 2. The serial link ---------------------------------------------------------
frame=$run_dir/expected.bin
# shellcheck disable=SC2016  # the frame holds a dollar sign
printf '\033P1$fNIP 123-456-78-90\37728\033\\\000' >"$frame"
code=0
out=$(run_wine "$serial_probe" com12 123-456-78-90 | tr -d '\r') || code=$?
check "COM12 opens" test "$code" = 0 -a "$(head -n 1 <<<"$out")" = opened
check "the link says the frame went out" test "$(sed -n 3p <<<"$out")" = sent
line_complete() { [ "$(stat -c %s "$line")" -ge "$(stat -c %s "$frame")" ]; }
wait_for 5 line_complete || true
check "exactly the frame and one zero byte reach the line" cmp -s "$frame" "$line"

settings=$(stty -a -F "$pty_device")
has_setting() { grep -Eq -- "(^|[ ;])$1(\$|[ ;])" <<<"$settings"; }
check "9600 baud" has_setting 'speed 9600 baud'
check "8 data bits" has_setting cs8
check "no parity" has_setting -parenb
check "one stop bit" has_setting -cstopb
check "no RTS/CTS handshake" has_setting -crtscts
check "output obeys XON/XOFF" has_setting ixon
check "no XON/XOFF for the input" has_setting -ixoff
check "XON character" has_setting 'start = \^Q'
check "XOFF character" has_setting 'stop = \^S'

code=0
out=$(run_wine "$serial_probe" com33 1234567890 | tr -d '\r') || code=$?
check "a missing port is reported" test "$code" = 1 -a "$(head -n 1 <<<"$out")" = "not opened"
# Step 0 is opening the port (CreateFileA); 2 is ERROR_FILE_NOT_FOUND.
check "the link names the failed step and the system's error" test "$(sed -n 4p <<<"$out")" = "failed step 0, system error 2"
check "the link says nothing went out" test "$(sed -n 3p <<<"$out")" = "not sent"
took=$(sed -n 's/^send took \([0-9]*\) ms$/\1/p' <<<"$out")
# whole milliseconds, truncated by the probe
check "Send still waits 100 ms" test "${took:-0}" -ge 99

echo "platform: $checks_passed passed, $checks_failed failed"
[ "$checks_failed" = 0 ]
