#!/usr/bin/env bash
# Which suites the 32-bit set-up leaves out when wine32 cannot be resolved
# (scripts/apt-suites-out-of-step.sh), from apt's messages and the lists in a
# made-up list folder. Prints ok/FAIL per row and "N passed, N failed".
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../scripts/common.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

security=deb.debian.org_debian-security_dists_bookworm-security
updates=deb.debian.org_debian_dists_bookworm-updates
release=deb.debian.org_debian_dists_bookworm
failed() { # SUITE REASON: apt's closing line for a list it could not fetch
  echo "E: Failed to fetch http://deb.debian.org/debian/dists/$1/main/binary-i386/Packages.xz  $2 [IP: 203.0.113.80 80]"
}

# Makes a list folder with every suite's amd64 list and the i386 lists of the
# suites given, runs the decision on OUTPUT, compares with EXPECTED.
row() { # DESCRIPTION OUTPUT EXPECTED SUITE-WITH-I386...
  local description=$1 output=$2 expected=$3 lists=$work/lists suite name
  shift 3
  rm -rf "$lists" && mkdir -p "$lists"
  for suite in $security $updates $release; do
    name=${suite##*_dists_}
    printf 'Origin: Debian\nCodename: %s\n' "$name" > "$lists/${suite}_InRelease"
    touch "$lists/${suite}_main_binary-amd64_Packages.lz4"
  done
  for suite; do touch "$lists/${suite}_main_binary-i386_Packages.lz4"; done
  printf '%s\n' "$output" > "$work/update.log"
  check "$description" diff <(printf '%s\n' "$expected") \
    <(bash "$here/../../scripts/apt-suites-out-of-step.sh" "$work/update.log" "$lists" i386 | sort)
}

row "a list of unexpected size (an old one kept)" \
  "$(failed bookworm-security 'File has unexpected size (374820 != 376004). Mirror sync in progress?')" \
  $'in bookworm\nin bookworm-updates\nout bookworm-security File has unexpected size (374820 != 376004). Mirror sync in progress?' \
  $security $updates $release
row "a hash sum mismatch" "$(failed bookworm-security 'Hash Sum mismatch')" \
  $'in bookworm\nin bookworm-updates\nout bookworm-security Hash Sum mismatch' $updates $release
row "a list not found" "$(failed bookworm-security '404  Not Found')" \
  $'in bookworm\nin bookworm-updates\nout bookworm-security 404 Not Found' $updates $release
row "a list missing with no message" "Reading package lists..." \
  $'in bookworm\nin bookworm-updates\nout bookworm-security its i386 list is missing' $updates $release
row "none failed" "Reading package lists..." \
  $'in bookworm\nin bookworm-security\nin bookworm-updates' $security $updates $release
row "two suites failed: both left out" \
  "$(failed bookworm-security 'Hash Sum mismatch'; failed bookworm-updates '404  Not Found')" \
  $'in bookworm\nout bookworm-security Hash Sum mismatch\nout bookworm-updates 404 Not Found' $release

echo "suites out of step: $checks_passed passed, $checks_failed failed"
[ "$checks_failed" = 0 ]
