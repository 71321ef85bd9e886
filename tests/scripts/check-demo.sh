#!/usr/bin/env bash
# The play command's start on a machine without a display: it says so, plays
# the demo on a virtual display and leaves a screenshot of each window.
set -uo pipefail
start_game=$1
game_binary=$2

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

output=$(env -u DISPLAY -u WAYLAND_DISPLAY XDG_RUNTIME_DIR="$scratch" \
         bash "$start_game" "$game_binary" "$scratch/shots" 2>&1)
status=$?
echo "$output"
[ $status -eq 0 ] || fail "exit status $status"
head -n 1 <<<"$output" | grep -q '^No display found' || fail "the first line does not say there is no display"
tail -n 1 <<<"$output" | grep -qF "$scratch/shots" || fail "the last line does not say where the screenshots are"

# Each window at its designed size; the frame colours say which window it is.
check_shot() {
  local name=$1 size=$2 point=$3 colour=$4 shot=$scratch/shots/$1.png
  [ -f "$shot" ] || { fail "no $name.png"; return; }
  local actual
  actual=$(identify -format '%wx%h' "$shot")
  [ "$actual" = "$size" ] || fail "$name.png is $actual, not $size"
  actual=$(convert "$shot" -format "%[hex:p{$point}]" info: | cut -c1-6)
  grep -qx "$colour" <<<"$actual" || fail "$name.png has $actual at ($point)"
}
check_shot setup-window 326x392 8,8 '00FF00'              # player 1's box
check_shot game-window 594x456 0,0 'FFFFFF'               # the field's frame
check_shot winner-window 417x290 8,8 '00FF00\|FF0000'     # the first winner's colour
exit $((failures > 0))
