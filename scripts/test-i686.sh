#!/usr/bin/env bash
# The 32-bit stage: the shipping build (build/win32) checked and run.
#
#   1. The simulated printer's two 32-bit builds, read without running them:
#      sim/ must have __stdcall exports and sim/cdecl/ __cdecl ones, each
#      export removing exactly its arguments (scripts/dll-convention.sh).
#   2. The 32-bit test programs under Wine, in a prefix of their own: the
#      call into the library with either convention, and the records of this
#      build read back by their documented byte offsets.
#   3. The end-to-end tests (scripts/e2e.sh, the 64-bit test program of
#      build/win64) against the 32-bit QM47.exe: all of them with the
#      __stdcall simulated printer, and with the __cdecl one those that call
#      every export with every record. The 32-bit simulated printer checks
#      every record it receives against the documented byte layout; any
#      disagreement fails the test that made the call.
#
#   scripts/test-i686.sh [BUILD_DIR]      (default build/win32)
#
# Environment: QM47_I686_E2E_FILTER, a GoogleTest filter for step 3
# (default: every test).
#
# Prints "SKIP: ..." and exits 0 after step 1 where setup-i386.sh found that
# this machine cannot run 32-bit programs at all; fails where set-up has not
# run or did not finish. Ends only what it started: its prefix's wineserver
# (scripts/e2e.sh ends its own).
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1

# shellcheck source=scripts/wine-env.sh
. scripts/wine-env.sh

build_dir=${1:-build/win32}

log() { echo "test-i686: $*"; }
stage_started=$(date +%s.%N)

# --- Builds ------------------------------------------------------------------

if [ ! -f "$build_dir/build.ninja" ]; then
    cmake --preset win32 > /dev/null || exit 1
fi
cmake --build "$build_dir" -j "$(build_jobs)" --target qm47_i686_stage || exit 1

# --- 1. The simulated printer's calling conventions ----------------------------

# Bytes of arguments per export: 4 per argument (Port_Open takes the port name
# and the speed, LBDBREPRS the name, the rate letter and the result record...).
declare -A ARGUMENT_BYTES=(
    [Port_Open]=8 [Port_Close]=0 [Send_BEL]=0 [LBDSP]=8 [LBRVINFO]=8 [LBSETHDR]=12 [LBSETRAB]=0
    [LBSETFSK]=0 [LBSERM]=4 [LBSETCK]=4 [LBSETPTU]=4 [LBTRSHDR]=4 [LBTRSLN]=4 [LBTREXITCAN]=8
    [O_LBTRXEND]=4 [ErrorMessage]=8 [GetStatus_CashRegister]=4 [GetStatus_Printer]=4 [LBFSTRQ]=4
    [LBIDRQ]=4 [LBSENDCK]=4 [LBDAYREP]=4 [LBFSKREP_R]=4 [LBFSKREP_D]=4 [LBDBREPRS]=12 [LBDBREP]=8
    [LBFSTRQ24]=0
)

# check_convention DLL CONVENTION: every export removes 4 bytes per argument
# (__stdcall) or none (__cdecl), and the verdict line agrees.
check_convention() {
    local dll=$1 convention=$2 report name removed expected wrong=0 seen=0
    report=$(bash scripts/dll-convention.sh "$dll") || { log "cannot read $dll"; return 1; }
    while read -r name removed; do
        if [ "$name" = convention: ]; then
            [ "$removed" = "$convention" ] || { log "$dll: reads as $removed, not $convention"; wrong=1; }
            continue
        fi
        seen=$((seen + 1))
        expected=${ARGUMENT_BYTES[$name]:-}
        [ -n "$expected" ] || { log "$dll: unexpected export $name"; wrong=1; continue; }
        [ "$convention" = __cdecl ] && expected=0
        if [ "$removed" != "$expected" ]; then
            log "$dll: $name removes $removed bytes of arguments, $convention expects $expected"
            wrong=1
        fi
    done <<<"$report"
    [ "$seen" = "${#ARGUMENT_BYTES[@]}" ] || { log "$dll: $seen exports, not ${#ARGUMENT_BYTES[@]}"; wrong=1; }
    [ "$wrong" = 0 ] && log "$dll: all $seen exports $convention"
    return $wrong
}

result=0
check_convention "$build_dir/sim/VaronelServiceLibrary.dll" __stdcall || result=1
check_convention "$build_dir/sim/cdecl/VaronelServiceLibrary.dll" __cdecl || result=1

# --- Can 32-bit programs run here? ---------------------------------------------

require_i386 "32-bit tests" || { [ $? = 2 ] && exit $result; exit 1; }
log "32-bit programs run here ($(i386_mode)); build: $build_dir"
# Under the emulator a real fault reaches Wine with another code than the
# processor gives: the tests that see one check what holds there.
if [ "$(i386_mode)" = emulated ]; then export QM47_I386_EMULATED=1; fi

# --- 2. The 32-bit test programs -------------------------------------------------

begin_run i686
work=$run_dir

run_console_tests() (
    unset DISPLAY # the tests are console programs
    local started program code failed=0
    started=$(date +%s.%N)
    if ! make_prefix headless > "$work/prefix.log" 2>&1; then
        cat "$work/prefix.log"
        log "could not create the Wine prefix"
        exit 1
    fi
    if [ -z "$(ls -A "$WINEPREFIX/drive_c/windows/syswow64" 2> /dev/null)" ]; then
        log "the new prefix has an empty syswow64: 32-bit programs cannot run in it"
        exit 1
    fi
    log "Wine prefix ready in $(seconds_since "$started") s"

    # Each test program, with the libraries it loads beside it.
    for program in tests/i686/library_call_i686_tests.exe tests/i686/record_layout_i686_tests.exe; do
        started=$(date +%s.%N)
        log "running $program"
        (cd "$build_dir/$(dirname "$program")" && run_wine --32 --within 600 "./$(basename "$program")") |
            tr -d '\r'
        code=${PIPESTATUS[0]}
        log "$program exited with $code after $(seconds_since "$started") s"
        [ "$code" = 0 ] || failed=1
    done
    exit $failed
)
use_prefix "$work/prefix"
run_console_tests || result=1

# --- 3. End to end, the 32-bit QM47.exe with each simulated printer ------------------

build_preset win64 qm47_e2e || exit 1
started=$(date +%s.%N)
# The calling convention matters where the program calls the library: with
# the __stdcall printer every test runs; with the __cdecl one the tests that
# between them call every export the program calls, with every record it
# passes. Each run must call every export (QM47_E2E_EVERY_EXPORT: the run
# fails naming an export no test called).
call_boundary_tests='DiagnosticLog.HoldsEveryLibraryCall*:Faults.EveryPageTells*:GoodsCheckPage.*'
call_boundary_tests+=':ControlSalePage.OpenTransactionQuestion:ReportsPage.PeriodicReports*'
e2e_arguments=(--program "$build_dir" --library "$build_dir/sim" --library "$build_dir/sim/cdecl")
if [ -n "${QM47_I686_E2E_FILTER:-}" ]; then
    e2e_arguments+=("--gtest_filter=$QM47_I686_E2E_FILTER")
else
    e2e_arguments+=(--library-filter "$call_boundary_tests")
    export QM47_E2E_EVERY_EXPORT=1
fi
log "end-to-end tests of the 32-bit QM47.exe: every test with the __stdcall simulated printer, the calls with the __cdecl one"
bash scripts/e2e.sh build/win64 "${e2e_arguments[@]}" || result=1
log "end-to-end tests took $(seconds_since "$started") s"

log "32-bit stage took $(seconds_since "$stage_started") s"
exit $result
