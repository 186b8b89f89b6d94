#!/bin/sh
# Draws the logo of the electronic-invoice sample (a carpenter's square beside the firm's
# initials) into logo_escuadra.png. Run from this folder: sh make_logo.sh
set -e
convert -size 640x240 xc:white \
  -fill '#1d4e89' -draw 'roundrectangle 10,10 230,230 28,28' \
  -fill white -draw 'polygon 55,50 95,50 95,150 190,150 190,190 55,190' \
  -fill '#f2a900' -draw 'polygon 105,50 190,50 190,140 105,140' \
  -fill '#1d4e89' -font Liberation-Sans-Bold -pointsize 64 -draw "text 255,115 'LA'" \
  -fill '#1d4e89' -font Liberation-Sans-Bold -pointsize 60 -draw "text 255,195 'ESCUADRA'" \
  -strip -define png:exclude-chunks=date,time PNG24:logo_escuadra.png
