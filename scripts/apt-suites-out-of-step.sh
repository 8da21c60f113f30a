#!/usr/bin/env bash
# Which suites of the machine's apt sources cannot be trusted for installing
# ARCH packages after an `apt-get update`, read from that update's output (run
# with LC_ALL=C: apt translates its messages) and from the lists apt has:
#   - a suite whose ARCH list failed to download ("Failed to fetch"): the mirror
#     served a list that does not match its index (unexpected size, hash sum
#     mismatch) or none at all (404); apt then keeps an old list or none;
#   - a suite that has lists for other architectures but none for ARCH, with
#     or without a message (a download that failed earlier, a list deleted).
# The other architectures' lists of such a suite are newer than its ARCH list,
# so the two halves of a library that must be installed at one version
# (Multi-Arch: same) cannot be matched.
#
# Prints one line per suite, by the code name its Release file gives (what apt
# pins by, `Pin: release n=NAME`):
#   out NAME REASON    a suite to leave out, and why
#   in NAME            a suite whose lists agree
# Usage: apt-suites-out-of-step.sh UPDATE_OUTPUT LISTS_FOLDER [ARCH]
set -euo pipefail

[ $# -ge 2 ] || { echo "usage: $0 UPDATE_OUTPUT LISTS_FOLDER [ARCH]" >&2; exit 2; }
update_output=$1
lists=$2
arch=${3:-i386}

# The reason apt gave for each suite whose ARCH list it could not fetch:
# "E: Failed to fetch URI/dists/SUITE/COMPONENT/binary-ARCH/FILE  REASON".
declare -A failed=()
while IFS=$'\t' read -r suite reason; do
  [ -n "${failed[$suite]:-}" ] || failed[$suite]=$reason
done < <(sed -n "s|^E: Failed to fetch [^ ]*/dists/\([^/ ]*\)/[^ ]*/binary-$arch/[^ ]* *\(.*\)|\1\t\2|p" "$update_output" |
         sed -e 's/ *\[IP: [^]]*\]$//' -e 's/  */ /g')

for release in "$lists"/*_dists_*_InRelease "$lists"/*_dists_*_Release; do
  [ -f "$release" ] || continue
  suite=${release##*_dists_}
  suite=${suite%_InRelease}
  suite=${suite%_Release}
  name=$(sed -n 's/^Codename: *//p' "$release" | head -n 1)
  name=${name:-$suite}
  prefix=${release%_dists_*}_dists_${suite}_
  if [ -n "${failed[$suite]:-}" ]; then
    echo "out $name ${failed[$suite]}"
  elif ! compgen -G "${prefix}*binary-${arch}_Packages*" > /dev/null &&
       compgen -G "${prefix}*binary-*_Packages*" > /dev/null; then
    echo "out $name its $arch list is missing"
  else
    echo "in $name"
  fi
done
