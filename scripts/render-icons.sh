#!/usr/bin/env bash
# Renders the icon drawing to the PNG sizes kept in icons/hicolor/. Run it
# after changing icons/klikvar.svg; the build uses the committed PNGs.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v rsvg-convert >/dev/null; then
  as_root=()
  [ "$(id -u)" -ne 0 ] && as_root=(sudo)
  "${as_root[@]}" apt-get install -y --no-install-recommends librsvg2-bin
fi

for size in 16 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" icons/klikvar.svg -o "icons/hicolor/klikvar-$size.png"
done
