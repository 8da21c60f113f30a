#!/usr/bin/env bash
# Makes this Debian machine able to run 32-bit Windows programs under Wine:
#   - wine32:i386 (with the i386 architecture added to dpkg);
#   - where the kernel cannot run i386 programs itself: a qemu-i386 user-mode
#     emulator from the release's backports (its own qemu is far too slow for
#     Wine), kept outside the repository, registered with binfmt_misc;
#   - a check that a small 32-bit Windows program runs under Wine.
#
# Run as root. Safe to run again: each step is skipped when already done.
#
# Outcome, for people and for the scripts that call this one (the status file
# is /usr/local/lib/qm47/i386-status, read by i386_mode in scripts/common.sh):
#   exit 0, status file first line "ready native" or "ready emulated":
#       32-bit programs run (by the kernel itself, or under the emulator);
#   exit 0, "SKIP: ..." printed, status file first line "unavailable <why>":
#       this machine cannot do it at all (callers skip their 32-bit tests);
#   any other exit, status file "failed": a step went wrong; nothing is skipped.
#
# Options:
#   --emulator         fetch and register the emulator even where the kernel
#                      runs i386 programs itself. binfmt_misc then comes first,
#                      so every i386 program on the machine runs emulated, as
#                      on machines whose kernel has no 32-bit support.
#   --remove-emulator  remove the emulator's binfmt_misc entry again (only
#                      where the kernel runs i386 programs itself)
#   --verify           run the Windows program check even when nothing changed
set -euo pipefail
SCRIPTS_DIR=$(cd "$(dirname "$0")" && pwd)
readonly SCRIPTS_DIR
# shellcheck source=scripts/common.sh
. "$SCRIPTS_DIR/common.sh"

readonly STATUS_FILE=$i386_status_file
readonly LIB_DIR=${STATUS_FILE%/*}
readonly EMULATOR=$LIB_DIR/qemu-i386
readonly EMULATOR_VERSION_FILE=$LIB_DIR/qemu-i386.version
readonly BINFMT_DIR=/proc/sys/fs/binfmt_misc
readonly BINFMT_NAME=qemu-i386
# ELF32, little-endian, executable or shared object, machine 3 (i386); the
# same pattern qemu's own binfmt configuration uses.
readonly I386_MAGIC='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
readonly I386_MASK='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
readonly I386_MAGIC_HEX=7f454c4601010100000000000000000002000300
readonly I386_MASK_HEX=fffffffffffefe00fffffffffffffffffeffffff
# Small i386 libraries that the 32-bit X11 driver loads at run time; wine32's
# other recommendations (Mesa, GStreamer, Vulkan) are large and not needed.
readonly WINE32_EXTRAS=(libxrender1:i386 libxrandr2:i386 libxi6:i386 libxcursor1:i386
                        libxinerama1:i386 libxcomposite1:i386 libxfixes3:i386 libxxf86vm1:i386)

force_emulator=0
remove_emulator=0
force_verify=0
for argument in "$@"; do
    case $argument in
        --emulator) force_emulator=1 ;;
        --remove-emulator) remove_emulator=1 ;;
        --verify) force_verify=1 ;;
        *) echo "usage: $0 [--emulator | --remove-emulator] [--verify]" >&2; exit 2 ;;
    esac
done

started=$(date +%s.%N)
work=$(mktemp -d /tmp/qm47-setup-i386.XXXXXX)
finished=0

log() { echo "setup-i386: $*"; }

write_status() {
    mkdir -p "$LIB_DIR"
    printf '%s\n' "$@" > "$STATUS_FILE.tmp"
    mv "$STATUS_FILE.tmp" "$STATUS_FILE"
}

# shellcheck disable=SC2317  # run by the EXIT trap
on_exit() {
    local code=$?
    rm -rf "$work"
    if [ "$finished" != 1 ]; then
        write_status failed 2>/dev/null || true
        log "FAILED (exit $code) after $(seconds_since "$started") s"
    fi
}
trap on_exit EXIT

# This machine cannot do it at all: say so clearly and let callers skip.
skip() {
    write_status "unavailable $*"
    echo "SKIP: setup-i386: 32-bit Windows programs cannot run here: $*"
    finished=1
    exit 0
}

apt_quiet() { DEBIAN_FRONTEND=noninteractive apt-get -q -o DPkg::Lock::Timeout=600 "$@"; }

# A 96-byte static i386 program that exits with status 42 (no C library
# needed): tells whether the kernel, or a registered handler, runs i386 code.
write_probe() {
    printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010\140\000\000\000\140\000\000\000\005\000\000\000\000\020\000\000\273\052\000\000\000\270\001\000\000\000\315\200' > "$work/probe386"
    chmod 755 "$work/probe386"
}
probe_runs() {
    local code=0
    "$@" "$work/probe386" 2>/dev/null || code=$?
    [ "$code" = 42 ]
}

# Our binfmt_misc entry, as the kernel shows it, exactly as we register it.
entry_is_ours() {
    local entry=$BINFMT_DIR/$BINFMT_NAME
    [ -r "$entry" ] &&
        grep -qx enabled "$entry" &&
        grep -qx "interpreter $EMULATOR" "$entry" &&
        grep -q '^flags: .*F' "$entry" &&
        grep -qx "magic $I386_MAGIC_HEX" "$entry" &&
        grep -qx "mask $I386_MASK_HEX" "$entry"
}

installed_version() {
    { dpkg-query -W -f='${db:Status-Status} ${Version}\n' "$1" 2>/dev/null || true; } | awk '$1 == "installed" { print $2 }'
}

emulator_version() {
    if [ -x "$EMULATOR" ]; then "$EMULATOR" --version 2>/dev/null | head -n 1 || true; fi
}

# Does the kernel run i386 programs itself? Our own entry is switched off for
# the moment of the probe so that it cannot answer for the kernel.
kernel_runs_i386() {
    local entry=$BINFMT_DIR/$BINFMT_NAME answer=1
    if [ -e "$entry" ] && grep -qx enabled "$entry"; then
        echo 0 > "$entry"
        probe_runs && answer=0
        echo 1 > "$entry"
    else
        probe_runs && answer=0
    fi
    return $answer
}

current_mode() {
    if entry_is_ours; then echo emulated; else echo native; fi
}

finish_ready() {
    local emulator
    emulator=$(emulator_version)
    write_status "ready $(current_mode)" "wine32 $(installed_version wine32:i386)" "emulator ${emulator:-none}"
    log "$1 (ready $(current_mode)) in $(seconds_since "$started") s"
    finished=1
    exit 0
}

# The first URI of an enabled "deb" source for the release itself, from the
# machine's own apt configuration (deb822 .sources files, then one-line lists).
debian_mirror() {
    local codename=$1 file
    for file in /etc/apt/sources.list.d/*.sources; do
        [ -r "$file" ] || continue
        awk -v want="$codename" '
            function flush() {
                if (types ~ /(^| )deb( |$)/ && (" " suites " ") ~ (" " want " ") && enabled != "no" && uris != "")
                    { split(uris, u, " "); print u[1]; found = 1; exit }
                types = suites = uris = enabled = ""
            }
            /^[ \t]*#/ { next }
            /^[ \t]*$/ { flush(); next }
            { key = tolower($1); sub(/:$/, "", key); $1 = ""; sub(/^ +/, "");
              if (key == "types") types = $0; else if (key == "suites") suites = $0;
              else if (key == "uris") uris = $0; else if (key == "enabled") enabled = tolower($0) }
            END { if (!found) flush() }' "$file" | head -n 1
    done | head -n 1 | grep . && return 0
    for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -r "$file" ] || continue
        awk -v want="$codename" '
            $1 != "deb" { next }
            { i = 2; if ($i ~ /^\[/) { while ($i !~ /\]$/) i++; i++ } }
            $(i + 1) == want { print $i; exit }' "$file"
    done | head -n 1 | grep .
}

# Fetches qemu-user from the release's backports with a sources list of its
# own (the machine's apt configuration is left untouched) and installs its
# static qemu-i386 as $EMULATOR.
fetch_emulator() {
    local codename arch mirror candidate binary
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    arch=$(dpkg --print-architecture)
    [ -n "$codename" ] || skip "the release has no code name in /etc/os-release"
    mirror=$(debian_mirror "$codename") || skip "no Debian mirror for '$codename' in the apt configuration"
    log "fetching qemu-user from $codename-backports"
    mkdir -p "$work/apt/lists/partial" "$work/apt/cache/archives/partial" "$work/deb"
    echo "deb [arch=$arch] $mirror $codename-backports main" > "$work/apt/sources.list"
    local options=(-o "Dir::Etc::SourceList=$work/apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
                   -o "Dir::State::Lists=$work/apt/lists" -o "Dir::Cache=$work/apt/cache"
                   -o APT::Sandbox::User=root)
    bash "$SCRIPTS_DIR/apt-update.sh" -q "${options[@]}" > "$work/apt/update.log" 2>&1 ||
        { cat "$work/apt/update.log" >&2; return 1; }
    candidate=$(apt-cache "${options[@]}" policy qemu-user | awk '/Candidate:/ { print $2 }')
    if [ -z "$candidate" ] || [ "$candidate" = "(none)" ]; then
        cat "$work/apt/update.log" >&2
        skip "qemu-user is not available from $codename-backports"
    fi
    (cd "$work/deb" && apt-get -q "${options[@]}" download "qemu-user=$candidate" > "$work/apt/download.log" 2>&1) ||
        { cat "$work/apt/download.log" >&2; return 1; }
    dpkg-deb -x "$work"/deb/qemu-user_*.deb "$work/root"
    for binary in "$work/root/usr/bin/qemu-i386" "$work/root/usr/bin/qemu-i386-static"; do
        [ -f "$binary" ] && break
    done
    [ -f "$binary" ] || { log "qemu-user $candidate has no qemu-i386"; return 1; }
    mkdir -p "$LIB_DIR"
    install -m 0755 "$binary" "$EMULATOR.new"
    mv -f "$EMULATOR.new" "$EMULATOR"
    echo "$candidate" > "$EMULATOR_VERSION_FILE"
    log "installed qemu-i386 $candidate as $EMULATOR"
}

# Registers $EMULATOR for i386 programs. F: the kernel opens the emulator now,
# so it works in any mount namespace or chroot later on.
register_emulator() {
    local entry=$BINFMT_DIR/$BINFMT_NAME
    if [ -e "$entry" ]; then
        log "replacing the binfmt_misc entry $BINFMT_NAME: $(tr '\n' ' ' < "$entry")"
        echo -1 > "$entry"
    fi
    printf '%s' ":$BINFMT_NAME:M::$I386_MAGIC:$I386_MASK:$EMULATOR:F" > "$BINFMT_DIR/register"
    entry_is_ours || { log "the binfmt_misc entry does not read back as registered"; return 1; }
    log "registered $EMULATOR with binfmt_misc ($BINFMT_NAME, flag F)"
}

# Other entries that claim i386 programs; the kernel tries the newest first.
report_foreign_entries() {
    local entry
    for entry in "$BINFMT_DIR"/*; do
        case ${entry##*/} in register | status | "$BINFMT_NAME") continue ;; esac
        if grep -qx "magic $I386_MAGIC_HEX" "$entry" 2>/dev/null; then
            log "note: binfmt_misc entry ${entry##*/} also claims i386 programs: $(tr '\n' ' ' < "$entry")"
        fi
    done
}

install_wine32() {
    local wine64_version candidate
    wine64_version=$(installed_version wine64)
    [ -n "$wine64_version" ] || { log "wine64 is not installed"; return 1; }
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        log "adding the i386 architecture to dpkg"
        dpkg --add-architecture i386
    fi
    log "updating the package lists"
    # The candidate check below tells whether the lists apt has are enough.
    # apt's messages in English: the fallback below reads them.
    LC_ALL=C bash "$SCRIPTS_DIR/apt-update.sh" -q > "$work/update.log" 2>&1 ||
        { cat "$work/update.log" >&2; log "going on with the package lists apt has"; }
    candidate=$(apt-cache policy wine32:i386 | awk '/Candidate:/ { print $2 }')
    if [ "$candidate" != "$wine64_version" ]; then
        apt-cache policy wine32:i386 >&2 || true
        skip "wine32:i386 $wine64_version (matching wine64) is not available"
    fi
    log "installing wine32:i386 $wine64_version"
    local packages=("wine32:i386=$wine64_version" "${WINE32_EXTRAS[@]}")
    LC_ALL=C apt_quiet install -y --no-install-recommends --no-remove "${packages[@]}" > "$work/install.log" 2>&1 ||
        install_wine32_without_suites_out_of_step "${packages[@]}" ||
        { tail -n 40 "$work/install.log" >&2; return 1; }
}

# The last resort when wine32 cannot be resolved: a suite whose i386 list is
# out of step with its other lists (the mirror served a list that does not
# match its index, so apt kept an old one or none) holds the 64-bit halves of
# libraries whose i386 halves it cannot offer at the same version. Install
# from the suites whose lists agree, with the others pinned out for this one
# apt call (preferences of its own; the machine's apt configuration is left
# as it is). That may move 64-bit libraries back from their updates to the
# release's versions: each one is named.
install_wine32_without_suites_out_of_step() { # PACKAGE...
    local suites out=() name reason preferences=$work/preferences.d
    suites=$(bash "$SCRIPTS_DIR/apt-suites-out-of-step.sh" "$work/update.log" /var/lib/apt/lists i386)
    mkdir -p "$preferences"
    while read -r verdict name reason; do
        if [ "$verdict" = out ]; then
            out+=("$name")
            log "leaving $name out of wine32's install: $reason"
            printf 'Package: *\nPin: release n=%s\nPin-Priority: -1\n\n' "$name" >> "$preferences/wine32.pref"
        else
            printf 'Package: *\nPin: release n=%s\nPin-Priority: 1001\n\n' "$name" >> "$preferences/wine32.pref"
        fi
    done <<< "$suites"
    [ "${#out[@]}" -gt 0 ] || return 1
    local pinned=(-o "Dir::Etc::PreferencesParts=$preferences" --allow-downgrades)
    LC_ALL=C apt_quiet "${pinned[@]}" -s install --no-install-recommends --no-remove "$@" > "$work/pinned.log" 2>&1 ||
        { cat "$work/pinned.log" >> "$work/install.log"; return 1; }
    # "Inst NAME [INSTALLED] (NEW ...)": an installed package moved to another version.
    local moved
    moved=$(awk '$1 == "Inst" && $3 ~ /^\[/ { v = $3; gsub(/[][]/, "", v); n = $4; sub(/^\(/, "", n); print $2, v, n }' "$work/pinned.log" |
        while read -r name installed new; do
            dpkg --compare-versions "$new" lt "$installed" && echo "$name $installed -> $new"
        done)
    [ -z "$moved" ] || log "moving back to the release's versions: $(echo "$moved" | paste -sd, - | sed 's/,/, /g')"
    LC_ALL=C apt_quiet "${pinned[@]}" install -y --no-install-recommends --no-remove "$@" > "$work/pinned.log" 2>&1 ||
        { cat "$work/pinned.log" >> "$work/install.log"; return 1; }
}

# Compiles a small console program for each width and runs it under Wine in a
# new prefix of its own, created now that i386 programs run: the 32-bit one
# shows that the set-up works, the 64-bit one that wine64 still does (the
# install may have moved libraries it shares with wine32 to other versions).
verify_windows_program() {
    local bits compiler output step_started code=0
    printf '%s\n' '#include <stdio.h>' \
        'int main(void) { printf("check: %u-byte pointers\n", (unsigned)sizeof(void*)); return 0; }' > "$work/check.c"
    step_started=$(date +%s.%N)
    for bits in 32 64; do
        case $bits in 32) compiler=i686-w64-mingw32-gcc ;; *) compiler=x86_64-w64-mingw32-gcc ;; esac
        command -v "$compiler-win32" > /dev/null && compiler=$compiler-win32
        command -v "$compiler" > /dev/null || { log "no $compiler to build the $bits-bit check program"; return 1; }
        "$compiler" -O2 -s -o "$work/check$bits.exe" "$work/check.c"
        output=$(env -u DISPLAY WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
            timeout 600 wine "$work/check$bits.exe" 2> "$work/wine.log" | tr -d '\r') || code=$?
        if [ "$code" != 0 ] || [ "$output" != "check: $((bits / 8))-byte pointers" ]; then
            log "the $bits-bit check program did not run (exit $code, printed '$output'):"
            tail -n 20 "$work/wine.log" >&2
            code=1
            break
        fi
    done
    WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true
    WINEPREFIX="$work/prefix" wineserver -w 2>/dev/null || true
    [ "$code" = 0 ] || return 1
    log "a 32-bit and a 64-bit Windows program ran under Wine (new prefix included: $(seconds_since "$step_started") s)"
}

# --- the steps -------------------------------------------------------------

[ "$(id -u)" = 0 ] || { log "must run as root"; exit 1; }
if ! command -v dpkg > /dev/null || ! command -v apt-get > /dev/null; then
    skip "not a Debian system (no dpkg and apt-get)"
fi
[ "$(dpkg --print-architecture)" = amd64 ] || skip "the host is $(dpkg --print-architecture), not amd64"
command -v wine > /dev/null || { log "wine is not installed"; exit 1; }

write_probe
previous_status=$(head -n 1 "$STATUS_FILE" 2>/dev/null || true)
wine32_version=$(installed_version wine32:i386)
wine64_version=$(installed_version wine64)

if [ "$remove_emulator" = 1 ] && [ -e "$BINFMT_DIR/$BINFMT_NAME" ]; then
    kernel_runs_i386 || { log "the kernel cannot run i386 programs itself: the emulator stays"; exit 1; }
    echo -1 > "$BINFMT_DIR/$BINFMT_NAME"
    log "removed the binfmt_misc entry $BINFMT_NAME"
fi

# Already set up and nothing changed: a quick check only.
if [ "$force_verify" = 0 ] && [ "${previous_status%% *}" = ready ] &&
   [ -n "$wine32_version" ] && [ "$wine32_version" = "$wine64_version" ] && probe_runs &&
   { [ "$force_emulator" = 0 ] || entry_is_ours; }; then
    finish_ready "already set up"
fi
write_status incomplete

native=0
if kernel_runs_i386; then
    native=1
    log "the kernel runs i386 programs itself"
fi

if [ "$native" = 0 ] || [ "$force_emulator" = 1 ]; then
    if [ ! -e "$BINFMT_DIR/register" ]; then
        mount -t binfmt_misc binfmt_misc "$BINFMT_DIR" 2>/dev/null ||
            skip "the kernel runs no i386 programs and binfmt_misc cannot be mounted"
        [ -e "$BINFMT_DIR/register" ] || skip "binfmt_misc mounted without a register file"
    fi
    emulator_changed=0
    if [ -z "$(emulator_version)" ]; then
        fetch_emulator
        emulator_changed=1
    fi
    if [ "$emulator_changed" = 1 ] || ! entry_is_ours; then
        register_emulator
    fi
    report_foreign_entries
    probe_runs "$EMULATOR" || { log "$EMULATOR does not run the i386 probe"; exit 1; }
    probe_runs || { log "i386 programs still do not run after registering the emulator"; exit 1; }
fi

# The emulation is in place before wine32 arrives: from then on the `wine`
# command starts the 32-bit loader first, even for 64-bit programs.
if [ -z "$wine32_version" ] || [ "$wine32_version" != "$wine64_version" ]; then
    install_wine32
fi

verify_windows_program
finish_ready "set up"
