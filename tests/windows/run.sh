#!/usr/bin/env bash
# Runs the Windows test suites of a cross build under Wine, all in one fresh
# prefix: tests/windows/run.sh build/windows
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: tests/windows/run.sh BUILD_DIR}" && pwd)
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
[ ${#failed[@]} -eq 0 ] || { echo "failed: ${failed[*]}"; exit 1; }
