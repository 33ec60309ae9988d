#!/usr/bin/env bash
# Runs the Windows test suites of a cross build under Wine, all in one fresh
# prefix, then checks that plumet-replay.exe makes the shots of
# tests/windows/ink.replay that the Linux plumet-replay makes:
#   tests/windows/run.sh build/windows build/release
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
usage="usage: tests/windows/run.sh WINDOWS_BUILD_DIR LINUX_BUILD_DIR"
build=$(cd "${1:?$usage}" && pwd)
linux_build=$(cd "${2:?$usage}" && pwd)
. "$here/wine_env.sh"

scratch=$(mktemp -d /tmp/plumet-wine.XXXXXX)
trap 'wine_stop; rm -rf "$scratch"' EXIT

start=$(date +%s)
wine_start "$scratch" || exit 1
echo "Wine prefix ready in $(( $(date +%s) - start )) s"

failed=()
while read -r suite; do
  [ -n "$suite" ] || continue
  program=$(find "$build/tests" -name "$suite.exe" -print -quit)
  if [ -z "$program" ]; then
    echo "missing: $suite.exe"
    failed+=("$suite")
    continue
  fi
  began=$(date +%s)
  # Relative paths in the suites resolve from the build folder, as under ctest.
  if (cd "$(dirname "$program")" && wine_run 600 "$program" --gtest_brief=1 >"$scratch/$suite.log" 2>&1); then
    echo "passed: $suite ($(( $(date +%s) - began )) s)"
  else
    echo "FAILED: $suite ($(( $(date +%s) - began )) s)"
    cat "$scratch/$suite.log"
    failed+=("$suite")
  fi
done <"$build/windows-test-suites.txt"

echo "Windows suites under Wine: $(( $(date +%s) - start )) s in all"

# The same replay on both systems: the same ink. The Windows script's name
# lies outside every ANSI code page, so that it is found only through the
# UTF-16 command line.
mkdir -p "$scratch/shots-linux" "$scratch/shots-windows"
cp "$here/ink.replay" "$scratch/shots-linux/" && cp "$here/ink.replay" "$scratch/shots-windows/ink-✏.replay"
if (cd "$scratch/shots-linux" && timeout 120 "$linux_build/tools/plumet-replay/plumet-replay" ink.replay) &&
  (cd "$scratch/shots-windows" && wine_run 120 "$build/tools/plumet-replay/plumet-replay.exe" ink-✏.replay) &&
  "$linux_build/tests/compare_shots" "$scratch/shots-linux" "$scratch/shots-windows"; then
  echo "passed: plumet-replay.exe shots match the Linux shots on ink"
else
  echo "FAILED: plumet-replay.exe shots against the Linux shots"
  failed+=(replay-shots)
fi
[ ${#failed[@]} -eq 0 ] || { echo "failed: ${failed[*]}"; exit 1; }
