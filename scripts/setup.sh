#!/usr/bin/env bash
# Installs what building and testing QM47 needs on a Debian 12 machine.
# Idempotent: installs only what is missing. Needs root (or sudo).
set -euo pipefail

packages=(
  cmake ninja-build g++ libgtest-dev clang libclang-rt-14-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine64 xvfb socat imagemagick x11-utils xdotool zip unzip
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  as_root bash "$(dirname "$0")/apt-update.sh" -qq ||
    echo "setup: going on with the package lists apt has" >&2
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
else
  echo "setup: Debian packages present"
fi
