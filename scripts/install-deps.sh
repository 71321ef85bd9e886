#!/usr/bin/env bash
# Installs the Debian packages Klikvar needs to build, run and test, skipping
# those already present. Runs apt-get update only when something is missing.
set -euo pipefail

packages=(
  # build
  g++
  cmake
  ninja-build
  qt6-base-dev
  # run: the X11 and Wayland platform plugins and a free font with Czech
  # letters in place of the designed "MS Sans Serif"
  qt6-qpa-plugins
  qt6-wayland
  fonts-liberation2
  # the .deb package: its library dependencies, its hardening flags and its
  # checks, Debian's own among them
  dpkg-dev
  file
  desktop-file-utils
  appstream
  lintian
  # end-to-end tests and the demo without a display: a virtual display, a
  # window manager, key presses, keyboard layouts, screen settings and
  # screenshots
  xvfb
  openbox
  xdotool
  x11-utils
  x11-xkb-utils
  imagemagick
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  as_root=(sudo)
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update
"${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
