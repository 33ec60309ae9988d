#!/usr/bin/env bash
# Makes the README picture of plumet.exe: the Wine checks run it on Xvfb and
# keep the screen as it is with red ink on the white board and the palette.
# Usage: docs/images/make-windows-shot.sh BUILD_DIR   (a Windows build: tools/build.sh windows)
# Needs what tests/desktop/windows/run.sh needs.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bash "$here/../../tests/desktop/windows/run.sh" "$1" "$work/screen.png"
# The top right part of the screen: the ink and the palette, readable at README width.
convert "$work/screen.png" -crop 1100x560+180+40 +repage "$here/windows.png"
echo "wrote $here/windows.png"
