#!/usr/bin/env bash
# Draws the program's pictures: the window and tray icon (icono.png, 32 x 32),
# the same icon for the desktop's icon theme at the sizes desktops use
# (hicolor/NxN/quimbal.png) and as a drawing (hicolor/scalable/quimbal.svg),
# and the logo of the start screen (231 x 168). Needs ImageMagick; run from
# this folder. The pictures are kept in the repository: the build needs no
# ImageMagick.
set -euo pipefail
export LC_ALL=C

# The icon is designed on a 32 x 32 grid of pixel centres; at SIZE pixels a
# grid coordinate is p X, a length l X (a pixel centre stays a centre), and
# a R A the point at angle A (degrees) on the circle of radius R around the
# centre of the sound waves, (14, 16).
p() { awk -v s="$s" -v x="$1" 'BEGIN { printf "%.3f", (x + 0.5) * s / 32 - 0.5 }'; }
l() { awk -v s="$s" -v x="$1" 'BEGIN { printf "%.3f", x * s / 32 }'; }
a() {
  awk -v s="$s" -v r="$1" -v g="$2" 'BEGIN { t = g * atan2(0, -1) / 180
    printf "%.3f,%.3f", (14.5 + r * cos(t)) * s / 32 - 0.5, (16.5 + r * sin(t)) * s / 32 - 0.5 }'
}
# A sound wave: the band 2 wide around the arc of radius R from -G to G
# degrees, as a filled outline (a stroked open path comes out closed).
onda() { # onda R G
  local r1=$(($1 + 1)) r2=$(($1 - 1))
  echo "path 'M $(a $r1 -$2) A $(l $r1),$(l $r1) 0 0,1 $(a $r1 $2)" \
    "L $(a $r2 $2) A $(l $r2),$(l $r2) 0 0,0 $(a $r2 -$2) Z'"
}
icono() { # icono SIZE OUTPUT [OPTIONS...]
  local s=$1 salida=$2
  shift 2
  convert -size "${s}x${s}" xc:none -fill '#1f5fa8' \
    -draw "roundrectangle $(p 1),$(p 1) $(p 30),$(p 30) $(l 6),$(l 6)" \
    -fill white -draw "circle $(p 12),$(p 16) $(p 12),$(p 8)" \
    -draw "$(onda 10 50)" -draw "$(onda 15 45)" \
    -fill '#f2b705' -draw "circle $(p 12),$(p 16) $(p 12),$(p 12)" "$@" "$salida"
}

icono 32 PNG8:icono.png -colors 16
# Theme sizes in full colour, without time stamps, so that drawing again gives
# the same files.
for s in 16 22 24 32 48 64 128 256; do
  mkdir -p "hicolor/${s}x${s}"
  icono "$s" "PNG32:hicolor/${s}x${s}/quimbal.png" -strip \
    -define png:exclude-chunks=date,time
done

# The drawing: the same shapes on the grid, each pixel coordinate c at c + 0.5.
mkdir -p hicolor/scalable
awk 'function x(r, a) { return sprintf("%.3f", 14.5 + r * cos(a * atan2(0, -1) / 180)) }
     function y(r, a) { return sprintf("%.3f", 16.5 + r * sin(a * atan2(0, -1) / 180)) }
     BEGIN {
       print "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"32\" height=\"32\" viewBox=\"0 0 32 32\">"
       print "  <rect x=\"1.5\" y=\"1.5\" width=\"29\" height=\"29\" rx=\"6\" fill=\"#1f5fa8\"/>"
       print "  <circle cx=\"12.5\" cy=\"16.5\" r=\"8\" fill=\"#ffffff\"/>"
       print "  <circle cx=\"12.5\" cy=\"16.5\" r=\"4\" fill=\"#f2b705\"/>"
       printf "  <path d=\"M %s %s A 10 10 0 0 1 %s %s M %s %s A 15 15 0 0 1 %s %s\" ", \
         x(10, -50), y(10, -50), x(10, 50), y(10, 50), x(15, -45), y(15, -45), x(15, 45), y(15, 45)
       print "fill=\"none\" stroke=\"#ffffff\" stroke-width=\"2\"/>"
       print "</svg>"
     }' >hicolor/scalable/quimbal.svg

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
