#!/usr/bin/env bash
# The release checked as a technician gets it:
#   1. scripts/release.sh twice, in two folders: the same zip and exe, byte
#      for byte;
#   2. the zip: exactly QM47.exe and CZYTAJ.TXT, SHA256SUMS right for both;
#      CZYTAJ.TXT in Windows-1250 with CR LF line ends, naming the nine pages;
#   3. QM47.exe: the version resource says the zip's version; it loads on
#      Windows XP SP3 (no import outside tests/imports/allowed-imports.txt,
#      subsystem and OS version at most 5.1); no link time and no build
#      folder in it; the exception handler of the library call is allowed
#      (neither NO_SEH nor a SafeSEH table);
#   4. the unpacked exe under 32-bit Wine against the simulated printer
#      (scripts/e2e.sh, with the 64-bit test program of build/win64 and the
#      simulated printer of build/win32): starting, connecting, the about box.
#      Prints "SKIP: ..." where this machine cannot run 32-bit programs.
#
#   scripts/release-test.sh
#
# Ends with "N passed, N failed" for checks 1 to 3; the end-to-end tests
# report their own counts. Builds from HEAD: commit before running it.

# The checks are functions and bash -c snippets run through check():
# shellcheck disable=SC2016,SC2317
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
repo=$(pwd)
# shellcheck source=scripts/common.sh
. scripts/common.sh

readonly E2E_FILTER='StartUp.*:Connect.OnlinePrinterFillsThePanelAndLampsAndEnablesEveryButton:AboutBox.*'
readonly PAGES=("Programowanie zegara" "Programowanie nagłówka" "Zmiana stawek PTU" "Fiskalizacja"
  "Obsługa wyświetlacza" "Raporty" "Kontrola bazy danych" "Przegląd serwisowy" "Sprzedaż kontrolna")

log() { echo "release-test: $*"; }

work=$(mktemp -d /tmp/qm47-release-test.XXXXXX)
trap 'rm -rf "$work"' EXIT

# --- 1. Two builds, one result -------------------------------------------------

started=$(date +%s.%N)
built=1
for run in first second; do
  bash scripts/release.sh --out "$work/$run" >"$work/$run.log" 2>&1 || { cat "$work/$run.log"; built=0; }
done
log "two release builds took $(seconds_since "$started") s"
if [ $built = 0 ]; then
  check "scripts/release.sh builds the release" false
  echo "$checks_passed passed, $checks_failed failed"
  exit 1
fi
check "two builds in two folders give the same zip and exe" cmp -s "$work/first/SHA256SUMS" "$work/second/SHA256SUMS"
dist=$work/first
zips=("$dist"/QM47-*-win32.zip)
zip=${zips[0]}
zip_name=$(basename "$zip")
version=${zip_name#QM47-}
version=${version%-win32.zip}
log "$zip_name: $(stat -c %s "$zip") bytes; SHA-256 $(sha256sum "$zip" | cut -d' ' -f1)"

# --- 2. The zip and the quick start ---------------------------------------------

unpacked=$work/unpacked
mkdir "$unpacked"
unzip -q "$zip" -d "$unpacked"
exe=$unpacked/QM47.exe
readme=$unpacked/CZYTAJ.TXT
log "QM47.exe: $(stat -c %s "$exe") bytes; SHA-256 $(sha256sum "$exe" | cut -d' ' -f1)"

check "the zip holds QM47.exe and CZYTAJ.TXT only" \
  test "$(unzip -Z1 "$zip" | sort | tr '\n' ' ')" = "CZYTAJ.TXT QM47.exe "
sums_match() { cp "$zip" "$exe" "$work/" && (cd "$work" && sha256sum --quiet -c "$dist/SHA256SUMS"); }
check "SHA256SUMS holds the zip's and the exe's SHA-256" sums_match
check "SHA256SUMS names exactly the zip and QM47.exe" \
  test "$(awk '{ print $2 }' "$dist/SHA256SUMS" | tr '\n' ' ')" = "$zip_name QM47.exe "

iconv -f CP1250 -t UTF-8 "$readme" >"$work/czytaj.utf8" 2>/dev/null
check "CZYTAJ.TXT decodes as Windows-1250" test $? = 0
crlf_only() { # every line ends in CR LF; no other CR
  [ "$(tail -c 2 "$readme" | od -An -tx1 | tr -d ' ')" = 0d0a ] &&
    [ "$(tr -cd '\n' <"$readme" | wc -c)" = "$(tr -cd '\r' <"$readme" | wc -c)" ] &&
    ! grep -q $'[^\r]$' "$readme" && ! grep -q $'^$' "$readme"
}
check "CZYTAJ.TXT has CR LF line ends" crlf_only
names_every_page() {
  local page missing=0
  for page in "${PAGES[@]}"; do
    grep -qF "$page" "$work/czytaj.utf8" || { log "CZYTAJ.TXT does not name \"$page\""; missing=1; }
  done
  return "$missing"
}
check "CZYTAJ.TXT names the nine pages" names_every_page
check "CZYTAJ.TXT names the library and the off-line messages" bash -c '
  grep -qF "Brak biblioteki: VaronelServiceLibrary.dll" "$1" &&
  grep -qF "Drukarka jest w trybie OFF-LINE, operacja nie może zostać wykonana" "$1" &&
  grep -qF "certutil -hashfile QM47.exe SHA256" "$1"' _ "$work/czytaj.utf8"

# --- 3. The exe ---------------------------------------------------------------------

# The VS_FIXEDFILEINFO after its signature: FILEVERSION as major, minor words.
file_version() {
  # The fixed part follows the resource's key, VS_VERSION_INFO in UTF-16: the
  # program's code holds the signature too (it reads the library's version).
  local key at
  key=$(LC_ALL=C grep -obUaP 'V\x00S\x00_\x00V\x00E\x00R\x00S\x00I\x00O\x00N\x00_\x00I\x00N\x00F\x00O\x00' "$exe" |
    head -n 1 | cut -d: -f1)
  [ -n "$key" ] || return 1
  at=$(tail -c +$((key + 1)) "$exe" | LC_ALL=C grep -obUaP '\xbd\x04\xef\xfe' | head -n 1 | cut -d: -f1)
  [ -n "$at" ] || return 1
  od -An -tu2 -j $((key + at + 8)) -N 4 "$exe" | awk '{ printf "%d.%02d", $2, $1 }'
}
check "FILEVERSION of QM47.exe is $version" test "$(file_version)" = "$version"
check "FileVersion and ProductVersion texts of QM47.exe are $version" \
  test "$(strings -el "$exe" | grep -A1 -xE 'FileVersion|ProductVersion' | grep -cx "$version")" = 2

# Every imported function, as DLL!Function with the DLL name in capitals.
imports() {
  i686-w64-mingw32-objdump -p "$exe" | awk '
    /^The Import Tables/ { inside = 1; next }
    inside && /^[^ \t]/ { inside = 0 }
    inside && /DLL Name:/ { dll = toupper($3); next }
    inside && dll && /^\t[0-9a-f]+\t +[0-9]+ +[^ ]/ { print dll "!" $3 }' | sort -u
}
imports >"$work/imports"
allowed() { # the list's entries whose Windows is XP SP3 or older
  awk '!/^#/ && NF >= 2 {
    split($1, part, "!")
    if ($2 ~ /^(95|98|NT3\.1|NT4|2000|XP|XPSP1|XPSP2|XPSP3)$/) print toupper(part[1]) "!" part[2]
    else print "allowed-imports.txt: " $1 " is marked for Windows " $2 ", newer than XP SP3" > "/dev/stderr"
  }' tests/imports/allowed-imports.txt | sort -u
}
allowed >"$work/allowed"
only_allowed_imports() {
  local outside
  [ -s "$work/imports" ] || { log "no imports read from QM47.exe"; return 1; }
  outside=$(comm -23 "$work/imports" "$work/allowed")
  [ -z "$outside" ] || { log "imports outside tests/imports/allowed-imports.txt:"; echo "$outside" | sed 's/^/    /'; return 1; }
}
check "QM47.exe imports only functions that Windows XP SP3 has ($(wc -l <"$work/imports") imports)" only_allowed_imports
header_field() { i686-w64-mingw32-objdump -p "$exe" | awk -v f="$1" '$1 == f { print $2; exit }'; }
version_at_most_xp() { # major minor
  [ -n "$1" ] && [ -n "$2" ] && { [ "$1" -lt 5 ] || { [ "$1" -eq 5 ] && [ "$2" -le 1 ]; }; }
}
check "subsystem version $(header_field MajorSubsystemVersion).$(header_field MinorSubsystemVersion) is at most 5.1" \
  version_at_most_xp "$(header_field MajorSubsystemVersion)" "$(header_field MinorSubsystemVersion)"
check "OS version $(header_field MajorOSystemVersion).$(header_field MinorOSystemVersion) is at most 5.1" \
  version_at_most_xp "$(header_field MajorOSystemVersion)" "$(header_field MinorOSystemVersion)"
check "QM47.exe is a 32-bit GUI program" bash -c \
  'i686-w64-mingw32-objdump -f "$1" | grep -q "file format pei-i386" &&
   i686-w64-mingw32-objdump -p "$1" | grep -q "^Subsystem.*(Windows GUI)"' _ "$exe"
check "QM47.exe is $(stat -c %s "$exe") bytes, at most 512 KiB" test "$(stat -c %s "$exe")" -le 524288

# The library call catches a fault inside the library with an exception
# handler of its own (app/LibraryCall_i686.S), which Windows calls only in an
# exe that has neither the NO_SEH flag nor a SafeSEH table (a list of the
# handlers it may call, which would leave ours out). GNU ld makes neither; a
# linker option (--no-seh) or another linker would lose the handler unseen.
file_word() { od -An -tu4 -j "$2" -N 4 "$1" | tr -d ' '; } # FILE OFFSET
seh_handler_allowed() { # EXE
  local dump characteristics rva size base at
  dump=$(i686-w64-mingw32-objdump -p "$1") || return 1
  characteristics=$(awk '$1 == "DllCharacteristics" { print $2; exit }' <<<"$dump")
  (( (16#${characteristics:-0} & 0x400) == 0 )) || { log "$1: NO_SEH is set"; return 1; }
  read -r rva size < <(awk '$1 == "Entry" && $2 == "a" { print $3, $4 }' <<<"$dump")
  # The 32-bit load configuration: SEHandlerTable at 0x40, SEHandlerCount at 0x44.
  (( 16#${size:-0} >= 0x48 )) || return 0
  rva=$((16#$rva))
  base=$((16#$(awk '$1 == "ImageBase" { print $2; exit }' <<<"$dump")))
  at=$rva # within the headers, an RVA is a file offset
  while read -r _ _ _ vma _ offset _; do
    (( rva >= 16#$vma - base )) && at=$((rva - (16#$vma - base) + 16#$offset))
  done < <(i686-w64-mingw32-objdump -h "$1" | awk '$1 ~ /^[0-9]+$/ && $4 ~ /^[0-9a-f]+$/')
  [ "$(file_word "$1" $((at + 0x40)))" = 0 ] && [ "$(file_word "$1" $((at + 0x44)))" = 0 ] ||
    { log "$1: a SafeSEH table"; return 1; }
}
check "QM47.exe keeps the library call's exception handler (no NO_SEH, no SafeSEH table)" seh_handler_allowed "$exe"
# The check itself, on copies that lose the handler: the flag set, and a load
# configuration whose SafeSEH words are not zero (the PE header's own first
# bytes, pointed to from the headers).
pe=$(file_word "$exe" 60)
patch_word() { # FILE OFFSET VALUE: the 32-bit little-endian VALUE written at OFFSET
  local v=$3
  # shellcheck disable=SC2059
  printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $((v & 255)) $((v >> 8 & 255)) $((v >> 16 & 255)) $((v >> 24)))" |
    dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}
cp "$exe" "$work/no-seh.exe"
patch_word "$work/no-seh.exe" $((pe + 24 + 68)) $(( $(file_word "$exe" $((pe + 24 + 68))) | (0x400 << 16) ))
cp "$exe" "$work/safe-seh.exe"
patch_word "$work/safe-seh.exe" $((pe + 24 + 96 + 8 * 10)) $((pe - 0x40))
patch_word "$work/safe-seh.exe" $((pe + 24 + 96 + 8 * 10 + 4)) $((0x48))
refused() { ! "$@" >/dev/null; }
check "the handler check refuses an exe with NO_SEH" refused seh_handler_allowed "$work/no-seh.exe"
check "the handler check refuses an exe with a SafeSEH table" refused seh_handler_allowed "$work/safe-seh.exe"
check "no link time in the PE header" bash -c \
  'i686-w64-mingw32-objdump -p "$1" | grep -q "^Time/Date.*1970"' _ "$exe"
check "no build folder in QM47.exe" bash -c \
  '! strings -a "$1" | grep -qE "qm47-release\.|$2"' _ "$exe" "$repo"

echo "$checks_passed passed, $checks_failed failed"
result=0
[ $checks_failed = 0 ] || result=1

# --- 4. The unpacked exe under 32-bit Wine ------------------------------------------------

require_i386 "the zip's QM47.exe under Wine" || { [ $? = 2 ] && exit $result; exit 1; }
build_preset win64 qm47_e2e || exit 1
# The simulated printer and its variants (nothing to do where they are built).
build_preset win32 qm47sim_all >/dev/null || exit 1
started=$(date +%s.%N)
log "the zip's QM47.exe under Wine with the simulated printer beside it"
bash scripts/e2e.sh build/win64 --program "$unpacked" --library build/win32/sim \
  --gtest_filter="$E2E_FILTER" || result=1
log "end-to-end tests took $(seconds_since "$started") s"
exit $result
