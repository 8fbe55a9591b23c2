#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy) over the core folders and tavi-cli, two files
# at a time, with the compile commands of an existing build.
#   scripts/tidy.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
tidy="$(command -v clang-tidy-14 || command -v clang-tidy)"
if [[ ! -f "$build/compile_commands.json" ]]; then
  echo "tidy: $build/compile_commands.json is missing; configure the build first" >&2
  exit 2
fi
# Generated sources live in the build folder and are not ours to tidy.
find document client io render settings interaction cli -maxdepth 1 -name '*.cpp' -print0 |
  sort -z |
  xargs -0 -n 1 -P "${JOBS:-2}" "$tidy" -p "$build" --quiet 2>/dev/null
echo "tidy: clean"
