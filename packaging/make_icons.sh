#!/usr/bin/env bash
# Renders the program's icon (org.veltrano.Veltrano.svg) into the PNG sizes of the hicolor
# theme, packaging/icons/<size>/org.veltrano.Veltrano.png. Run it after changing the SVG;
# the PNGs are committed. Needs rsvg-convert (Debian librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 24 32 48 64 128 256; do
  mkdir -p "icons/${size}"
  rsvg-convert -w "$size" -h "$size" org.veltrano.Veltrano.svg -o "icons/${size}/org.veltrano.Veltrano.png"
done
