#!/usr/bin/env bash
# Draws the README picture: the palette over a desktop with a document and
# some ink, made by plumet-replay with real clicks on the palette.
# Usage: docs/images/make-palette-shot.sh PATH/TO/plumet-replay
# Needs ImageMagick (convert) and the DejaVu fonts.
set -euo pipefail
replay=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A desktop: a calm gradient and a document window with a few lines of text.
convert -size 1366x768 gradient:'#3b6e8f'-'#1d2f45' \
  -fill '#f7f7f5' -draw 'roundrectangle 170,90 1010,690 6,6' \
  -fill '#dfe3e8' -draw 'roundrectangle 170,90 1010,124 6,6' -draw 'rectangle 170,110 1010,124' \
  -fill '#33383f' -font DejaVu-Sans -pointsize 14 -annotate +190+112 'Quarterly review.txt' \
  -font DejaVu-Sans-Bold -pointsize 30 -annotate +220+190 'Quarterly review' \
  -font DejaVu-Sans -pointsize 20 \
  -annotate +220+250 'Orders grew 18 %% over the quarter,' \
  -annotate +220+282 'mostly from the new northern stores.' \
  -annotate +220+344 'Open questions' \
  -annotate +240+384 '- delivery times in December' \
  -annotate +240+416 '- staffing for the spring launch' \
  -annotate +240+448 '- the budget for the web shop' \
  "$work/desktop.png"

# Points along curves, as pointer moves with the button held.
stroke() {  # awk program printing "x y" lines
  awk "BEGIN { pi = atan2(0, -1); $1 }" | {
    read -r x y
    echo "press $x $y"
    while read -r x y; do echo "move $x $y"; last="$x $y"; done
    echo "release $last"
  }
}

palette_x=1291
pick() {  # a palette button, reached the way a hand would
  echo "move $palette_x $1"
  echo "click $palette_x $1"
}
{
  echo "screen 1366 768"
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
  echo "move $palette_x 249"    # the pointer rests on the red pen
  echo "shot $work/shot.png"
  echo "key Escape"
  echo "expect-ended"
} >"$work/script"

"$replay" "$work/script"
convert "$work/shot.png" -strip "$here/palette.png"
