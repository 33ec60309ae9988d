#!/usr/bin/env bash
# Builds Plumet on a Debian 12 machine, installing what it needs first.
#   tools/build.sh run    build and start Plumet on the current X display
#   tools/build.sh test   check the artwork, build and run every test: unit and end-to-end tests,
#                         a sanitizer build, the XML fuzzers, the real-desktop checks
#                         and the Windows suites under Wine
#   tools/build.sh windows  cross-build the Windows programs and tests (build/windows):
#                           build/windows/plumet.exe and plumet-VERSION-windows.zip
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

packages=(
  build-essential cmake pkg-config ninja-build
  libcairo2-dev libpng-dev libtiff-dev libgtk-3-dev libx11-dev libx11-xcb-dev libxcb1-dev libxcb-shm0-dev libxext-dev libxtst-dev libxi-dev libxrandr-dev libxcursor-dev libsm-dev
  libgtest-dev libgmock-dev libbenchmark-dev libpugixml-dev libicu-dev
  clang libclang-rt-14-dev
  xvfb xdotool imagemagick xcompmgr x11-utils gromit-mpx dbus-daemon python3 python3-cairo
)
# The Windows build and its checks; not needed to run Plumet on Linux.
windows_packages=(
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev googletest wine wine64
)

install_missing() {
  local missing=()
  for p in "$@"; do dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p"); done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

configure_and_build() {
  local dir=$1
  shift
  cmake -S "$top" -B "$dir" -G Ninja "$@"
  cmake --build "$dir" -j "$jobs"
}

# The Windows build: cross-compiled once, with the tests, on every core.
build_windows() {
  local werror=$1
  local began
  began=$(date +%s)
  configure_and_build "$top/build/windows" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DPLUMET_WERROR="$werror"
  echo "Windows build: $(( $(date +%s) - began )) s"
}

case "${1:-}" in
  run)
    install_missing "${packages[@]}"
    configure_and_build "$top/build/release" -DCMAKE_BUILD_TYPE=Release -DPLUMET_BENCH=OFF
    exec "$top/build/release/app/plumet"
    ;;
  test)
    install_missing "${packages[@]}" "${windows_packages[@]}"
    werror=OFF
    [ "${CI:-}" = "true" ] && werror=ON
    echo "== Artwork: the committed pictures at 1x, 2x and 3x"
    /usr/bin/python3 "$top/resources/artwork/make_artwork.py" --check
    echo "== Release build and tests"
    configure_and_build "$top/build/release" -DCMAKE_BUILD_TYPE=Release -DPLUMET_WERROR=$werror
    ctest --test-dir "$top/build/release" --output-on-failure -j "$jobs"
    echo "== AddressSanitizer and UndefinedBehaviorSanitizer build and tests"
    configure_and_build "$top/build/sanitize" -DCMAKE_BUILD_TYPE=Debug -DPLUMET_SANITIZE=ON -DPLUMET_WERROR=$werror \
      -DPLUMET_BENCH=OFF
    ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions="$top/tests/lsan-suppressions.txt" \
      UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
      ctest --test-dir "$top/build/sanitize" --output-on-failure -j "$jobs"
    echo "== XML fuzzing"
    bash "$top/tests/xml/fuzz/run.sh"
    echo "== Real-desktop checks"
    bash "$top/tests/desktop/run.sh" "$top/build/release/app/plumet"
    echo "== Windows build and its suites under Wine"
    build_windows $werror
    bash "$top/tests/windows/run.sh" "$top/build/windows" "$top/build/release"
    bash "$top/tests/desktop/windows/run.sh" "$top/build/windows"
    ;;
  windows)
    install_missing "${packages[@]}" "${windows_packages[@]}"
    werror=OFF
    [ "${CI:-}" = "true" ] && werror=ON
    build_windows $werror
    ;;
  *)
    echo "usage: tools/build.sh run|test|windows" >&2
    exit 2
    ;;
esac
