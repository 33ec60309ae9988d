#!/bin/sh
# Builds the XML fuzz targets with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs each for FUZZ_SECONDS (default 45:
# four targets in about three minutes).
# Exits non-zero on any finding; the crashing input is left in the build
# directory. Usage: tests/xml/fuzz/run.sh [build-dir]
set -eu

ROOT=$(cd "$(dirname "$0")/../../.." && pwd)
BUILD=${1:-$ROOT/build-fuzz-xml}
SECONDS_PER_TARGET=${FUZZ_SECONDS:-45}
CXX=${FUZZ_CXX:-clang++}
FLAGS="-std=c++20 -O1 -g -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize-recover=undefined -I$ROOT"
# The platform text layer converts through ICU for the pages iconv lacks.
ICU_LIBS=$(pkg-config --libs icu-uc icu-i18n)

mkdir -p "$BUILD/obj"

# The component alone: xml/ and the platform text layer it stands on.
OBJECTS=""
for source in "$ROOT"/xml/*.cpp "$ROOT"/platform/text/*.cpp; do
  # The Windows forms of the text layer are built only for Windows.
  case "$source" in *_win32.cpp) continue ;; esac
  object="$BUILD/obj/$(basename "$(dirname "$source")")_$(basename "$source" .cpp).o"
  $CXX $FLAGS -fsanitize=fuzzer-no-link -c "$source" -o "$object" &
  OBJECTS="$OBJECTS $object"
  # Two compilers at a time.
  [ "$(jobs -p | wc -l)" -lt 2 ] || wait -n 2>/dev/null || wait
done
wait

run_target() {
  name=$1
  corpus=$2
  max_len=$3
  $CXX $FLAGS -fsanitize=fuzzer "$ROOT/tests/xml/fuzz/$name.cpp" $OBJECTS $ICU_LIBS -o "$BUILD/$name"
  mkdir -p "$BUILD/corpus-$name"
  cp "$ROOT/tests/xml/corpus/$corpus"/* "$BUILD/corpus-$name/"
  echo "== $name: ${SECONDS_PER_TARGET}s"
  # The fuzzer's running commentary goes to a log; a finding shows its end.
  if ! (cd "$BUILD" && UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 "./$name" \
      -max_total_time="$SECONDS_PER_TARGET" -max_len="$max_len" -rss_limit_mb=2048 -timeout=10 \
      -print_final_stats=1 "corpus-$name") >"$BUILD/$name.log" 2>&1; then
    tail -n 60 "$BUILD/$name.log"
    exit 1
  fi
  grep -E "stat::(number_of_executed_units|peak_rss_mb)|Done " "$BUILD/$name.log" || true
}

run_target fuzz_parse_text parse 8192
run_target fuzz_find_document_charset charset 4096
run_target fuzz_convert_charset convert 4096
run_target fuzz_read_document_file read 8192
echo "== no findings"
