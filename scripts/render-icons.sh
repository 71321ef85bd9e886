#!/usr/bin/env bash
# Renders the icon drawing to the PNG sizes kept in icons/hicolor/ and to the
# Windows icon file. Run it after changing icons/klikvar.svg or the sizes in
# icons/sizes.txt; the build uses the committed files.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh icons

sizes=$(grep -v '^#' icons/sizes.txt)
for size in $sizes; do
  rsvg-convert -w "$size" -h "$size" icons/klikvar.svg -o "icons/hicolor/klikvar-$size.png"
done

# The sizes Windows itself shows: small icons, lists, and the large view.
convert icons/hicolor/klikvar-{16,32,48,256}.png icons/klikvar.ico
