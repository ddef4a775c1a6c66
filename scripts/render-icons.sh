#!/usr/bin/env bash
# Renders the application icon's PNG sizes from desktop/icons/linewright.svg. The PNGs are
# committed, so the build needs no SVG renderer; run this after changing the SVG.
set -euo pipefail
cd "$(dirname "$0")/../desktop/icons"
command -v rsvg-convert >/dev/null || { echo "render-icons: rsvg-convert is missing (librsvg2-bin)" >&2; exit 1; }
for size in 16 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" linewright.svg -o "linewright-$size.png"
done
echo "render-icons: wrote desktop/icons/linewright-{16,24,32,48,64,128,256}.png"
