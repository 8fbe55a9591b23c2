#!/usr/bin/env bash
# Installs every package the editor needs to build, test and run, with apt-get.
# Idempotent: quiet and quick when everything is already there.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ clang libclang-rt-14-dev ccache pkg-config
  qt6-base-dev libqt6opengl6-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri
  zlib1g-dev libjpeg62-turbo-dev libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth x11-utils fonts-noto-cjk fonts-dejavu-core
  qt6-translations-l10n
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
