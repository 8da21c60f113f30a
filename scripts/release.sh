#!/usr/bin/env bash
# Builds the release of QM47 from the committed sources (HEAD, never the
# working tree), 32-bit, in a temporary folder of its own, and writes
#     <out>/QM47-<version>-win32.zip   QM47.exe and CZYTAJ.TXT, nothing else
#     <out>/SHA256SUMS                 the SHA-256 of the zip and of QM47.exe
#
#   scripts/release.sh [--out DIR]     (default DIR: dist)
#
# The same commit gives the same bytes wherever it is built: the exe carries
# no link time and no build folder (see CMakeLists.txt), and the zip holds
# its two files in name order, dated at the commit's time (UTC), without
# extra attributes. CZYTAJ.TXT is docs/CZYTAJ.txt in Windows-1250 with CR LF
# line ends; a character without a Windows-1250 form fails the release.
# The version comes from CMakeLists.txt, through the generated res/Version.h.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=scripts/common.sh
. "$repo/scripts/common.sh"

out=$repo/dist
while [ $# -gt 0 ]; do
  case $1 in
    --out) [ $# -ge 2 ] || { echo "release: --out needs a folder" >&2; exit 2; }
           out=$2; shift 2 ;;
    *) echo "usage: scripts/release.sh [--out DIR]" >&2; exit 2 ;;
  esac
done

log() { echo "release: $*" >&2; }

commit=$(git -C "$repo" rev-parse HEAD)
commit_time=$(git -C "$repo" log -1 --format=%ct HEAD)
if [ -n "$(git -C "$repo" status --porcelain --untracked-files=no)" ]; then
  log "uncommitted changes are left out: the release is built from HEAD ($commit)"
fi

work=$(mktemp -d /tmp/qm47-release.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir "$work/src" "$work/stage"
git -C "$repo" archive --format=tar HEAD | tar -x -C "$work/src"

# The shipping program alone: no tests, no simulated printer.
log "building QM47.exe (win32) of $commit"
cmake -S "$work/src" -B "$work/build" -G Ninja --no-warn-unused-cli \
  -DCMAKE_TOOLCHAIN_FILE="$work/src/cmake/toolchain-mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=MinSizeRel -DQM47_TESTS=OFF >"$work/configure.log" 2>&1 ||
  { cat "$work/configure.log" >&2; exit 1; }
cmake --build "$work/build" --target QM47 -j "$(build_jobs)" >"$work/build.log" 2>&1 ||
  { cat "$work/build.log" >&2; exit 1; }

version=$(sed -n 's/^#define QM47_VERSION_TEXT "\(.*\)"$/\1/p' "$work/build/generated/res/Version.h")
[ -n "$version" ] || { log "no version in the generated res/Version.h"; exit 1; }
zip_name=QM47-$version-win32.zip

cp "$work/build/QM47.exe" "$work/stage/QM47.exe"
iconv -f UTF-8 -t CP1250 "$work/src/docs/CZYTAJ.txt" | sed -e 's/\r$//' -e 's/$/\r/' >"$work/stage/CZYTAJ.TXT"
for file in QM47.exe CZYTAJ.TXT; do
  chmod 644 "$work/stage/$file"
  touch -d "@$commit_time" "$work/stage/$file"
done
(cd "$work/stage" && TZ=UTC zip -X -D -q "$work/$zip_name" CZYTAJ.TXT QM47.exe)

mkdir -p "$out"
out=$(cd "$out" && pwd)
rm -f "$out"/QM47-*-win32.zip
cp "$work/$zip_name" "$out/$zip_name"
zip_hash=$(sha256sum "$out/$zip_name" | cut -d' ' -f1)
exe_hash=$(sha256sum "$work/stage/QM47.exe" | cut -d' ' -f1)
printf '%s  %s\n%s  %s\n' "$zip_hash" "$zip_name" "$exe_hash" QM47.exe >"$out/SHA256SUMS"

echo "$out/$zip_name"
echo "SHA-256 $zip_hash"
