#!/bin/sh
# Draws the program's icon (res/qm47.ico: 16, 32 and 48 pixels) and the main
# window's picture (res/printer.bmp: 364 x 228, 256 colours) with
# ImageMagick drawing primitives: a receipt printer with a receipt coming out.
# Run from anywhere; writes into the repository's res/.
set -eu
res=$(cd "$(dirname "$0")/../res" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# --- The picture -------------------------------------------------------------
# A front view: dark printer body, lighter lid with the paper slot, a green
# display and three keys; the receipt rises from the slot with a torn edge.
receipt_lines=""
for row in 0 1 2 3 4 5; do
  y=$((44 + row * 9))
  case $row in
    0) x2=212 ;; 1) x2=196 ;; 2) x2=222 ;; 3) x2=204 ;; 4) x2=218 ;; 5) x2=190 ;;
  esac
  receipt_lines="$receipt_lines rectangle 136,$y $x2,$((y + 3))"
  receipt_lines="$receipt_lines rectangle $((x2 + 8)),$y 228,$((y + 3))"
done

convert -size 364x228 gradient:'#eef3f8'-'#c3d1df' \
  \( -size 364x228 xc:none -fill '#00000055' -draw 'ellipse 182,206 138,9 0,360' -blur 0x4 \) -composite \
  -stroke none \
  -fill '#ffffff' -draw 'polygon 124,104 124,24 130,18 136,24 142,18 148,24 154,18 160,24 166,18 172,24 178,18 184,24 190,18 196,24 202,18 208,24 214,18 220,24 226,18 232,24 238,18 240,20 240,104' \
  -fill '#e3e8ee' -draw 'rectangle 124,94 240,104' \
  -fill '#6f7a88' -draw "$receipt_lines" \
  -fill '#9aa4b1' -draw 'rectangle 136,33 228,35' \
  -fill '#9aa4b1' -draw 'rectangle 136,99 228,100' \
  -fill '#2f3742' -draw 'rectangle 136,104 176,108' -draw 'rectangle 196,104 228,108' \
  -fill '#5a6677' -draw 'roundrectangle 66,96 298,132 12,12' \
  -fill '#6b788a' -draw 'roundrectangle 70,98 294,110 8,8' \
  -fill '#1b2028' -draw 'roundrectangle 112,103 252,111 3,3' \
  -fill '#ffffff' -draw 'rectangle 124,96 240,107' \
  -fill '#d5dbe2' -draw 'rectangle 124,104 240,107' \
  -fill '#3a4351' -draw 'roundrectangle 56,116 308,204 14,14' \
  -fill '#465061' -draw 'roundrectangle 56,116 308,134 14,14' -draw 'rectangle 56,126 308,134' \
  -fill '#2b323d' -draw 'rectangle 56,194 308,196' \
  -fill '#10261a' -draw 'roundrectangle 80,144 180,176 5,5' \
  -fill '#6fd08a' -draw 'rectangle 90,153 102,167' -draw 'rectangle 108,153 120,167' -draw 'rectangle 126,153 138,167' \
  -fill '#6fd08a' -draw 'rectangle 146,163 150,167' -draw 'rectangle 156,153 168,167' \
  -fill '#10261a' -draw 'rectangle 93,156 99,158' -draw 'rectangle 93,162 99,164' \
  -fill '#10261a' -draw 'rectangle 111,156 120,158' -draw 'rectangle 108,162 117,164' \
  -fill '#10261a' -draw 'rectangle 126,156 135,158' -draw 'rectangle 126,162 135,164' \
  -fill '#10261a' -draw 'rectangle 159,156 165,158' -draw 'rectangle 159,162 165,164' \
  -fill '#d9534f' -draw 'circle 218,160 218,169' \
  -fill '#f0ad4e' -draw 'circle 246,160 246,169' \
  -fill '#5cb85c' -draw 'circle 274,160 274,169' \
  -fill '#ffffff44' -draw 'circle 215,157 215,160' -draw 'circle 243,157 243,160' -draw 'circle 271,157 271,160' \
  -fill '#252b34' -draw 'roundrectangle 76,202 108,208 3,3' -draw 'roundrectangle 256,202 288,208 3,3' \
  -alpha off -dither FloydSteinberg -colors 256 -type Palette -compress None -define bmp:format=bmp3 BMP3:"$res/printer.bmp"

# --- The icon ----------------------------------------------------------------
# The same printer, simplified, drawn afresh at each size so small sizes
# stay sharp: the coordinates are for 48 pixels and scaled.
icon() {
  size=$1
  s() { echo "$1 * $size / 48" | bc; }
  draw="fill #ffffff polygon $(s 14),$(s 26) $(s 14),$(s 6) $(s 18),$(s 3) $(s 22),$(s 6) $(s 26),$(s 3) $(s 30),$(s 6) $(s 34),$(s 3) $(s 34),$(s 26)"
  lines=""
  if [ "$size" -ge 32 ]; then
    for y in 10 14 18; do lines="$lines rectangle $(s 17),$(s $y) $(s 31),$(s $y)"; done
  else
    lines="rectangle 6,3 9,3 rectangle 6,5 10,5"
  fi
  convert -size "${size}x${size}" xc:none -stroke none \
    -draw "$draw" \
    -draw "fill #7d8796 $lines" \
    -fill '#56616f' -draw "roundrectangle $(s 4),$(s 20) $(s 44),$(s 30) $(s 4),$(s 4)" \
    -fill '#1b2028' -draw "rectangle $(s 12),$(s 22) $(s 36),$(s 24)" \
    -fill '#ffffff' -draw "rectangle $(s 14),$(s 20) $(s 34),$(s 23)" \
    -fill '#37404d' -draw "roundrectangle $(s 2),$(s 26) $(s 46),$(s 44) $(s 4),$(s 4)" \
    -fill '#6fd08a' -draw "rectangle $(s 8),$(s 32) $(s 22),$(s 38)" \
    -fill '#d9534f' -draw "rectangle $(s 30),$(s 33) $(s 34),$(s 37)" \
    -fill '#5cb85c' -draw "rectangle $(s 37),$(s 33) $(s 41),$(s 37)" \
    "PNG32:$work/icon$size.png"
}
for size in 16 32 48; do icon "$size"; done
convert "$work/icon16.png" "$work/icon32.png" "$work/icon48.png" "$res/qm47.ico"
