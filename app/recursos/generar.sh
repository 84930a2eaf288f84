#!/usr/bin/env bash
# Draws the program's pictures: the shared 32 x 32 window icon and the logo of
# the start screen (231 x 168). Needs ImageMagick; run from this folder.
set -euo pipefail
convert -size 32x32 xc:none -fill '#1f5fa8' -draw "roundrectangle 1,1 30,30 6,6" \
  -fill white -draw "circle 12,16 12,8" -fill '#f2b705' -draw "circle 12,16 12,12" \
  -stroke white -strokewidth 2 -fill none -draw "ellipse 14,16 10,10 -50,50" \
  -draw "ellipse 14,16 15,15 -45,45" -colors 16 PNG8:icono.png
ondas=$(mktemp --suffix=.png)
convert -size 231x168 xc:none -stroke '#1f5fa8' -strokewidth 6 -fill none \
  -draw "circle 100,85 122,85" -draw "circle 100,85 148,85" -draw "circle 100,85 174,85" \
  +antialias -stroke none -fill black -draw "polygon 100,85 229,-68 0,-68 0,85" \
  -draw "polygon 100,85 229,238 0,238 0,85" -fuzz 30% -transparent black "$ondas"
convert -size 231x168 xc:white -fill '#e8f0fa' -draw "roundrectangle 4,4 226,163 18,18" \
  "$ondas" -composite -fill '#1f5fa8' -draw "roundrectangle 22,40 92,130 12,12" \
  -fill white -draw "circle 57,85 57,60" -fill '#f2b705' -draw "circle 57,85 57,72" \
  -fill '#333333' -font DejaVu-Sans-Bold -pointsize 20 -annotate +24+158 "Quimbal" \
  -colors 64 PNG8:logo.png
rm -f "$ondas"
