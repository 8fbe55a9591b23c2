#!/usr/bin/env bash
# Builds the Debian package of the editor and tavi-cli: a Release build in its
# own folder (no tests, no benchmarks), then CPack's DEB generator. Installs
# what it needs with apt-get, like scripts/install-deps.sh.
# Usage: scripts/package.sh [BUILD_DIR]   (default build-package)
# Writes tavi_<version>_amd64.deb into the repository's root folder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

# dpkg-shlibdeps (dpkg-dev) finds the package's dependencies; gzip packs the
# manual pages.
missing=()
for p in dpkg-dev gzip file; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

BUILD=${1:-build-package}
JOBS=${JOBS:-$(nproc)}
# The hardening Debian builds its packages with: stack protector, fortified
# C library calls, read-only relocations bound at start.
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVI_TESTS=OFF -DTAVI_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="-fstack-protector-strong -D_FORTIFY_SOURCE=2" \
  -DCMAKE_C_FLAGS="-fstack-protector-strong -D_FORTIFY_SOURCE=2" \
  -DCMAKE_EXE_LINKER_FLAGS="-Wl,-z,relro -Wl,-z,now" >/dev/null
cmake --build "$BUILD" -j "$JOBS"
rm -rf "$BUILD/cpack"
(cd "$BUILD" && cpack -G DEB -B "$PWD/cpack" >/dev/null)

# CPack names it tavi_<version>_<architecture>.deb.
debs=("$BUILD"/cpack/tavi_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "package.sh: no package was made" >&2; exit 1; }
cp "${debs[0]}" .
echo "Wrote $PWD/$(basename "${debs[0]}")"
