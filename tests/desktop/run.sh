#!/usr/bin/env bash
# Real-desktop checks: the real plumet on Xvfb (1280 x 800 x 24) over an X
# client that logs its clicks, driven by xdotool, judged by screenshots and
# written files; once with the xcompmgr compositing manager, once without.
# Usage: tests/desktop/run.sh PATH/TO/plumet
# Needs: Xvfb xcompmgr xdotool imagemagick (import, convert), dbus-daemon and a C compiler with libx11-dev,
# libsm-dev and libglib2.0-dev / libgdk-pixbuf-2.0-dev.
set -u
if [ $# -ne 1 ] || [ ! -x "$1" ]; then
  echo "usage: $0 PATH/TO/plumet" >&2
  exit 2
fi
PLUMET=$(realpath "$1")
HERE=$(cd "$(dirname "$0")" && pwd)
WORK=$(mktemp -d)
PIDS=()
. "$HERE/report.sh"

cleanup() {
  for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT

cc -O2 -o "$WORK/click_logger" "$HERE/click_logger.c" -lX11 || exit 1
cc -O2 -o "$WORK/raise_war" "$HERE/raise_war.c" -lX11 || exit 1
cc -O2 -o "$WORK/session_manager" "$HERE/session_manager.c" -lSM -lICE || exit 1
# shellcheck disable=SC2046
cc -O2 -o "$WORK/portal_stand_in" "$HERE/../platform/portal_stand_in.c" $(pkg-config --cflags --libs gio-2.0 gdk-pixbuf-2.0) ||
  exit 1

# Palette placement: (W - 100, 100); button centres from the palette layout.
PX=1180
PY=100
BTN_X=$((PX + 25))
BLUE_Y=$((PY + 112))
ZOOM_IN_Y=$((PY + 333))
ZOOM_OUT_Y=$((PY + 370))
SAVE_Y=$((PY + 406))
BACKGROUND_Y=$((PY + 443))
FOLD_Y=$((PY + 469))
LOGGER_GROUND="200,180,150"

# Each check runs in a subshell under a hard time-out.
check() {  # name seconds function
  timeout "$2" bash -c "$(declare -f); $3" >"$WORK/check.log" 2>&1
  local status=$?
  [ $status -ne 0 ] && sed 's/^/    /' "$WORK/check.log"
  report "$1" $status
}

shot() { import -window root "$WORK/shot.png"; }
pixel() {  # x y [file] -> "r,g,b"
  convert "${3:-$WORK/shot.png}" -format "%[fx:int(255*p{$1,$2}.r)],%[fx:int(255*p{$1,$2}.g)],%[fx:int(255*p{$1,$2}.b)]" info:
}
is_blue() { IFS=, read -r r g b <<<"$1"; [ "$b" -gt 180 ] && [ "$r" -lt 90 ] && [ "$g" -lt 90 ]; }
is_red() { IFS=, read -r r g b <<<"$1"; [ "$r" -gt 180 ] && [ "$g" -lt 90 ] && [ "$b" -lt 90 ]; }
is_black() { [ "$1" = "0,0,0" ]; }
# Colour changes along a row: the logger's stripes give one every 20 or 60
# pixels; a view enlarged 2x gives half as many.
changes() {  # y
  convert "$WORK/shot.png" -crop 1100x1+0+"$1" -depth 8 txt:- | awk 'NR>1 {c=$3; if (c!=last) n++; last=c} END {print n-1}'
}
click() { xdotool mousemove "$1" "$2" sleep 0.1 click 1; sleep 0.4; }
drag() {  # x0 y x1: a horizontal stroke
  xdotool mousemove "$1" "$2" sleep 0.1 mousedown 1
  for x in $(seq "$1" 10 "$3"); do xdotool mousemove "$x" "$2" sleep 0.01; done
  xdotool mouseup 1
  sleep 0.4
}
wait_for() {  # condition command, polled
  until eval "$1"; do sleep 0.2; done
}

start_desktop() {  # with-compositor: yes/no, [screen size WxH]
  exec 5>"$WORK/display"
  Xvfb -displayfd 5 -screen 0 "${2:-1280x800}x24" -nolisten tcp 2>"$WORK/xvfb.log" &
  PIDS+=($!)
  exec 5>&-
  wait_for '[ -s "$WORK/display" ]'
  export DISPLAY=":$(head -n1 "$WORK/display")"
  if [ "$1" = yes ]; then
    xcompmgr &
    PIDS+=($!)
    sleep 0.5
  fi
  : >"$WORK/clicks"
  "$WORK/click_logger" "$WORK/clicks" &
  PIDS+=($!)
  sleep 0.5
  start_plumet
}

start_plumet() {
  # No session bus here: keep GTK's settings in memory.
  GSETTINGS_BACKEND=memory "$PLUMET" >"$WORK/plumet.out" 2>&1 &
  PLUMET_PID=$!
  PIDS+=($PLUMET_PID)
  sleep 2
}

stop_desktop() {
  for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  PIDS=()
  rm -f "$WORK/display"
}

# Bounded by itself: the program is this shell's child, waited for here.
ends_with_status_zero() {  # [signal]: sent instead of the Escape key; "-": nothing sent
  if [ $# -eq 0 ]; then xdotool key Escape; elif [ "$1" != - ]; then kill -"$1" "$PLUMET_PID"; fi
  for _ in $(seq 50); do
    if ! kill -0 "$PLUMET_PID" 2>/dev/null; then
      wait "$PLUMET_PID"
      return $?
    fi
    sleep 0.1
  done
  return 1
}

export PLUMET WORK PX PY BTN_X BLUE_Y ZOOM_IN_Y ZOOM_OUT_Y SAVE_Y BACKGROUND_Y FOLD_Y LOGGER_GROUND

# ---- With a compositing manager ---------------------------------------------
start_desktop yes

check palette-at-its-place-with-cut-corners 10 '
  shot
  [ "$(pixel $PX $PY)" = "$LOGGER_GROUND" ] || { echo "corner: $(pixel $PX $PY)"; exit 1; }
  [ "$(pixel $BTN_X $((PY + 40)))" != "$LOGGER_GROUND" ] || { echo "no palette"; exit 1; }'
check click-reaches-the-client-beneath 10 '
  click 400 400
  grep -qx "press 400 400" "$WORK/clicks"'
check blue-pen-draws-blue-ink 15 '
  click $BTN_X $BLUE_Y
  drag 300 450 600
  shot
  is_blue "$(pixel 450 450)" || { echo "ink: $(pixel 450 450)"; exit 1; }
  ! grep -q "press 300 450" "$WORK/clicks" || { echo "the drag went beneath"; exit 1; }'
check ctrl-z-takes-the-stroke-back-and-ctrl-y-puts-it-again 15 '
  xdotool key ctrl+z; sleep 0.4; shot
  ! is_blue "$(pixel 450 450)" || { echo "still ink after Ctrl+Z"; exit 1; }
  xdotool key ctrl+y; sleep 0.4; shot
  is_blue "$(pixel 450 450)" || { echo "no ink after Ctrl+Y: $(pixel 450 450)"; exit 1; }'
check magnifier-enlarges-and-reducing-restores 20 '
  shot; before=$(changes 700)
  click $BTN_X $ZOOM_IN_Y; sleep 1; shot; zoomed=$(changes 700)
  click $BTN_X $ZOOM_OUT_Y; sleep 1; shot; after=$(changes 700)
  echo "changes along a row: $before, zoomed $zoomed, after $after"
  [ $((zoomed * 3)) -le $((before * 2)) ] && [ "$after" -eq "$before" ]'
check background-button-gives-the-white-board 10 '
  click $BTN_X $BACKGROUND_Y
  shot
  [ "$(pixel 900 700)" = "255,255,255" ] || { echo "board: $(pixel 900 700)"; exit 1; }
  is_blue "$(pixel 450 450)"'
check save-through-the-file-chooser-writes-png-with-ink 40 '
  click $BTN_X $SAVE_Y
  wait_for "xdotool search --onlyvisible --name \"^Save\$\" >/dev/null 2>&1"
  sleep 1
  xdotool type --delay 20 "$WORK/drawing.png"
  # The first Return may only close the name completion; a Return once the
  # chooser has gone would reach the board and end the program.
  while xdotool search --onlyvisible --name "^Save\$" >/dev/null 2>&1; do xdotool key Return; sleep 1; done
  wait_for "[ -s \"$WORK/drawing.png\" ]"
  sleep 0.5
  [ "$(head -c 8 "$WORK/drawing.png" | od -An -tx1 | tr -d " ")" = "89504e470d0a1a0a" ]
  is_blue "$(pixel 450 450 "$WORK/drawing.png")"'
# A pipe nobody reads is refused at once; the message box says so and, once
# dismissed, the board goes on (the check after the next ends it normally).
check a-failed-save-shows-a-message-box 40 '
  rm -f "$WORK/pipe.png"; mkfifo "$WORK/pipe.png"
  click $BTN_X $SAVE_Y
  wait_for "xdotool search --onlyvisible --name \"^Save\$\" >/dev/null 2>&1"
  sleep 1
  # Without a window manager a chooser opened a second time does not get the
  # keyboard by itself.
  xdotool windowfocus "$(xdotool search --onlyvisible --name "^Save\$" | head -n1)"
  xdotool type --delay 20 "$WORK/pipe.png"
  # Return saves, then accepts replacing the existing name.
  while xdotool search --onlyvisible --name "^Save\$" >/dev/null 2>&1; do xdotool key Return; sleep 1; done
  wait_for "xdotool search --onlyvisible --name \"^Plumet\$\" >/dev/null 2>&1"
  xdotool windowfocus "$(xdotool search --onlyvisible --name "^Plumet\$" | head -n1)"
  xdotool key Return
  wait_for "! xdotool search --onlyvisible --name \"^Plumet\$\" >/dev/null 2>&1"
  [ -p "$WORK/pipe.png" ] || { echo "the pipe was replaced"; exit 1; }
  xdotool search --name "^Plumet Life\$" >/dev/null || { echo "the board has gone"; exit 1; }'
check fold-and-unfold 15 '
  click $BTN_X $FOLD_Y
  shot
  [ "$(pixel $BTN_X $BLUE_Y)" = "255,255,255" ] || { echo "palette still shown"; exit 1; }
  # The icon stands where the palette was, its picture inside a clear margin.
  click $((PX + 35)) $((PY + 27))
  sleep 0.5
  shot
  [ "$(pixel $BTN_X $BLUE_Y)" != "255,255,255" ] || { echo "palette not back"; exit 1; }'
check send-color-red-then-a-drag-leaves-red-ink 15 '
  "$PLUMET" --send color red
  drag 300 550 600
  shot
  is_red "$(pixel 450 550)" || { echo "ink: $(pixel 450 550)"; exit 1; }'
check send-page-2-then-page-1-shows-the-first-pages-ink-again 15 '
  "$PLUMET" --send page 2; sleep 0.5; shot
  ! is_red "$(pixel 450 550)" || { echo "page 2 shows the ink of page 1"; exit 1; }
  "$PLUMET" --send page 1; sleep 0.5; shot
  is_red "$(pixel 450 550)" || { echo "ink: $(pixel 450 550)"; exit 1; }'
check send-with-bad-words-exits-2 10 '
  for words in "" "fly" "color purple" "page 3" "pen now" "4294967296" "-1" "3 2147483648" "3 2 1"; do
    "$PLUMET" --send $words 2>"$WORK/err"; status=$?
    [ $status -eq 2 ] && grep -q "^Usage: plumet --send" "$WORK/err" || { echo "\"$words\": $status"; exit 1; }
  done'
check a-second-plumet-on-the-display-exits-1 10 '
  GSETTINGS_BACKEND=memory "$PLUMET" 2>"$WORK/err"; status=$?
  cat "$WORK/err"
  [ $status -eq 1 ] && grep -q "already runs" "$WORK/err"'
ends_with_status_zero
report escape-ends-plumet-with-status-0 $?
check send-without-a-board-exits-1 10 '
  "$PLUMET" --send pen 2>"$WORK/err"; status=$?
  cat "$WORK/err"
  [ $status -eq 1 ] && [ "$(wc -l <"$WORK/err")" -eq 1 ]'
stop_desktop

# ---- Without a compositing manager ------------------------------------------
start_desktop no
check no-compositor-click-reaches-the-client-beneath 10 '
  click 400 400
  grep -qx "press 400 400" "$WORK/clicks"'
check no-compositor-screen-outside-ink-not-black 10 '
  shot
  ! is_black "$(pixel 600 600)" && ! is_black "$(pixel 30 30)"'
check no-compositor-pen-input-stays-on-the-board 15 '
  click $BTN_X $BLUE_Y
  drag 300 450 600
  click 700 600
  shot
  is_blue "$(pixel 450 450)" || { echo "ink: $(pixel 450 450)"; exit 1; }
  ! is_black "$(pixel 700 300)" || { echo "black screen"; exit 1; }
  ! grep -q "press 700 600" "$WORK/clicks" || { echo "a board click went beneath"; exit 1; }'
# Two windows that raise themselves whenever covered, as overlays do: the
# board answers a few times, then gives in; the server keeps answering.
check raise-war-stays-calm 20 '
  "$WORK/raise_war" count 5 >"$WORK/restacks" &
  counter=$!
  sleep 0.3
  "$WORK/raise_war" cover 100 100 200 150 &
  a=$!
  "$WORK/raise_war" cover 500 100 200 150 &
  b=$!
  wait $counter
  read -r restacks slowest <"$WORK/restacks"
  read -r later _ < <("$WORK/raise_war" count 2)
  kill $a $b
  echo "restacks in 5 s: $restacks (then $later in 2 s), slowest server reply: $slowest ms"
  [ "$restacks" -lt 50 ] && [ "$later" -eq 0 ] && [ "$slowest" -lt 500 ]'
ends_with_status_zero
report no-compositor-escape-ends-plumet-with-status-0 $?
# The end of the session ends the program as closing it would.
start_plumet
check save-dialog-opens 15 '
  click $BTN_X $SAVE_Y
  wait_for "xdotool search --onlyvisible --name \"^Save\$\" >/dev/null 2>&1"'
ends_with_status_zero TERM
report sigterm-closes-the-save-dialog-and-ends-plumet-with-status-0 $?
start_plumet
ends_with_status_zero HUP
report sighup-ends-plumet-with-status-0 $?
"$WORK/session_manager" >"$WORK/session" &
SESSION_PID=$!
PIDS+=($SESSION_PID)
wait_for '[ -s "$WORK/session" ]'
SESSION_MANAGER=$(cat "$WORK/session") start_plumet
ends_with_status_zero -
report session-end-ends-plumet-with-status-0 $?
wait $SESSION_PID
report session-manager-saw-plumet-leave $?
stop_desktop

# ---- A Wayland session: the screen copy through the desktop portal ---------
# Plumet believes it runs on Wayland and asks a stand-in portal on a private
# session bus, which answers with four coloured quarters of the screen's size.
mkdir -p "$WORK/portal"
dbus-daemon --session --nofork --print-address=6 6>"$WORK/bus" 2>"$WORK/bus.log" &
PIDS+=($!)
wait_for '[ -s "$WORK/bus" ]'
DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$WORK/bus")
# GTK would start the accessibility bus on it, which outlives the checks.
NO_AT_BRIDGE=1
export DBUS_SESSION_BUS_ADDRESS NO_AT_BRIDGE
PORTAL_TOP_LEFT="200,40,40"
export PORTAL_TOP_LEFT

start_portal() {  # stand-in options
  : >"$WORK/portal.out"
  "$WORK/portal_stand_in" --dir "$WORK/portal" --size 1280x800 "$@" >"$WORK/portal.out" &
  PORTAL_PID=$!
  PIDS+=($PORTAL_PID)
  wait_for '[ -s "$WORK/portal.out" ]'
}
stop_portal() { kill "$PORTAL_PID"; wait "$PORTAL_PID" 2>/dev/null; }

start_portal
WAYLAND_DISPLAY=wayland-stand-in start_desktop yes
# Enlarged twice from the top left, the picture's top-left quarter fills the screen.
check wayland-magnifier-shows-the-portals-picture-enlarged 15 '
  click $BTN_X $BLUE_Y
  click $BTN_X $ZOOM_IN_Y; sleep 1; shot
  [ "$(pixel 1000 700)" = "$PORTAL_TOP_LEFT" ] || { echo "magnified: $(pixel 1000 700)"; exit 1; }
  [ -z "$(ls "$WORK/portal")" ] || { echo "picture left behind: $(ls "$WORK/portal")"; exit 1; }
  click $BTN_X $ZOOM_OUT_Y; shot
  [ "$(pixel 1000 700)" = "$LOGGER_GROUND" ] || { echo "after: $(pixel 1000 700)"; exit 1; }'
stop_portal
start_portal --delay 2500
check wayland-a-slow-portal-answer-is-waited-for 20 '
  click $BTN_X $ZOOM_IN_Y; sleep 1; shot
  [ "$(pixel 1000 700)" = "$LOGGER_GROUND" ] || { echo "before the answer: $(pixel 1000 700)"; exit 1; }
  sleep 2.5; shot
  [ "$(pixel 1000 700)" = "$PORTAL_TOP_LEFT" ] || { echo "after the answer: $(pixel 1000 700)"; exit 1; }
  click $BTN_X $ZOOM_OUT_Y'
check wayland-a-command-while-waiting-gives-the-wait-up 20 '
  click $BTN_X $ZOOM_IN_Y; sleep 0.7
  "$PLUMET" --send pen; sleep 0.5; shot
  [ "$(pixel $BTN_X $BLUE_Y)" != "$LOGGER_GROUND" ] || { echo "no palette"; exit 1; }
  sleep 2.5; shot
  [ "$(pixel 1000 700)" = "$LOGGER_GROUND" ] || { echo "magnified after all: $(pixel 1000 700)"; exit 1; }'
stop_portal
start_portal --refuse
check wayland-a-refusal-leaves-the-magnifier-off-and-the-pen-drawing 15 '
  click $BTN_X $ZOOM_IN_Y; sleep 1
  grep -q "the request was refused" "$WORK/plumet.out" || { cat "$WORK/plumet.out"; exit 1; }
  drag 300 650 600; shot
  is_blue "$(pixel 450 650)" || { echo "ink: $(pixel 450 650)"; exit 1; }
  [ "$(pixel $BTN_X $BLUE_Y)" != "$LOGGER_GROUND" ] || { echo "no palette"; exit 1; }'
stop_portal
check wayland-without-a-portal-the-magnifier-stays-off 15 '
  click $BTN_X $ZOOM_IN_Y; sleep 1
  [ "$(grep -c "no copy of the screen from the desktop portal" "$WORK/plumet.out")" -eq 2 ] || {
    cat "$WORK/plumet.out"; exit 1; }
  drag 300 700 600; shot
  is_blue "$(pixel 450 700)" || { echo "ink: $(pixel 450 700)"; exit 1; }'
ends_with_status_zero
report wayland-escape-ends-plumet-with-status-0 $?
stop_desktop

# ---- A screen scaled twice (GDK_SCALE=2) ------------------------------------
# The palette at twice its size and offset: 100 x 950 device pixels at
# (W - 200, 200), every button at its doubled place.
PX2=2360
PY2=200
BTN_X2=$((PX2 + 50))
export PX2 PY2 BTN_X2
GDK_SCALE=2 start_desktop yes 2560x1600
check scaled-palette-is-100-by-950-with-round-corners 10 '
  shot
  for p in "$PX2 $PY2" "$((PX2 + 8)) $PY2" "$((PX2 + 100)) 600" "$PX2 $((PY2 + 950))" "$((PX2 + 99)) $((PY2 + 949))"; do
    [ "$(pixel $p)" = "$LOGGER_GROUND" ] || { echo "palette at $p: $(pixel $p)"; exit 1; }
  done
  for p in "$((PX2 + 9)) $PY2" "$((PX2 + 99)) 600" "$((PX2 + 50)) $((PY2 + 949))"; do
    [ "$(pixel $p)" != "$LOGGER_GROUND" ] || { echo "no palette at $p"; exit 1; }
  done'
check scaled-blue-pen-and-background-buttons-work-at-their-doubled-places 15 '
  click $BTN_X2 $((PY2 + 2 * 112))
  drag 300 450 600
  click $BTN_X2 $((PY2 + 2 * 443))
  shot
  is_blue "$(pixel 450 450)" || { echo "ink: $(pixel 450 450)"; exit 1; }
  [ "$(pixel 900 700)" = "255,255,255" ] || { echo "board: $(pixel 900 700)"; exit 1; }
  # The pen stays 3 device pixels wide: rows 449 to 451.
  [ "$(pixel 450 447)" = "255,255,255" ] && [ "$(pixel 450 453)" = "255,255,255" ] || {
    echo "ink beside the 3-pixel line: $(pixel 450 447) $(pixel 450 453)"; exit 1; }'
check scaled-fold-and-unfold 15 '
  click $BTN_X2 $((PY2 + 2 * 469))
  shot
  [ "$(pixel $BTN_X2 $((PY2 + 2 * 112)))" = "255,255,255" ] || { echo "palette still shown"; exit 1; }
  click $((PX2 + 70)) $((PY2 + 54))
  sleep 0.5
  shot
  [ "$(pixel $BTN_X2 $((PY2 + 2 * 112)))" != "255,255,255" ] || { echo "palette not back"; exit 1; }'
ends_with_status_zero
report scaled-escape-ends-plumet-with-status-0 $?
stop_desktop

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
