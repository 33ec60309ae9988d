#!/usr/bin/env bash
# Draws the README picture: the palette over a desktop with a document and
# some ink, made by plumet-replay with real clicks on the palette.
# Usage: docs/images/make-palette-shot.sh PATH/TO/plumet-replay [SCALE]
# SCALE 2 draws the same scene on a screen scaled twice (palette-2x.png):
# everything twice as large but the ink, which stays in device pixels.
# Needs ImageMagick (convert) and the DejaVu fonts.
set -euo pipefail
replay=$(realpath "$1")
s=${2:-1}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A desktop: a calm gradient and a document window with a few lines of text.
# Drawn at the screen's scale (-density), so text stays crisp at 2x.
convert -size 1366x768 gradient:'#3b6e8f'-'#1d2f45' \
  -fill '#f7f7f5' -draw 'roundrectangle 170,90 1010,690 6,6' \
  -fill '#dfe3e8' -draw 'roundrectangle 170,90 1010,124 6,6' -draw 'rectangle 170,110 1010,124' \
  "$work/ground.png"
convert "$work/ground.png" -filter point -resize "$((100 * s))%" \
  -fill '#33383f' -font DejaVu-Sans -pointsize $((14 * s)) -annotate +$((190 * s))+$((112 * s)) 'Quarterly review.txt' \
  -font DejaVu-Sans-Bold -pointsize $((30 * s)) -annotate +$((220 * s))+$((190 * s)) 'Quarterly review' \
  -font DejaVu-Sans -pointsize $((20 * s)) \
  -annotate +$((220 * s))+$((250 * s)) 'Orders grew 18 %% over the quarter,' \
  -annotate +$((220 * s))+$((282 * s)) 'mostly from the new northern stores.' \
  -annotate +$((220 * s))+$((344 * s)) 'Open questions' \
  -annotate +$((240 * s))+$((384 * s)) '- delivery times in December' \
  -annotate +$((240 * s))+$((416 * s)) '- staffing for the spring launch' \
  -annotate +$((240 * s))+$((448 * s)) '- the budget for the web shop' \
  "$work/desktop.png"

# Points along curves, as pointer moves with the button held.
stroke() {  # awk program printing "x y" lines at 1x
  awk "BEGIN { pi = atan2(0, -1); $1 }" | awk -v s="$s" '{ print $1 * s, $2 * s }' | {
    read -r x y
    echo "press $x $y"
    while read -r x y; do echo "move $x $y"; last="$x $y"; done
    echo "release $last"
  }
}

# The palette's left edge is 100 (layout) pixels left of the screen's right edge.
palette_x=$(((1366 - 100 + 25) * s))
pick() {  # a palette button (layout y), reached the way a hand would
  echo "move $palette_x $(($1 * s))"
  echo "click $palette_x $(($1 * s))"
}
{
  echo "screen $((1366 * s)) $((768 * s))"
  echo "scale $s"
  echo "desktop $work/desktop.png"
  echo "start"
  pick 212   # blue pen
  stroke 'for (i = 0; i <= 90; i++) { a = -2.9 + i * 2 * pi * 1.05 / 90; printf "%d %d\n", 362 + 170 * cos(a), 178 + 36 * sin(a) }'
  stroke 'for (i = 0; i <= 50; i++) { a = -2.6 + i * 2 * pi * 1.06 / 50; printf "%d %d\n", 370 + 40 * cos(a), 236 + 20 * sin(a) }'
  pick 249   # red pen
  stroke 'for (i = 0; i <= 50; i++) { x = 225 + i * 7.2; printf "%d %d\n", x, 292 + 3 * sin(i / 5) }'
  pick 286   # green pen
  stroke 'for (i = 0; i <= 10; i++) printf "%d %d\n", 560 + i * 2, 365 + i * 2; for (i = 0; i <= 24; i++) printf "%d %d\n", 580 + i * 2, 385 - i * 3'
  stroke 'for (i = 0; i <= 10; i++) printf "%d %d\n", 600 + i * 2, 397 + i * 2; for (i = 0; i <= 24; i++) printf "%d %d\n", 620 + i * 2, 417 - i * 3'
  echo "move $palette_x $((249 * s))"    # the pointer rests on the red pen
  echo "shot $work/shot.png"
  echo "key Escape"
  echo "expect-ended"
} >"$work/script"

"$replay" "$work/script"
if [ "$s" -eq 1 ]; then name=palette.png; else name=palette-${s}x.png; fi
convert "$work/shot.png" -strip "$here/$name"
