#!/usr/bin/env bash
# Tells, without running it, which calling convention the exports of a
# 32-bit Windows DLL use, from the return instruction of each export:
#   "ret $N": the export removes its N bytes of arguments itself: __stdcall;
#   "ret":    the caller removes them: __cdecl (or the export takes none).
#
#   scripts/dll-convention.sh VaronelServiceLibrary.dll
#
# Prints one line per export, "<name> <bytes the export removes>", then
#   convention: __stdcall      some export removes its arguments
#   convention: __cdecl        no export does
# Exit 1 when the file cannot be read as a DLL with exports. Needs
# i686-w64-mingw32-objdump (Debian package binutils-mingw-w64-i686).
set -euo pipefail

if [ $# -ne 1 ]; then
  echo "usage: $0 FILE.dll" >&2
  exit 2
fi
dll=$1
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}

headers=$("$objdump" -p "$dll") || exit 1
image_base=$(awk '$1 == "ImageBase" { print $2; exit }' <<<"$headers")
[ -n "$image_base" ] || { echo "dll-convention: $dll: no ImageBase" >&2; exit 1; }

# The export address table ("[ i] +base[ n] <rva> Export RVA") and the names
# with the index of their address ("[ i] <name>").
declare -A address_of_index
while read -r index rva; do
  address_of_index[$index]=$(printf '%x' $((0x$image_base + 0x$rva)))
done < <(awk '/^Export Address Table --/ { table = 1; next }
              table && /Export RVA/ { gsub(/[][]/, " "); print $1, $4; next }
              table && NF == 0 { table = 0 }' <<<"$headers")
exports=()
while read -r index name; do
  [ -n "${address_of_index[$index]:-}" ] || continue
  exports+=("${address_of_index[$index]} $name")
done < <(awk '/^\[Ordinal\/Name Pointer\] Table/ { table = 1; next }
              table && NF == 0 { exit }
              table { gsub(/[][]/, " "); print $1, $2 }' <<<"$headers")
if [ ${#exports[@]} -eq 0 ]; then
  echo "dll-convention: $dll has no exports" >&2
  exit 1
fi

# The first return instruction from each export's address on, in one pass
# over the disassembly.
"$objdump" -d --no-show-raw-insn "$dll" |
  awk -v list="$(printf '%s\n' "${exports[@]}")" '
    function hex(text,    value, i) {
      value = 0
      for (i = 1; i <= length(text); i++) value = value * 16 + index("0123456789abcdef", substr(tolower(text), i, 1)) - 1
      return value
    }
    BEGIN {
      n = split(list, lines, "\n")
      for (i = 1; i <= n; i++) if (split(lines[i], f, " ") == 2) { name[f[1]] = f[2]; order[++count] = f[2] }
    }
    {
      address = $1; sub(/:$/, "", address)
      if (address in name) current = name[address]
      if (current != "" && $2 == "ret") {
        removed[current] = ($3 ~ /^\$0x/) ? hex(substr($3, 4)) : 0
        current = ""
      }
    }
    END {
      stdcall = 0
      for (i = 1; i <= count; i++) {
        e = order[i]
        if (!(e in removed)) { print e, "?"; continue }
        print e, removed[e]
        if (removed[e] > 0) stdcall = 1
      }
      print "convention:", (stdcall ? "__stdcall" : "__cdecl")
    }'
