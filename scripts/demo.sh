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
  local pattern="^${title//./\\.}\$"
  for _ in $(seq $((seconds * 10))); do
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

click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }

setup=$(find_window "$setup_title" 326x392 20)
sleep 0.3
import -window "$setup" "$shots/setup-window.png"

# One round instead of 25, then Start.
click "$setup" 232 108
xdotool key ctrl+a
xdotool type 1
click "$setup" 232 340

game=$(find_window "$game_title" 594x456 10)
sleep 1.5
import -window "$game" "$shots/game-window.png"

# Nobody steers, so both heads run into something before long.
winner=$(find_window "$game_title" 417x290 60)
sleep 0.3
import -window "$winner" "$shots/winner-window.png"

# Close the winner window, then Exit on the setup window.
xdotool windowactivate --sync "$winner" key alt+F4
setup=$(find_window "$setup_title" 326x392 10)
click "$setup" 232 372
for _ in $(seq 50); do
  kill -0 "$game_pid" 2>/dev/null || break
  sleep 0.1
done

echo "Screenshots of the setup, game and winner windows are in $shots"
