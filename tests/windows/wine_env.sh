# Wine for the Windows checks, meant to be sourced:
#   . tests/windows/wine_env.sh
#   wine_start "$scratch"          # Xvfb, a fresh prefix; sets DISPLAY and WINEPREFIX
#   wine_run 120 program.exe args  # one Wine call under a hard time-out
#   wine_stop                      # wineserver -k, Xvfb ended, prefix removed
# Every Wine call runs under `timeout`; none may ask to install Mono or Gecko.

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
WINE_BIN=${WINE_BIN:-wine}

wine_xvfb_pid=""
wine_prefix_owned=""

# Xvfb on a display number it chooses itself (-displayfd), so that no fixed
# number collides with another server; the first Wine command binds the
# prefix to this display.
wine_start_xvfb() {
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  wine_xvfb_pid=$!
  local display
  if ! read -r -t 30 display <"$fifo"; then
    rm -f "$fifo"
    echo "wine_env: Xvfb did not start" >&2
    return 1
  fi
  rm -f "$fifo"
  export DISPLAY=":$display"
}

# A fresh prefix under the given folder, made by wineboot -i, with Wine's
# X11 driver told there is no window manager (hiding a window otherwise
# stalls about two seconds).
wine_make_prefix() {
  export WINEPREFIX="$1/wineprefix"
  rm -rf "$WINEPREFIX"
  wine_prefix_owned="$WINEPREFIX"
  timeout 180 "$WINE_BIN" wineboot -i >/dev/null 2>&1 || { echo "wine_env: wineboot failed" >&2; return 1; }
  timeout 60 "$WINE_BIN" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 ||
    { echo "wine_env: cannot set Managed=N" >&2; return 1; }
}

wine_start() {
  mkdir -p "$1"
  wine_start_xvfb && wine_make_prefix "$1"
}

# wine_run SECONDS PROGRAM [ARGS...]: the program's exit status, 124 on time-out.
wine_run() {
  local seconds=$1
  shift
  timeout --kill-after=10 "$seconds" "$WINE_BIN" "$@"
}

wine_stop() {
  [ -n "${WINEPREFIX:-}" ] && timeout 30 wineserver -k >/dev/null 2>&1
  if [ -n "$wine_xvfb_pid" ]; then
    kill "$wine_xvfb_pid" 2>/dev/null
    wait "$wine_xvfb_pid" 2>/dev/null
    wine_xvfb_pid=""
  fi
  [ -n "$wine_prefix_owned" ] && rm -rf "$wine_prefix_owned"
  wine_prefix_owned=""
}
