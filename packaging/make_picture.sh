#!/usr/bin/env bash
# Draws the installer's header picture (packaging/cabecera.bmp): the program's logo, a
# pre-printed sheet with its fields filled in, as a 96 x 96 BMP with an 8-bit palette.
# Needs ImageMagick (in ./dev's packages). The picture is committed; run this again only
# to change it.
set -euo pipefail
cd "$(dirname "$0")"
out=cabecera.bmp
# The logo's 64-unit drawing, scaled by 1.5 onto the 96-pixel square.
convert -size 96x96 xc:white \
  -stroke '#2f4f6f' -strokewidth 3 -fill '#f3f6f9' \
  -draw "path 'M 18,6 L 63,6 L 81,24 L 81,90 L 18,90 Z'" \
  -fill '#c9d6e3' -draw "path 'M 63,6 L 63,24 L 81,24 Z'" \
  -stroke none -fill '#2f4f6f' -draw "roundrectangle 25,15 55,21 2,2" \
  -stroke '#6f8fb0' -strokewidth 2 -fill none -draw "rectangle 25,31 73,42" \
  -stroke '#c0392b' -strokewidth 4 -draw "line 30,39 46,39" \
  -stroke '#6f8fb0' -strokewidth 2 -fill none \
  -draw "rectangle 25,49 34,60" -draw "rectangle 34,49 43,60" -draw "rectangle 43,49 52,60" \
  -draw "rectangle 52,49 61,60" -draw "rectangle 61,49 70,60" \
  -stroke none -fill '#c0392b' -font Liberation-Mono-Bold -pointsize 11 \
  -draw "text 27,58 '4'" -draw "text 36,58 '2'" -draw "text 45,58 '7'" \
  -stroke '#6f8fb0' -strokewidth 2 -fill white -draw "rectangle 25,69 36,80" \
  -stroke '#1e8449' -strokewidth 3 -fill none -draw "polyline 27,74 30,78 37,69" \
  -stroke '#6f8fb0' -strokewidth 2 -draw "line 42,75 70,75" \
  -colors 256 -type Palette -compress None "BMP3:$out"
file "$out"
