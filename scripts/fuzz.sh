#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a short time.
# Usage: scripts/fuzz.sh [BUILD_DIR] [SECONDS_PER_TARGET]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
BUILD=${1:-build-fuzz}
SECONDS_EACH=${2:-20}
CC=clang CXX=clang++ cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTAVI_FUZZ=ON -DTAVI_GUI=OFF -DTAVI_TESTS=OFF -DTAVI_BENCH=OFF >/dev/null
cmake --build "$BUILD" -j "${JOBS:-$(nproc)}"
shopt -s nullglob
# Undefined behaviour ends a run as a crash does, with the stack that led there.
export UBSAN_OPTIONS="halt_on_error=1:abort_on_error=1:print_stacktrace=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
status=0
for target in "$BUILD"/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="$BUILD/corpus/$name"
  mkdir -p "$corpus"
  seeds=()
  [ -d "fuzz/seeds/$name" ] && seeds=("fuzz/seeds/$name")
  echo "-- $name (${SECONDS_EACH}s)"
  # One input that takes longer than 10 s is a hang and counts as a failure.
  if ! "$target" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
      -print_final_stats=0 "$corpus" "${seeds[@]}" >"$BUILD/$name.log" 2>&1; then
    tail -n 40 "$BUILD/$name.log"
    status=1
  fi
done
exit $status
