#!/usr/bin/env bash
# Builds everything and runs every test: the core's unit tests and the GUI
# tests (under Xvfb). Usage: scripts/test.sh [BUILD_DIR] [extra cmake args...]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
BUILD=${1:-build}
shift || true
JOBS=${JOBS:-$(nproc)}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$BUILD" -j "$JOBS"
cd "$BUILD"
# GUI tests need an X server with OpenGL; xvfb-run gives each run its own.
xvfb-run -a -s "-screen 0 1600x1200x24" ctest --output-on-failure -j 2 --timeout 300
