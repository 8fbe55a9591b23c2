#!/usr/bin/env bash
# Builds the Debian package (scripts/package.sh) and checks it as a user's
# system would take it: the desktop entry and the AppStream metadata
# validated, lintian with no errors, then the package installed with apt-get,
# the installed programs and manual pages run, and the package removed.
# Usage: scripts/check-package.sh [BUILD_DIR]   (default build-package)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build-package}

tools=(lintian desktop-file-utils appstream man-db xvfb xauth)
missing=()
for p in "${tools[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

scripts/package.sh "$BUILD"
debs=("$BUILD"/cpack/tavi_*.deb)
deb="./$(basename "${debs[0]}")"
version=$(dpkg-deb -f "$deb" Version)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dpkg-deb -x "$deb" "$work/root"

echo "== package fields"
dpkg-deb -f "$deb" Package Version Architecture Depends Recommends
# The libraries come from the package's own fields, not from what this
# machine happens to have.
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libstdc++6 libqt6widgets6 libqt6core6 zlib1g libjpeg62-turbo qt6-qpa-plugins; do
  grep -q "\b$lib\b" <<<"$depends" || { echo "check-package: Depends lacks $lib" >&2; exit 1; }
done

echo "== desktop-file-validate"
desktop-file-validate "$work/root/usr/share/applications/tavi.desktop"

echo "== appstreamcli validate"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/"*.metainfo.xml

echo "== lintian"
# Errors fail the check; the warnings packaging/README.md accepts are
# printed and left.
lintian --fail-on error --tag-display-limit 0 "$deb" 2> >(grep -v "root privileges" >&2)

echo "== install"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get install -y -qq "$deb" >/dev/null
trap '$SUDO apt-get remove -y -qq tavi >/dev/null || true; rm -rf "$work"' EXIT

echo "== the installed programs"
[ "$(/usr/bin/tavi-cli --version)" = "tavi-cli $version" ] || {
  echo "check-package: tavi-cli --version does not print $version" >&2; exit 1; }
echo "tavi-cli --version: $version"
/usr/bin/tavi-cli demodata "$work/demo" >/dev/null
/usr/bin/tavi-cli import-multi --client "$work/demo" --id 124 --out "$work/house.tav"
/usr/bin/tavi-cli render "$work/house.tav" --client "$work/demo" --out "$work/house.png"
[ -s "$work/house.png" ] || { echo "check-package: render wrote no picture" >&2; exit 1; }
echo "tavi-cli demodata, import-multi, render: $(stat -c %s "$work/house.png") bytes of picture"
out=$(xvfb-run -a /usr/bin/tavi --version)
[ "$out" = "tavi $version" ] || { echo "check-package: tavi --version printed '$out'" >&2; exit 1; }
echo "tavi --version: $version"
for page in tavi tavi-cli; do
  file=/usr/share/man/man1/$page.1.gz
  # Any complaint of the formatter about the page fails the check.
  warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$file" 2>&1 >/dev/null)
  [ -z "$warnings" ] || { echo "check-package: man $page: $warnings" >&2; exit 1; }
  text=$(man -l "$file")
  grep -q "^NAME" <<<"$text" || { echo "check-package: man -l $file shows no page" >&2; exit 1; }
  echo "man -l $file: $(wc -l <<<"$text") lines"
done
[ -f /usr/share/bash-completion/completions/tavi-cli ]

echo "== remove"
$SUDO apt-get remove -y -qq tavi >/dev/null
trap 'rm -rf "$work"' EXIT
[ ! -e /usr/bin/tavi-cli ] && [ ! -e /usr/bin/tavi ]
echo "package $deb checked"
