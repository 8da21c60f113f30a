#!/usr/bin/env bash
# The 32-bit stage: runs the 32-bit test programs of the win32 build under
# Wine, in a Wine prefix of their own created for this run (after
# scripts/setup-i386.sh made the machine able to run 32-bit programs).
#
#   scripts/test-i686.sh [BUILD_DIR]      (default build/win32)
#
# Prints "SKIP: ..." and exits 0 where setup-i386.sh found that this machine
# cannot run 32-bit programs at all; fails where set-up has not run or did
# not finish. Ends only what it started: its prefix's wineserver.
set -uo pipefail
cd "$(dirname "$0")/.."

readonly STATUS_FILE=/usr/local/lib/qm47/i386-status
readonly BINFMT_ENTRY=/proc/sys/fs/binfmt_misc/qemu-i386
build_dir=${1:-build/win32}

log() { echo "test-i686: $*"; }
seconds_since() { echo "$(date +%s.%N) $1" | awk '{ printf "%.1f", $1 - $2 }'; }

status=$(head -n 1 "$STATUS_FILE" 2>/dev/null || true)
case $status in
    "ready native" | "ready emulated") ;;
    unavailable*)
        echo "SKIP: 32-bit tests: this machine cannot run 32-bit Windows programs (${status#unavailable })"
        exit 0 ;;
    "") log "scripts/setup-i386.sh has not run on this machine (run it as root first)"; exit 1 ;;
    *) log "scripts/setup-i386.sh did not finish (status: $status); run it again"; exit 1 ;;
esac
if [ "$status" = "ready emulated" ] && ! grep -qx enabled "$BINFMT_ENTRY" 2>/dev/null; then
    log "the i386 emulator is not registered (the machine restarted?): run scripts/setup-i386.sh"
    exit 1
fi
log "32-bit programs run here (${status#ready }); build: $build_dir"

if [ ! -f "$build_dir/build.ninja" ]; then
    cmake --preset win32 > /dev/null || exit 1
fi
cmake --build "$build_dir" -j 2 --target library_call_i686_tests || exit 1

work=$(mktemp -d /tmp/qm47-i686.XXXXXX)
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY # the tests are console programs
cleanup() {
    wineserver -k 2> /dev/null
    wineserver -w 2> /dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# The prefix, with Wine's post-mortem debugger switched off in both registry
# views so that a crash fails the run at once.
started=$(date +%s.%N)
for view in 64 32; do
    timeout 600 wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
        /v Debugger /t REG_SZ /d '' /f /reg:$view > "$work/reg.log" 2>&1 ||
        { cat "$work/reg.log"; log "could not create the Wine prefix"; exit 1; }
done
if [ -z "$(ls -A "$WINEPREFIX/drive_c/windows/syswow64" 2> /dev/null)" ]; then
    log "the new prefix has an empty syswow64: 32-bit programs cannot run in it"
    exit 1
fi
log "Wine prefix ready in $(seconds_since "$started") s"

# Each test program, with the libraries it loads beside it.
result=0
for program in tests/i686/library_call_i686_tests.exe; do
    started=$(date +%s.%N)
    log "running $program"
    (cd "$build_dir/$(dirname "$program")" && timeout 600 wine "./$(basename "$program")") | tr -d '\r'
    code=${PIPESTATUS[0]}
    log "$program exited with $code after $(seconds_since "$started") s"
    [ "$code" = 0 ] || result=1
done
exit $result
