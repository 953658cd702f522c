#!/usr/bin/env bash
# Renders the PNG sizes of the icon from its SVG (librsvg2-bin). Run after
# changing the SVG and commit the result: the build only copies them.
set -euo pipefail
cd "$(dirname "$0")/icons"
# The 16-pixel size is drawn on its own grid (draw-small-icon.py).
for size in 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" com.tarvello.Si32.svg -o "com.tarvello.Si32-$size.png"
done
