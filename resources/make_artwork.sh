#!/usr/bin/env bash
# Draws the program's pictures: the client-area background (bitmap 134), the
# toolbar strip (bitmap 128) and the icons 128, 129 and 131. Run it from this
# folder after changing a picture; the PNG files are kept in the repository.
set -euo pipefail
cd "$(dirname "$0")"

# Bitmap 134, 256 x 256, at most 256 palette colours: a sky gradient with a
# hand-held radio sending waves. The same picture drawn four times as large
# in full colour (bitmap134_hd.png) is what the client area shows: stretched
# over a large window, the small one shows its pixels and colour bands.
background() {  # $1 scale, then the output options
  local scale=$1
  shift
  convert -size $((256 * scale))x$((256 * scale)) gradient:'#1f4e79'-'#9cc3e6' -affine "$scale,0,0,$scale,0,0" \
    -fill none -stroke '#ffffff40' -strokewidth 6 \
    -draw "arc 70,40 186,156 200,340" \
    -draw "arc 50,20 206,176 200,340" \
    -draw "arc 30,0 226,196 200,340" \
    -stroke none -fill '#2b2b2b' -draw "roundrectangle 104,96 152,216 8,8" \
    -fill '#3c3c3c' -draw "rectangle 136,56 144,100" \
    -fill '#7fb3d5' -draw "rectangle 112,108 144,136" \
    -fill '#555555' -draw "circle 118,160 118,166" -draw "circle 138,160 138,166" \
    -fill '#444444' -draw "rectangle 112,178 144,182" -draw "rectangle 112,188 144,192" -draw "rectangle 112,198 144,202" \
    -fill '#e74c3c' -draw "circle 140,60 140,63" \
    "$@"
}
background 1 -colors 91 -type Palette PNG8:bitmap134.png
background 4 -depth 8 PNG24:bitmap134_hd.png

# Bitmap 128: nine 18 x 20 pictures in toolbar order: New, Open, Save, read,
# write, online tuning, edit channel, Print, About.
convert -size 162x20 xc:'#c0c0c0' -strokewidth 1 \
  -fill white -stroke black -draw "polygon 3,2 11,2 15,6 15,18 3,18 3,2" -draw "line 11,2 11,6" -draw "line 11,6 15,6" \
  -fill '#f4d03f' -stroke '#7d6608' -draw "polygon 19,6 25,6 27,8 34,8 34,17 19,17" -fill '#f9e79f' -draw "polygon 21,10 35,10 33,17 19,17" \
  -fill '#2e86c1' -stroke '#1b4f72' -draw "rectangle 38,3 52,17" -fill white -stroke none -draw "rectangle 41,4 49,9" -fill '#1b4f72' -draw "rectangle 42,12 48,17" \
  -fill '#2b2b2b' -stroke none -draw "rectangle 57,7 63,18" -draw "rectangle 61,2 62,7" -fill '#27ae60' -draw "polygon 65,4 69,4 69,9 71,9 67,14 63,9 65,9" \
  -fill '#2b2b2b' -draw "rectangle 75,7 81,18" -draw "rectangle 79,2 80,7" -fill '#c0392b' -draw "polygon 85,14 89,14 89,9 91,9 87,4 83,9 85,9" \
  -fill none -stroke '#1b4f72' -strokewidth 2 -draw "line 94,10 106,10" -stroke none -fill '#c0392b' -draw "rectangle 97,6 100,14" \
  -fill none -stroke '#1b4f72' -strokewidth 1 -draw "arc 93,3 107,17 200,340" \
  -fill white -stroke '#555555' -draw "rectangle 110,3 124,17" -draw "line 110,8 124,8" -draw "line 110,13 124,13" -draw "line 115,3 115,17" \
  -stroke none -fill '#d35400' -draw "polygon 118,15 125,6 127,8 120,17 117,18" \
  -fill '#7f8c8d' -stroke black -draw "rectangle 129,9 143,15" -fill white -draw "rectangle 132,3 140,9" -draw "rectangle 132,14 140,18" \
  -fill '#2e86c1' -stroke '#1b4f72' -draw "circle 153,10 153,3" -stroke none -fill white \
  -draw "rectangle 152,9 154,14" -draw "rectangle 152,5 154,7" \
  -transparent "#c0c0c0" -colors 16 PNG8:bitmap128.png

# Icons, 32 x 32.
radio_icon() {  # $1 file, $2 body colour, $3 screen colour
  convert -size 32x32 xc:none \
    -fill "$2" -draw "roundrectangle 9,9 23,30 3,3" -fill '#3c3c3c' -draw "rectangle 19,1 21,9" \
    -fill "$3" -draw "rectangle 11,12 21,18" \
    -fill '#bbbbbb' -draw "circle 13,23 13,25" -draw "circle 19,23 19,25" \
    -fill none -stroke '#2e86c1' -strokewidth 2 -draw "arc 22,0 32,12 270,90" \
    PNG32:"$1"
}
radio_icon icon128.png '#2b2b2b' '#7fb3d5'
radio_icon icon131.png '#1b4f72' '#a9dfbf'
convert -size 32x32 xc:none -fill white -stroke '#34495e' -strokewidth 1 \
  -draw "polygon 5,1 20,1 27,8 27,30 5,30 5,1" -draw "line 20,1 20,8" -draw "line 20,8 27,8" \
  -stroke '#2e86c1' -draw "line 9,13 23,13" -draw "line 9,17 23,17" -draw "line 9,21 23,21" -draw "line 9,25 23,25" \
  -draw "line 13,11 13,27" PNG32:icon129.png

# The same two icons drawn afresh at the desktop icon theme's sizes (the
# program's icon and the .szt file's), for the installed package.
theme_icons() {  # $1 size
  local n=$1 s
  s=$(awk "BEGIN { print $1 / 32 }")
  local dir=icons/hicolor/${n}x${n}
  mkdir -p "$dir/apps" "$dir/mimetypes"
  convert -size "${n}x${n}" xc:none -draw "scale $s,$s \
    fill #2b2b2b roundrectangle 9,9 23,30 3,3 fill #3c3c3c rectangle 19,1 21,9 \
    fill #7fb3d5 rectangle 11,12 21,18 fill #bbbbbb circle 13,23 13,25 circle 19,23 19,25 \
    fill none stroke #2e86c1 stroke-width 2 arc 22,0 32,12 270,90" \
    PNG32:"$dir/apps/quorim-ch.png"
  convert -size "${n}x${n}" xc:none -draw "scale $s,$s \
    fill white stroke #34495e stroke-width 1 polygon 5,1 20,1 27,8 27,30 5,30 5,1 \
    line 20,1 20,8 line 20,8 27,8 stroke #2e86c1 \
    line 9,13 23,13 line 9,17 23,17 line 9,21 23,21 line 9,25 23,25 line 13,11 13,27" \
    PNG32:"$dir/mimetypes/application-x-szt-ch.document.png"
}
for size in 16 24 32 48 64 128 256; do theme_icons "$size"; done
