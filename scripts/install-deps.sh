#!/usr/bin/env bash
# Installs the Debian packages one use of Klikvar needs, skipping those
# already present. Runs apt-get update only when something is missing.
# Usage: install-deps.sh [GROUP...]   (build unless given)
#   build    build and play the game
#   package  build the Debian package with dpkg-buildpackage
#   demo     a private virtual display: the demo without a display, the
#            benchmarks
#   test     everything the tests use: all of the above and the checkers
#   icons    redraw the icon's sizes (scripts/render-icons.sh)
#   fuzz     fuzz the packet decoder (net/fuzz/run.sh)
#   traffic  count the network game's packets (bench/network.sh)
set -euo pipefail

build=(
  g++
  cmake
  ninja-build
  qt6-base-dev
  # game controllers through SDL's game-controller API; brings the runtime
  libsdl2-dev
  # the desktop's Wayland scale and X dots per inch, asked before choosing
  # between the two; CMake finds both through pkg-config
  pkg-config
  libwayland-dev
  libxcb1-dev
  # network play: reliable and unreliable channels over one UDP port
  libenet-dev
  # run: the X11 and Wayland platform plugins and a free font with Czech
  # letters in place of the designed "MS Sans Serif"
  qt6-qpa-plugins
  qt6-wayland
  fonts-liberation2
)
# dpkg-buildpackage and the dh sequence debian/rules runs; the build itself
# needs the build group, as debian/control's Build-Depends say, and
# dpkg-buildpackage insists on build-essential besides.
package=(
  dpkg-dev
  debhelper
  build-essential
)
# A virtual display, a window manager, key presses, screen settings and
# screenshots.
demo=(
  xvfb
  openbox
  xdotool
  x11-utils
  imagemagick
)
# The end-to-end tests also switch keyboard layouts.
layouts=(
  x11-xkb-utils
)
# ...and play on Wayland desktops, each in a window of a virtual display:
# sway, driven through swaymsg, and weston, whose windows carry Qt's own frame.
wayland=(
  sway
  weston
)
# ...and under full desktops' window managers on X11: mutter, which needs a
# session bus, as GNOME runs it.
desktops=(
  mutter
  dbus
)
# Debian's and the desktop's own checks of the package and its metadata;
# autopkgtest runs the installed-package test of debian/tests, which starts
# the game on xvfb-run (xauth) and renders its manual page (man-db). The
# package test builds from the files git tracks.
checkers=(
  git
  lintian
  appstream
  desktop-file-utils
  file
  autopkgtest
  xauth
  man-db
)
# The end-to-end test of finding a game on a LAN makes a private one: two
# network namespaces joined by a virtual Ethernet pair.
lan=(
  iproute2
)
icons=(
  librsvg2-bin
  imagemagick
)
# libFuzzer and the sanitizers' run-time, which come with clang only.
fuzz=(
  clang
  libclang-rt-14-dev
)
# Counts the bytes the host sends to one joined computer on the loopback.
traffic=(
  tcpdump
)

packages=()
for group in "${@:-build}"; do
  case $group in
    build) packages+=("${build[@]}") ;;
    package) packages+=("${package[@]}") ;;
    demo) packages+=("${demo[@]}") ;;
    test) packages+=("${build[@]}" "${package[@]}" "${demo[@]}" "${layouts[@]}" "${wayland[@]}" "${desktops[@]}" "${checkers[@]}" "${lan[@]}") ;;
    icons) packages+=("${icons[@]}") ;;
    fuzz) packages+=("${fuzz[@]}") ;;
    traffic) packages+=("${traffic[@]}") ;;
    *) echo "install-deps.sh: unknown group '$group' (build, package, demo, test, icons, fuzz or traffic)" >&2; exit 2 ;;
  esac
done

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
