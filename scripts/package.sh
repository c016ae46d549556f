#!/usr/bin/env bash
# Builds the Debian package veltrano_<version>_<arch>.deb and checks it: its contents,
# lintian (no errors), the desktop entry and AppStream validators, and a run of the
# program from the package's files unpacked into a temporary folder (--version and a
# command-line PDF), with no display.
# Usage: scripts/package.sh [build-dir]   (default: build, the test command's folder, so that
# nothing is built twice); the .deb is left there.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
scripts/deps.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j"$(nproc)" --target veltrano packaging_docs
(cd "$build" && rm -f veltrano_*.deb && cpack -G DEB)
deb=$(ls "$build"/veltrano_*.deb)
echo "== $deb"
dpkg-deb --info "$deb"
echo "== contents"
dpkg-deb --contents "$deb"
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
for f in usr/bin/veltrano usr/lib/veltrano/Data/planet.bin usr/lib/veltrano/Data/star.bin \
         usr/lib/veltrano/Help/VeltranoHelp.html usr/share/man/man1/veltrano.1.gz \
         usr/share/applications/org.veltrano.Veltrano.desktop \
         usr/share/metainfo/org.veltrano.Veltrano.metainfo.xml \
         usr/share/icons/hicolor/scalable/apps/org.veltrano.Veltrano.svg \
         usr/share/icons/hicolor/48x48/apps/org.veltrano.Veltrano.png \
         usr/share/doc/veltrano/copyright usr/share/doc/veltrano/changelog.gz; do
  [ -e "$unpacked/$f" ] || { echo "package.sh: $f is missing from the package" >&2; exit 1; }
done
echo "== desktop-file-validate"
desktop-file-validate "$unpacked/usr/share/applications/org.veltrano.Veltrano.desktop"
echo "== appstreamcli validate"
appstreamcli validate --no-net --explain "$unpacked/usr/share/metainfo/org.veltrano.Veltrano.metainfo.xml"
echo "== lintian"
# Fails on an error or a warning; the informational tags are listed.
lintian --fail-on error,warning --info "$deb" 2>&1 | grep -v 'running with root privileges' || true
lintian --fail-on error,warning "$deb" > /dev/null 2>&1 \
  || { echo "package.sh: lintian reports errors or warnings" >&2; exit 1; }
echo "lintian: no errors, no warnings"
echo "== man"
MANWIDTH=80 man --warnings -l "$unpacked/usr/share/man/man1/veltrano.1.gz" > /dev/null
echo "== the unpacked program, no display"
# --help names every option the manual page describes.
help=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$unpacked/usr/bin/veltrano" --help)
for option in $(zcat "$unpacked/usr/share/man/man1/veltrano.1.gz" | grep -oE '\\-\\-[a-z][a-z-]*' | sed 's/\\//g' | sort -u); do
  grep -q -- "$option" <<<"$help" || { echo "package.sh: --help does not name $option" >&2; exit 1; }
done
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$unpacked/usr/bin/veltrano" --version
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
  "$unpacked/usr/bin/veltrano" --almanac-pdf 2027-01-01 2027-01-03 "$unpacked/pages.pdf"
pdfinfo "$unpacked/pages.pdf" | grep -E '^Pages:'
pdftotext "$unpacked/pages.pdf" "$unpacked/pages.txt"
grep -q "2027 JANUARY 1, 2, 3" "$unpacked/pages.txt" \
  || { echo "package.sh: the PDF from the package does not hold the pages of 2027-01-01" >&2; exit 1; }
echo "package.sh: $deb checked"
