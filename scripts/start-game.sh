#!/usr/bin/env bash
# Starts the built game on the user's display. Without an X display or a
# Wayland socket it says so and plays a short demo on a virtual display
# instead, leaving screenshots in the given folder.
# Usage: start-game.sh GAME_BINARY SCREENSHOT_FOLDER
set -euo pipefail
game_binary=$1
shots=$2

wayland_socket=${WAYLAND_DISPLAY:-wayland-0}
[[ $wayland_socket == /* ]] || wayland_socket=${XDG_RUNTIME_DIR:-/nonexistent}/$wayland_socket

if [ -n "${DISPLAY:-}" ] || [ -S "$wayland_socket" ]; then
  exec "$game_binary"
fi

echo "No display found (neither DISPLAY nor a Wayland socket): playing a short demo on a virtual display instead."
exec bash "$(dirname "$0")/demo.sh" "$game_binary" "$shots"
