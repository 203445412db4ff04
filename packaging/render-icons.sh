#!/usr/bin/env bash
# Renders the program icon, drawn as SVG, at the hicolor theme's usual sizes. Run after
# changing src/app/resources/icons/vellumore.svg; the PNGs are kept in the repository so
# that building needs no SVG renderer (Debian: librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../src/app/resources/icons"
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" --output "$size.png" vellumore.svg
done
