#!/usr/bin/env bash
# Lays out every picture of the data library with its resource id and size, the
# glyph grids with their cell lines, the preview and the configuration picture.
#
#   data/contact-sheet.sh GEN_DIR PICTURE291 OUT.png
set -euo pipefail
gen=$1
picture=$2
out=$3
font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
names=(galaxy mercury venus earth mars jupiter saturn uranus neptune pluto sun clouds
       numberfont font sring uring crown panel orbit sign)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
tiles=()
for i in "${!names[@]}"; do
  n=${names[$i]}
  id=$((257 + i))
  case $n in
    numberfont|font|sign) src=$gen/sheet/$n.png; real=$gen/$n.bmp ;;
    *) src=$gen/$n.jpg; real=$src ;;
  esac
  size=$(identify -format '%wx%h' "$real")
  convert "$src" -resize 512x512 -background '#101018' -gravity center -extent 512x512 "$tmp/$id.png"
  tiles+=(-label "$id  $n  $size" "$tmp/$id.png")
done
size=$(identify -format '%wx%h' "$gen/preview.jpg")
convert "$gen/preview.jpg" -filter point -resize 200% -background '#101018' -gravity center -extent 512x512 "$tmp/288.png"
tiles+=(-label "288  preview  $size" "$tmp/288.png")
size=$(identify -format '%wx%h' "$picture")
convert "$picture" -filter point -resize 150% -background '#101018' -gravity center -extent 512x512 "$tmp/291.png"
tiles+=(-label "291  program's picture  $size" "$tmp/291.png")
convert "$gen/sheet/panel-sample.png" -background '#101018' -gravity center -extent 520x520 -resize 512x512 "$tmp/panel.png"
tiles+=(-label "panel mock-up: 274, 270, 276, 289, 290" "$tmp/panel.png")
mkdir -p "$(dirname "$out")"
montage -font "$font" -pointsize 18 -fill '#e8e8f0' -background '#24242c' \
  "${tiles[@]}" -tile 6x -geometry 360x360+8+8 -title "duzidad.dll" -depth 8 "$out"
