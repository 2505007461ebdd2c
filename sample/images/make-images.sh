#!/bin/sh
# Regenerates every picture of the Gullstone Point collection with ImageMagick.
# The drawings are fixed shapes (no text, no random noise) and every timestamp
# chunk is left out, so running the script again gives the same bytes on the
# same ImageMagick version.
#
#   beam.gif     animated GIF, 6 frames, loops for ever (the turning beam)
#   bullet.gif   small GIF with a transparent colour
#   tile.gif     background tile for BODY BACKGROUND
#   grounds.gif  interlaced GIF, the picture under the image map
#   send.gif     the image button of the visitor's book form
#   logo.png     RGBA PNG with soft (partial) transparency
#   wave.png     palette PNG with a transparent palette entry
#   tower.jpg    baseline colour JPEG
#   lens.jpg     progressive greyscale JPEG
#   keeper.bmp   24-bit BMP
#   flag.bmp     4-bit palette BMP (16 colours or fewer)
#   compass.bmp  8-bit palette BMP
set -eu
cd "$(dirname "$0")"

# Keep dates and other text chunks out of the files.
NOMETA="-strip -define png:exclude-chunks=date,time"

# --- beam.gif: the tower on a night sky, the beam sweeping round ------------
beam_frame() {
  # $1: beam polygon, $2: lantern colour. Sea, rock, striped tower, gallery
  # and lantern room are the same in every frame.
  convert -size 64x64 xc:'#0A1430' \
    -fill '#FFF3B0' -draw "polygon $1" \
    -fill '#123A6B' -draw 'rectangle 0,50 63,63' \
    -fill '#4A4A4A' -draw 'polygon 16,52 48,52 54,63 10,63' \
    -fill '#FFFFFF' -draw 'polygon 26,22 38,22 41,52 23,52' \
    -fill '#C0282D' -draw 'polygon 25,30 39,30 40,36 24,36' \
    -fill '#C0282D' -draw 'polygon 24,42 40,42 41,48 23,48' \
    -fill '#202020' -draw 'rectangle 24,20 40,22' \
    -fill '#202020' -draw 'polygon 27,12 37,12 32,7' \
    -fill "$2" -draw 'rectangle 28,13 36,19' \
    -alpha off +dither -colors 16 GIF:-
}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
beam_frame "32,16 0,4 0,24"    "#FFE066" > "$tmp/f0.gif"
beam_frame "32,16 4,0 24,0"    "#FFE066" > "$tmp/f1.gif"
beam_frame "32,16 40,0 60,0"   "#FFE066" > "$tmp/f2.gif"
beam_frame "32,16 63,4 63,24"  "#FFE066" > "$tmp/f3.gif"
beam_frame "32,16 32,16 32,16" "#FFF8D0" > "$tmp/f4.gif"
beam_frame "32,16 32,16 32,16" "#B08A20" > "$tmp/f5.gif"
convert -loop 0 \
  -delay 20 "$tmp/f0.gif" -delay 20 "$tmp/f1.gif" -delay 20 "$tmp/f2.gif" \
  -delay 20 "$tmp/f3.gif" -delay 40 "$tmp/f4.gif" -delay 60 "$tmp/f5.gif" \
  -layers OptimizeFrame $NOMETA beam.gif

# --- bullet.gif: a red diamond on a transparent ground -----------------------
convert -size 12x12 xc:#FF00FF +antialias \
  -fill '#B22222' -draw 'polygon 6,0 11,6 6,11 0,6' \
  -fill '#FFD0A0' -draw 'polygon 6,3 8,6 6,8 3,6' \
  -transparent '#FF00FF' $NOMETA bullet.gif

# --- tile.gif: pale paper with faint wave marks (tiles seamlessly) ----------
convert -size 48x48 xc:#F4EEDC \
  -stroke '#E6DCC0' -strokewidth 1 -fill none \
  -draw 'bezier 0,12 12,6 12,18 24,12' -draw 'bezier 24,12 36,6 36,18 48,12' \
  -draw 'bezier 0,36 12,30 12,42 24,36' -draw 'bezier 24,36 36,30 36,42 48,36' \
  -stroke none -fill '#EADFC6' -draw 'point 12,24' -draw 'point 36,0' \
  +dither -colors 8 $NOMETA tile.gif

# --- grounds.gif: plan of the museum grounds (image map) --------------------
convert -size 320x200 xc:#2F6FA8 \
  -fill '#5E9E4A' -draw 'polygon 0,70 90,62 180,80 320,66 320,200 0,200' \
  -fill '#7A7A7A' -draw 'circle 60,40 60,22' \
  -fill '#9A9A9A' -draw 'circle 66,36 66,28' \
  -fill '#D8C8A0' -draw 'polygon 110,200 130,150 190,120 250,90 262,96 200,130 145,160 128,200' \
  -fill '#F0F0F0' -draw 'circle 250,60 250,35' \
  -fill '#C0282D' -draw 'circle 250,60 250,48' \
  -fill '#FFE066' -draw 'circle 250,60 250,54' \
  -fill '#8B5A2B' -draw 'rectangle 20,120 110,180' \
  -fill '#A0522D' -draw 'polygon 14,122 65,96 116,122' \
  -fill '#CCA66A' -draw 'polygon 140,150 200,140 230,190 150,195' \
  -fill '#6B4226' -draw 'polygon 280,66 300,66 300,20 292,20 292,60 280,60' \
  -stroke '#1E4E7A' -fill none -draw 'line 0,20 40,18' -draw 'line 100,30 180,28' \
  +dither -colors 16 -interlace GIF $NOMETA grounds.gif

# --- send.gif: image button with an envelope --------------------------------
convert -size 64x24 xc:#C0C0C0 \
  -fill '#FFFFFF' -draw 'rectangle 0,0 63,1' -draw 'rectangle 0,0 1,23' \
  -fill '#808080' -draw 'rectangle 0,22 63,23' -draw 'rectangle 62,0 63,23' \
  -fill '#FFFFF0' -stroke '#404040' -draw 'rectangle 20,6 44,18' \
  -fill none -draw 'polyline 20,6 32,13 44,6' \
  -stroke none -fill '#B22222' -draw 'circle 32,15 32,13' \
  +dither -colors 8 $NOMETA send.gif

# --- logo.png: lighthouse with a soft glow, partly transparent --------------
convert -size 120x120 xc:none \
  -fill 'rgba(255,224,102,0.25)' -draw 'circle 60,32 60,2' \
  -fill 'rgba(255,224,102,0.45)' -draw 'circle 60,32 60,14' \
  -fill 'rgba(18,58,107,0.6)' -draw 'ellipse 60,112 52,7 0,360' \
  -fill '#F5F5F5' -draw 'polygon 50,40 70,40 76,110 44,110' \
  -fill '#C0282D' -draw 'polygon 49,54 71,54 72,66 48,66' \
  -fill '#C0282D' -draw 'polygon 47,80 73,80 74,92 46,92' \
  -fill '#1A1A1A' -draw 'rectangle 46,36 74,40' \
  -fill '#FFE066' -draw 'rectangle 52,24 68,36' \
  -fill '#1A1A1A' -draw 'polygon 50,24 70,24 60,14' \
  $NOMETA PNG32:logo.png

# --- wave.png: a wavy rule in a palette PNG, background transparent ---------
convert -size 240x12 xc:#FF00FF +antialias \
  -stroke '#2F6FA8' -strokewidth 2 -fill none \
  -draw 'bezier 0,6 15,0 15,12 30,6' -draw 'bezier 30,6 45,0 45,12 60,6' \
  -draw 'bezier 60,6 75,0 75,12 90,6' -draw 'bezier 90,6 105,0 105,12 120,6' \
  -draw 'bezier 120,6 135,0 135,12 150,6' -draw 'bezier 150,6 165,0 165,12 180,6' \
  -draw 'bezier 180,6 195,0 195,12 210,6' -draw 'bezier 210,6 225,0 225,12 240,6' \
  -transparent '#FF00FF' $NOMETA PNG8:wave.png

# --- tower.jpg: a daylight view of the tower ---------------------------------
convert -size 200x150 gradient:'#6FA6DD'-'#E6F0FA' \
  -fill '#2F6FA8' -draw 'rectangle 0,110 199,149' \
  -fill '#3C82C0' -draw 'polygon 0,118 60,114 120,120 199,116 199,122 0,124' \
  -fill '#5A5A5A' -draw 'polygon 40,112 160,112 176,149 24,149' \
  -fill '#F8F8F8' -draw 'polygon 88,40 112,40 118,112 82,112' \
  -fill '#C0282D' -draw 'polygon 87,56 113,56 114,68 86,68' \
  -fill '#C0282D' -draw 'polygon 85,84 115,84 116,96 84,96' \
  -fill '#222222' -draw 'rectangle 84,36 116,40' \
  -fill '#FFF3B0' -draw 'rectangle 91,22 109,36' \
  -fill '#222222' -draw 'polygon 88,22 112,22 100,10' \
  -fill '#FFFFFF' -draw 'ellipse 40,30 18,6 0,360' -draw 'ellipse 160,20 22,7 0,360' \
  -quality 72 $NOMETA tower.jpg

# --- lens.jpg: rings of a lens panel, grey, progressive ----------------------
convert -size 96x96 xc:#303030 \
  -fill '#E0E0E0' -draw 'circle 48,48 48,4' \
  -fill '#707070' -draw 'circle 48,48 48,10' \
  -fill '#D0D0D0' -draw 'circle 48,48 48,16' \
  -fill '#606060' -draw 'circle 48,48 48,22' \
  -fill '#C8C8C8' -draw 'circle 48,48 48,28' \
  -fill '#505050' -draw 'circle 48,48 48,34' \
  -fill '#F8F8F8' -draw 'circle 48,48 48,40' \
  -colorspace Gray -interlace JPEG -quality 80 $NOMETA lens.jpg

# --- keeper.bmp: a keeper in cap and coat (24 bits per pixel) ---------------
convert -size 48x60 xc:#D8E4EC \
  -fill '#1F2A44' -draw 'polygon 6,59 12,40 36,40 42,59' \
  -fill '#E8C39E' -draw 'ellipse 24,26 10,12 0,360' \
  -fill '#8C8C8C' -draw 'polygon 15,30 33,30 30,40 18,40' \
  -fill '#1F2A44' -draw 'rectangle 13,12 35,17' -draw 'rectangle 11,17 37,19' \
  -fill '#D4AF37' -draw 'rectangle 22,13 26,16' \
  -fill '#202020' -draw 'point 20,25' -draw 'point 28,25' \
  -fill '#D4AF37' -draw 'point 24,46' -draw 'point 24,52' \
  -type TrueColor $NOMETA BMP3:keeper.bmp

# --- flag.bmp: a signal flag in a small palette (4 bits per pixel) ----------
convert -size 60x40 xc:#FFFFFF +antialias \
  -fill '#1040A0' -draw 'rectangle 0,0 29,19' -draw 'rectangle 30,20 59,39' \
  -fill '#E0C020' -draw 'rectangle 30,0 59,19' -draw 'rectangle 0,20 29,39' \
  -fill '#B22222' -draw 'circle 30,20 30,12' \
  -type Palette $NOMETA BMP3:flag.bmp

# --- compass.bmp: a compass rose on a shaded disc (8 bits per pixel) --------
convert -size 40x40 radial-gradient:'#FFF8E0'-'#8A6A30' \
  -fill '#1F2A44' -draw 'polygon 20,1 23,17 20,20 17,17' -draw 'polygon 20,39 17,23 20,20 23,23' \
  -fill '#B22222' -draw 'polygon 1,20 17,17 20,20 17,23' -draw 'polygon 39,20 23,23 20,20 23,17' \
  -fill '#D4AF37' -draw 'circle 20,20 20,17' \
  +dither -colors 64 -type Palette $NOMETA BMP3:compass.bmp

ls -l beam.gif bullet.gif tile.gif grounds.gif send.gif logo.png wave.png \
      tower.jpg lens.jpg keeper.bmp flag.bmp compass.bmp
