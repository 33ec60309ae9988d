#!/usr/bin/env bash
# Draws the README picture of Plumet on a real X server: Xvfb with the
# xcompmgr compositor, xedit and xclock beneath, ink drawn with xdotool.
# Usage: docs/images/make-desktop-shot.sh PATH/TO/plumet
# Needs: Xvfb xcompmgr xdotool imagemagick x11-apps (xclock) xedit
set -euo pipefail
plumet=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT

exec 5>"$work/display"
Xvfb -displayfd 5 -screen 0 1280x800x24 -nolisten tcp 2>/dev/null &
pids+=($!)
exec 5>&-
until [ -s "$work/display" ]; do sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"
xcompmgr & pids+=($!)

cat >"$work/notes.txt" <<'TEXT'
Release checklist

1. Build on a fresh machine
2. Run every test, sanitizers included
3. Try the palette on a real screen
4. Save a two-page TIFF and open it

Ship on Friday if all four pass.
TEXT
xedit -geometry 620x420+120+120 "$work/notes.txt" & pids+=($!)
xclock -geometry 180x180+820+140 -update 1 & pids+=($!)
sleep 1
GSETTINGS_BACKEND=memory "$plumet" & pids+=($!)
sleep 2

palette_x=1205
click() { xdotool mousemove "$1" "$2" sleep 0.1 click 1; sleep 0.3; }
stroke() {  # awk program printing "x y" lines: one drag through them
  local first=1
  awk "BEGIN { pi = atan2(0, -1); $1 }" | while read -r x y; do
    if [ $first = 1 ]; then xdotool mousemove "$x" "$y" mousedown 1; first=0; else xdotool mousemove "$x" "$y"; fi
  done
  xdotool mouseup 1
  sleep 0.2
}

click $palette_x 249   # red pen
stroke 'for (i = 0; i <= 60; i++) { a = -2.8 + i * 2 * pi * 1.06 / 60; printf "%d %d\n", 268 + 148 * cos(a), 309 + 14 * sin(a) }'
click $palette_x 212   # blue pen
stroke 'for (i = 0; i <= 40; i++) { t = i / 40; printf "%d %d\n", 760 + 120 * t, 380 - 120 * t - 60 * t * (1 - t) }'
stroke 'for (i = 0; i <= 6; i++) printf "%d %d\n", 880 - i * 3, 260 + i; for (i = 0; i <= 6; i++) printf "%d %d\n", 880 - i, 260 + i * 3'
xdotool mousemove 1000 600
sleep 0.5
import -window root "$work/shot.png"
convert "$work/shot.png" -strip "$here/desktop.png"
