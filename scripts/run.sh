#!/usr/bin/env bash
# Builds the editor and starts it. When no client is configured or found, a
# synthetic demo client is written to ./demo-client and used.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
BUILD=${BUILD:-build}
# The same build folder as scripts/test.sh; only the two programs are built here.
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" -j "$(nproc)" --target tavi-cli tavi
DEMO="$PWD/demo-client"
if [ ! -f "$DEMO/tiledata.mul" ]; then
  "$BUILD/tavi-cli" demodata "$DEMO" >/dev/null
  echo "Wrote the demo client to $DEMO"
fi
# The editor uses the demo client only when no client is configured or found.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: starting the editor under Xvfb (display :99)."
  exec xvfb-run -n 99 -s "-screen 0 1600x1200x24" "$BUILD/tavi" --demo-client "$DEMO" "$@"
fi
exec "$BUILD/tavi" --demo-client "$DEMO" "$@"
