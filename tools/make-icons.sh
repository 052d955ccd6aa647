#!/usr/bin/env bash
# Renders the desktop icons (hicolor sizes) from resources/icons/tolvane.svg. The PNGs are
# committed, so the build needs no SVG renderer; run this after changing the SVG
# (needs librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../resources/icons"
for size in 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" tolvane.svg --output "tolvane-$size.png"
done
echo "make-icons: rendered $(ls tolvane-*.png | tr '\n' ' ')"
