#!/usr/bin/env bash
# A short unattended match on a virtual display, for machines without one:
# two players who never steer, one round, then the winner window. Saves
# screenshots of the setup, game and winner windows.
# Usage: demo.sh GAME_BINARY SCREENSHOT_FOLDER
set -euo pipefail
game_binary=$(realpath "$1")
mkdir -p "$2"
shots=$(realpath "$2")

# Only the demo needs these, so the play command leaves them to it.
bash "$(dirname "$0")/install-deps.sh" demo

setup_title='Q.V.Z Klikvar v1.01'
game_title='Q.V.Z Klikvar' # the winner window's too

source "$(dirname "$0")/virtual-display.sh"
work=$(mktemp -d)
game_pid=
cleanup() {
  [ -z "$game_pid" ] || kill "$game_pid" 2>/dev/null || true
  stop_virtual_display
  rm -rf "$work"
}
trap cleanup EXIT
start_virtual_display

"$game_binary" >"$work/game.log" 2>&1 &
game_pid=$!

# Waits for a visible window with exactly this title and client size and
# prints its id.
find_window() {
  local title=$1 size=$2 seconds=$3 id WIDTH HEIGHT
  local pattern="^${title//./\\.}\$" deadline=$((SECONDS + seconds))
  while [ $SECONDS -lt $deadline ]; do
    for id in $(xdotool search --onlyvisible --name "$pattern" 2>/dev/null); do
      eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null | grep -E '^(WIDTH|HEIGHT)=')"
      if [ "${WIDTH}x${HEIGHT}" = "$size" ]; then
        echo "$id"
        return 0
      fi
    done
    sleep 0.1
  done
  echo "The window '$title' ($size) did not show up." >&2
  return 1
}

# Saves a screenshot of the window once it is drawn: the pixel at x,y shows
# one of the colours (a grep pattern of RRGGBB).
screenshot() {
  local id=$1 file=$2 point=$3 colours=$4 deadline=$((SECONDS + 10))
  while [ $SECONDS -lt $deadline ]; do
    if import -window "$id" "$file" 2>/dev/null \
       && convert "$file" -format "%[hex:p{$point}]" info: | cut -c1-6 | grep -qx "$colours"; then
      return 0
    fi
    sleep 0.1
  done
  echo "The window $id did not show its colour at ($point)." >&2
  return 1
}

click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }

setup=$(find_window "$setup_title" 326x392 20)
screenshot "$setup" "$shots/setup-window.png" 8,8 00FF00 # player 1's box

# One round instead of 25, then Start. The window has the keyboard first.
xdotool windowactivate --sync "$setup"
click "$setup" 232 108
xdotool key ctrl+a
xdotool type 1
click "$setup" 232 340

game=$(find_window "$game_title" 594x456 10)
screenshot "$game" "$shots/game-window.png" 0,0 FFFFFF # the field's frame

# Nobody steers, so both heads run into something before long.
winner=$(find_window "$game_title" 417x290 60)
screenshot "$winner" "$shots/winner-window.png" 8,8 '00FF00\|FF0000' # the first winner's colour

# Close the winner window, then Exit on the setup window.
xdotool windowactivate --sync "$winner" key alt+F4
setup=$(find_window "$setup_title" 326x392 10)
click "$setup" 232 372
deadline=$((SECONDS + 10))
while kill -0 "$game_pid" 2>/dev/null; do
  if [ $SECONDS -ge $deadline ]; then
    echo "The game did not end on Exit." >&2
    exit 1
  fi
  sleep 0.1
done
game_pid=

echo "Screenshots of the setup, game and winner windows are in $shots"
