#!/usr/bin/env bash
# CPU cost per pointer move of plumet and of Gromit-MPX, one after the other
# in the same run, each on a fresh Xvfb (1920 x 1080 x 24) with xcompmgr.
# Each gets the same paced drag (drag.c: 5,000 XTest moves 3 pixels apart,
# one every 4 ms); the CPU time of the program, the X server and the
# compositor over the drag comes from /proc/PID/stat, less what each used
# over an idle period of the same length just before. Screenshots check
# that the ink is on the screen. Then the latency from a move to its ink.
# Usage: bench/desktop/run.sh PATH/TO/plumet
# BENCH_SHOTS=DIR keeps the two screenshots taken after the drags.
# Needs: Xvfb xcompmgr xdotool imagemagick gromit-mpx python3, a C compiler
# with libx11-dev and libxtst-dev.
set -u
if [ $# -ne 1 ] || [ ! -x "$1" ]; then
  echo "usage: $0 PATH/TO/plumet" >&2
  exit 2
fi
PLUMET=$(realpath "$1")
HERE=$(cd "$(dirname "$0")" && pwd)
WORK=$(mktemp -d)
PIDS=()
HZ=$(getconf CLK_TCK)

cleanup() {
  for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

for tool in Xvfb xcompmgr xdotool import convert identify gromit-mpx python3 cc; do
  command -v "$tool" >/dev/null || fail "$tool not found"
done
cc -O2 -o "$WORK/drag" "$HERE/drag.c" -lX11 -lXtst || fail "cannot build drag.c"
"$WORK/drag" points >"$WORK/path"
MOVES=$(($(wc -l <"$WORK/path") - 1))
read -r START_X START_Y <"$WORK/path"
# Idle period as long as the paced drag itself.
IDLE_S=$(awk -v n="$MOVES" 'BEGIN {print n * 0.004}')

# Palette placement: (W - 100, 100); blue pen button centre from its layout.
BLUE_PEN_X=$((1920 - 100 + 25))
BLUE_PEN_Y=$((100 + 112))

now() { date +%s.%N; }
# utime + stime in clock ticks, all threads; the command name may hold spaces.
ticks() { sed 's/^.*) //' "/proc/$1/stat" | awk '{print $12 + $13}'; }
alive() { kill -0 "$1" 2>/dev/null && [ "$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null)" != Z ]; }

start_desktop() {
  rm -f "$WORK/display"
  exec 5>"$WORK/display"
  Xvfb -displayfd 5 -screen 0 1920x1080x24 -nolisten tcp -br 2>"$WORK/xvfb.log" &
  XVFB_PID=$!
  PIDS+=("$XVFB_PID")
  exec 5>&-
  for _ in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.1; done
  [ -s "$WORK/display" ] || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
  DISPLAY=":$(head -n1 "$WORK/display")"
  export DISPLAY
  xcompmgr 2>"$WORK/xcompmgr.log" &
  COMP_PID=$!
  PIDS+=("$COMP_PID")
  sleep 0.5
  alive "$COMP_PID" || fail "xcompmgr did not start"
}

stop_desktop() {
  kill "$COMP_PID" "$XVFB_PID" 2>/dev/null
  wait "$COMP_PID" "$XVFB_PID" 2>/dev/null
}

# Samples of the three processes' ticks: "prog x comp wall".
sample() { echo "$(ticks "$PROG_PID") $(ticks "$XVFB_PID") $(ticks "$COMP_PID") $(now)"; }

# After the drag, wait until the program and the server have caught up:
# less than two ticks each over half a second (at most 30 s).
wait_quiet() {
  local p0 x0 p1 x1
  for _ in $(seq 60); do
    p0=$(ticks "$PROG_PID")
    x0=$(ticks "$XVFB_PID")
    sleep 0.5
    p1=$(ticks "$PROG_PID")
    x1=$(ticks "$XVFB_PID")
    [ $((p1 - p0)) -lt 2 ] && [ $((x1 - x0)) -lt 2 ] && return 0
  done
  echo "warning: still busy 30 s after the drag" >&2
}

# Idle period, then the drag; appends one line to the results.
measure() {  # name ink-colour
  local name=$1 colour=$2 idle0 idle1 drag0 drag1 drag_end before after
  xdotool mousemove "$START_X" "$START_Y"
  sleep 1
  import -window root "$WORK/before.png"
  idle0=$(sample)
  sleep "$IDLE_S"
  idle1=$(sample)
  drag0=$(sample)
  "$WORK/drag" drag 2>"$WORK/drag.log" || fail "$name: drag helper failed"
  drag_end=$(now)
  wait_quiet
  drag1=$(sample)
  alive "$PROG_PID" || fail "$name died during the drag"
  import -window root "$WORK/after.png"
  [ -n "${BENCH_SHOTS:-}" ] && cp "$WORK/after.png" "$BENCH_SHOTS/$name.png"
  before=$(python3 "$HERE/ink.py" "$WORK/before.png" "$WORK/path" "$colour") || fail "$name: ink check"
  after=$(python3 "$HERE/ink.py" "$WORK/after.png" "$WORK/path" "$colour") || fail "$name: ink check"
  echo "$name: $(cat "$WORK/drag.log"); path inked before $before, after $after"
  awk -v b="$before" -v a="$after" 'BEGIN {exit !(b < 0.05 && a >= 0.95)}' ||
    fail "$name: no ink along the drag path (share $after, before the drag $before)"
  echo "$name $idle0 $idle1 $drag0 $drag1 $drag_end" >>"$WORK/results"
}

# From an XTest move to its ink on the root window (drag.c latency), on a
# row below the drag's path.
latency() {  # name
  "$WORK/drag" latency >"$WORK/latency" || fail "$1: latency helper failed"
  sed "s/^/$1: /" "$WORK/latency"
}

# ---- plumet ------------------------------------------------------------------
start_desktop
# No session bus here: keep GTK's settings in memory.
GSETTINGS_BACKEND=memory "$PLUMET" >"$WORK/plumet.out" 2>&1 &
PROG_PID=$!
PIDS+=("$PROG_PID")
sleep 2
alive "$PROG_PID" || fail "plumet did not start: $(cat "$WORK/plumet.out")"
xdotool mousemove "$BLUE_PEN_X" "$BLUE_PEN_Y" sleep 0.1 click 1
sleep 0.5
measure plumet blue
latency plumet
xdotool key Escape
for _ in $(seq 50); do alive "$PROG_PID" || break; sleep 0.1; done
alive "$PROG_PID" && fail "plumet did not end on Escape"
wait "$PROG_PID" || fail "plumet ended with status $?"
stop_desktop

# ---- Gromit-MPX ----------------------------------------------------------------
# Its own home: no introduction window, the system's pens (red by default).
mkdir -p "$WORK/home" "$WORK/config"
printf '[General]\nShowIntroOnStartup=false\n' >"$WORK/config/gromit-mpx.ini"
export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/config"
start_desktop
gromit-mpx >"$WORK/gromit.out" 2>&1 &
PROG_PID=$!
PIDS+=("$PROG_PID")
sleep 2
alive "$PROG_PID" || fail "gromit-mpx did not start: $(cat "$WORK/gromit.out")"
# The client below hands the toggle to the instance started above (whose
# PID is measured) and ends.
timeout 10 gromit-mpx --toggle >>"$WORK/gromit.out" 2>&1 || fail "gromit-mpx --toggle failed"
sleep 0.5
alive "$PROG_PID" || fail "gromit-mpx ended on --toggle"
[ "$(cat "/proc/$PROG_PID/comm")" = gromit-mpx ] || fail "PID $PROG_PID is not gromit-mpx"
measure gromit red
latency gromit
timeout 10 gromit-mpx --quit >>"$WORK/gromit.out" 2>&1
for _ in $(seq 50); do alive "$PROG_PID" || break; sleep 0.1; done
# Its figures are taken already: a --quit that goes unheard (seen on a busy
# machine) ends it by signal instead of losing the run.
if alive "$PROG_PID"; then
  echo "warning: gromit-mpx did not quit on --quit; ended by SIGTERM" >&2
  kill "$PROG_PID"
fi
wait "$PROG_PID"
stop_desktop

# ---- Report --------------------------------------------------------------------
# Per process: ticks over the drag window less the idle rate times its length.
awk -v hz="$HZ" -v moves="$MOVES" '
  {
    name = $1
    idle_wall = $9 - $5; drag_wall = $17 - $13
    for (k = 0; k < 3; k++) {
      idle = $(6 + k) - $(2 + k); drag = $(14 + k) - $(10 + k)
      net = drag - idle * drag_wall / idle_wall
      ms[name, k] = net * 1000 / hz / moves
      raw[name, k] = drag * 1000 / hz
      idle_ms[name, k] = idle * 1000 / hz
    }
    catchup[name] = $17 - $18
  }
  END {
    printf "\n%d moves; CPU ms per move, idle use subtracted (raw drag-window ms / idle ms in brackets)\n", moves
    printf "%-8s %22s %22s %22s %9s %9s\n", "program", "program", "X server", "compositor", "prog+X", "all"
    split("plumet gromit", names, " ")
    for (i = 1; i <= 2; i++) {
      n = names[i]
      printf "%-8s", n
      for (k = 0; k < 3; k++) printf " %8.4f (%5.0f/%5.0f)", ms[n, k], raw[n, k], idle_ms[n, k]
      printf " %9.4f %9.4f\n", ms[n, 0] + ms[n, 1], ms[n, 0] + ms[n, 1] + ms[n, 2]
    }
    for (i = 1; i <= 2; i++) printf "%s: quiet again %.1f s after the last move (the drag window ends there)\n", names[i], catchup[names[i]]
    if (ms["gromit", 0] <= 0) { print "gromit-mpx used no measurable CPU: no ratio"; exit 1 }
    r = ms["plumet", 0] / ms["gromit", 0]
    printf "ratio plumet/gromit: program %.3f, prog+X %.3f, all %.3f\n", r,
      (ms["plumet", 0] + ms["plumet", 1]) / (ms["gromit", 0] + ms["gromit", 1]),
      (ms["plumet", 0] + ms["plumet", 1] + ms["plumet", 2]) / (ms["gromit", 0] + ms["gromit", 1] + ms["gromit", 2])
    printf "target (program at most 0.25 x gromit-mpx): %s\n", r <= 0.25 ? "target met" : "target missed"
  }' "$WORK/results" || fail "report"
