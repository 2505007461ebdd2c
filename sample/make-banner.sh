#!/bin/sh
# Regenerates KOVRAJ.GIF, the search logo that the results page banner and
# the search page's message page show from the program folder: a magnifying
# glass over the lighthouse on a night sea. Fixed shapes only, no text, no
# metadata, so the bytes repeat on the same ImageMagick version.
set -eu
cd "$(dirname "$0")"
convert -size 64x64 xc:'#0A1430' \
  -fill '#123A6B' -draw 'rectangle 0,48 63,63' \
  -fill '#4A4A4A' -draw 'polygon 6,50 30,50 34,63 2,63' \
  -fill '#FFFFFF' -draw 'polygon 14,20 22,20 25,50 11,50' \
  -fill '#C0282D' -draw 'polygon 13,28 23,28 24,33 12,33' \
  -fill '#C0282D' -draw 'polygon 12,39 24,39 25,44 11,44' \
  -fill '#202020' -draw 'rectangle 12,18 24,20' \
  -fill '#FFE066' -draw 'rectangle 15,12 21,17' \
  -fill '#202020' -draw 'polygon 14,11 22,11 18,6' \
  -fill '#FFF3B0' -draw 'polygon 21,14 40,6 40,22' \
  -fill none -stroke '#D8D8D8' -strokewidth 4 -draw 'circle 42,30 42,17' \
  -stroke '#8B5A2B' -strokewidth 6 -draw 'line 51,40 60,52' \
  -stroke none -fill '#9FC7FF' -draw 'circle 42,30 42,19' \
  -fill '#FFFFFF' -draw 'polygon 41,23 45,23 46,38 40,38' \
  -fill '#C0282D' -draw 'polygon 40,28 46,28 46,31 40,31' \
  -alpha off +dither -colors 32 -strip KOVRAJ.GIF
