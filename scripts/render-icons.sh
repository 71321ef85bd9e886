#!/usr/bin/env bash
# Renders the icon drawing to the PNG sizes kept in icons/hicolor/ and to the
# Windows icon file. Run it after changing icons/klikvar.svg; the build uses
# the committed files.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v rsvg-convert >/dev/null || ! command -v convert >/dev/null; then
  as_root=()
  [ "$(id -u)" -ne 0 ] && as_root=(sudo)
  "${as_root[@]}" apt-get install -y --no-install-recommends librsvg2-bin imagemagick
fi

for size in 16 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" icons/klikvar.svg -o "icons/hicolor/klikvar-$size.png"
done

convert icons/hicolor/klikvar-{16,32,48,256}.png icons/klikvar.ico
