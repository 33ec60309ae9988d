#!/usr/bin/env bash
# plumet.exe under Wine on Xvfb: board-check.exe (built with it) drives the
# running board as another program and as the user; the files it saves are
# read back here with ImageMagick (libpng, libtiff) and Python's XML parser.
# Usage: tests/desktop/windows/run.sh BUILD_DIR [SHOT.png]
#   BUILD_DIR: a Windows build (plumet.exe, tests/desktop/windows/board-check.exe,
#              tests/platform/backend_contract_win32.exe)
#   SHOT.png:  also keep the screen with the ink drawn (docs/images/make-windows-shot.sh)
# Needs: wine, wine64, Xvfb, x11-utils, xcompmgr, imagemagick, python3.
set -u
if [ $# -lt 1 ] || [ ! -f "$1/plumet.exe" ] || [ ! -f "$1/tests/desktop/windows/board-check.exe" ] ||
  [ ! -f "$1/tests/platform/backend_contract_win32.exe" ]; then
  echo "usage: $0 BUILD_DIR [SHOT.png]" >&2
  exit 2
fi
BUILD=$(realpath "$1")
SHOT=${2:+$(realpath -m "$2")}
HERE=$(cd "$(dirname "$0")" && pwd)
. "$HERE/../../windows/wine_env.sh"
WORK=$(mktemp -d /tmp/plumet-wine-desktop.XXXXXX)
. "$HERE/../report.sh"
started=$(date +%s)
trap 'wine_stop; rm -rf "$WORK"' EXIT

# One file that needs nothing beside it: only DLLs every Windows has.
imports=$(x86_64-w64-mingw32-objdump -p "$BUILD/plumet.exe" | awk '/DLL Name:/ {print tolower($3)}' | sort | tr '\n' ' ')
system_dlls=" advapi32.dll comctl32.dll comdlg32.dll gdi32.dll gdiplus.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll shell32.dll shlwapi.dll user32.dll "
unknown=""
for dll in $imports; do [[ $system_dlls == *" $dll "* ]] || unknown="$unknown $dll"; done
[ -z "$unknown" ]
report "plumet.exe imports only system DLLs ($imports)" $?

# The built-in resources are real Windows resources, by number and type (the
# cursor groups with their images); framework_test.exe compares their
# contents with the Linux table.
listed=" $(x86_64-w64-mingw32-windres -i "$BUILD/plumet.exe" -O rc 2>/dev/null | tr -d '\r' |
  sed -nE 's#^([0-9]+) DIALOGEX.*#\1:RT_DIALOG#p; s#^([0-9]+) [0-9]+ /\* (RT_[A-Z_]+) \*/#\1:\2#p; s#^([0-9]+) "PNG"#\1:PNG#p; s#^([0-9]+) VERSIONINFO#\1:RT_VERSION#p' |
  tr '\n' ' ')"
absent=""
for want in 102:RT_DIALOG 129:RT_DIALOG 137:RT_DIALOG 128:RT_GROUP_ICON 130:RT_BITMAP 131:RT_BITMAP 230:RT_BITMAP \
  231:RT_BITMAP 330:RT_BITMAP 331:RT_BITMAP 133:RT_GROUP_CURSOR 135:RT_GROUP_CURSOR 233:RT_GROUP_CURSOR \
  333:RT_GROUP_CURSOR 138:PNG 238:PNG 338:PNG 1:RT_MANIFEST 1:RT_VERSION; do
  [[ $listed == *" $want "* ]] || absent="$absent $want"
done
cursor_images=$(grep -o ':RT_CURSOR ' <<<"$listed" | wc -l)
[ -z "$absent" ] && [ "$cursor_images" -ge 4 ]
report "plumet.exe holds its dialogs, bitmaps, cursors ($cursor_images images), PNG pictures and icon as resources${absent:+ (missing:$absent)}" $?

# A fresh prefix on its own Xvfb, at 150 % (144 dpi): the board must still
# cover the screen in device pixels.
wine_start "$WORK" || exit 1
wine_run 60 reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
timeout 60 wineserver -w
read -r WIDTH HEIGHT < <(xdpyinfo | awk '/dimensions:/ {split($2, d, "x"); print d[1], d[2]}')

# The program and its checker.
mkdir -p "$WORK/saved"
cp "$BUILD/plumet.exe" "$BUILD/tests/desktop/windows/board-check.exe" "$WORK/"
winpath() { echo "Z:$1" | tr / '\\'; }
(cd "$WORK" && wine_run 60 plumet.exe --send pen >/dev/null 2>&1)
[ $? -eq 1 ]
report "plumet.exe --send without a board exits 1" $?
(cd "$WORK" && wine_run 60 plumet.exe --send nonsense >/dev/null 2>&1)
[ $? -eq 2 ]
report "plumet.exe --send with unknown words exits 2" $?
(cd "$WORK" && wine_run 240 plumet.exe >"$WORK/plumet.log" 2>&1; echo $? >"$WORK/plumet.status") &
shot_arg=()
[ -n "$SHOT" ] && shot_arg=("$(winpath "$WORK/shot.bmp")")
(cd "$WORK" && wine_run 200 board-check.exe "$(winpath "$WORK/saved")" "${shot_arg[@]}") | tr -d '\r' | tee "$WORK/check.log"
report "board-check.exe" "${PIPESTATUS[0]}"
for _ in $(seq 100); do [ -s "$WORK/plumet.status" ] && break; sleep 0.1; done
status=$(cat "$WORK/plumet.status" 2>/dev/null || echo none)
[ "$status" = 0 ]
report "plumet.exe ends with status 0 after Escape (status $status)" $?

# The backend contract on the Win32 backend, with a compositing manager as
# on a Windows desktop (without one Wine shows layered windows unblended).
xcompmgr >/dev/null 2>&1 &
compositor=$!
(cd "$BUILD/tests/platform" && wine_run 300 backend_contract_win32.exe --gtest_brief=1) 2>&1 | tr -d '\r' | tail -n 40
report "backend contract on the Win32 backend" "${PIPESTATUS[0]}"
kill "$compositor" 2>/dev/null
wait "$compositor" 2>/dev/null

# The saved files, read with other readers than the ones that wrote them.
saved="$WORK/saved"
echo "saved: $(cd "$saved" && ls | tr '\n' ' ')"
rgba() {  # file[frame] x y -> "r,g,b,a" in 0..255
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r+0.5)],%[fx:int(255*p{$2,$3}.g+0.5)],%[fx:int(255*p{$2,$3}.b+0.5)],%[fx:int(255*p{$2,$3}.a+0.5)]" info:
}
picture_checks() {  # file[frame] label
  [ "$(identify -format '%w %h' "$1")" = "$WIDTH $HEIGHT" ]
  report "$2 has the screen's size" $?
  [ "$(rgba "$1" 300 300)" = "255,0,0,255" ]
  report "$2 has the red ink where it was drawn" $?
  [ "$(rgba "$1" 300 340 | cut -d, -f4)" = 0 ]
  report "$2 is transparent beside the ink" $?
}
picture_checks "$saved/ink.png" "ink.png"
[ "$(identify "$saved/ink.tiff" | wc -l)" = 2 ]
report "ink.tiff holds two frames" $?
picture_checks "$saved/ink.tiff[0]" "ink.tiff page 1"
[ "$(rgba "$saved/ink.tiff[1]" 300 300 | cut -d, -f4)" = 0 ]
report "ink.tiff page 2 has no ink" $?
picture_checks "$saved/ñandú-日本-€.png" "a PNG named outside the ANSI code page"
python3 - "$saved/ink.svg" "$WIDTH" "$HEIGHT" <<'PY'
import sys, xml.etree.ElementTree as tree
root = tree.parse(sys.argv[1]).getroot()
ns = "{http://www.w3.org/2000/svg}"
assert root.tag in ("svg", ns + "svg"), root.tag
assert (root.get("width"), root.get("height")) == (sys.argv[2], sys.argv[3]), root.attrib
lines = [e for e in root.iter() if e.tag in ("polyline", ns + "polyline")]
assert len(lines) == 1, len(lines)
assert "stroke:rgb(255,0,0)" in lines[0].get("style"), lines[0].get("style")
xs = [float(p.split(",")[0]) for p in lines[0].get("points").split()]
assert min(xs) <= 205 and max(xs) >= 395, (min(xs), max(xs), lines[0].get("points"))
PY
report "ink.svg is an SVG drawing with the red stroke" $?

if [ -n "$SHOT" ]; then
  convert "$WORK/shot.bmp" "$SHOT"
  report "screen copy kept in $SHOT" $?
fi
echo "Wine checks: $passed passed, $failed failed, $(($(date +%s) - started)) s"
[ "$failed" -eq 0 ]
