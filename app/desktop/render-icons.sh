#!/usr/bin/env bash
# Renders the PNG sizes of the icon from its SVG (librsvg2-bin). Run after
# changing the SVG and commit the result: the build only copies them.
set -euo pipefail
cd "$(dirname "$0")/icons"
for size in 16 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" com.tarvello.Si32.svg -o "com.tarvello.Si32-$size.png"
done
