# Sourced, not run: a private virtual X display at 100 % with a window manager,
# for the demo and the benchmarks.
#   start_virtual_display   exports DISPLAY, sets VIRTUAL_DISPLAY_SERVER_PID
#   stop_virtual_display    ends the server and the window manager
#   visible_window TITLE WIDTHxHEIGHT SECONDS
#                           prints the id of such a window once it is there

virtual_display_pids=()
virtual_display_runtime=

start_virtual_display() {
  local number_file
  number_file=$(mktemp)
  # The server picks a free display number and writes it once it is ready.
  # Without -noreset it starts afresh whenever its last client leaves, and a
  # window manager connecting at that moment fails and is gone.
  Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp 3>"$number_file" 2>/dev/null &
  VIRTUAL_DISPLAY_SERVER_PID=$!
  virtual_display_pids+=("$VIRTUAL_DISPLAY_SERVER_PID")
  for _ in $(seq 100); do
    [ -s "$number_file" ] && break
    sleep 0.1
  done
  if [ ! -s "$number_file" ]; then
    rm -f "$number_file"
    echo "Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=":$(cat "$number_file")"
  rm -f "$number_file"
  export QT_QPA_PLATFORM=xcb
  unset WAYLAND_DISPLAY
  # Qt wants a private runtime directory and complains without one.
  if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    virtual_display_runtime=$(mktemp -d)
    export XDG_RUNTIME_DIR=$virtual_display_runtime
  fi

  local manager_log
  manager_log=$(mktemp)
  openbox >"$manager_log" 2>&1 &
  local manager=$!
  virtual_display_pids+=("$manager")
  local deadline=$((SECONDS + 30))
  until window_manager_ready; do
    if [ $SECONDS -ge $deadline ] || ! kill -0 "$manager" 2>/dev/null; then
      echo "openbox did not take over the virtual display: $(tail -n 1 "$manager_log")" >&2
      rm -f "$manager_log"
      return 1
    fi
    sleep 0.1
  done
  rm -f "$manager_log"
  xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "$(printf 'Xft.dpi:\t96\n')"
}

# True once the window manager is really up: the root names its check window,
# that window exists and names itself, and activating windows is supported.
window_manager_ready() {
  local check
  check=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -o '0x[0-9a-f]*$') || return 1
  xprop -id "$check" _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "$check\$" || return 1
  xprop -root _NET_SUPPORTED 2>/dev/null | grep -qw _NET_ACTIVE_WINDOW
}

# Ends the processes given (children of this shell) and waits for each.
stop_processes() {
  local pid
  for pid in "$@"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
}

stop_virtual_display() {
  stop_processes "${virtual_display_pids[@]}"
  virtual_display_pids=()
  [ -z "$virtual_display_runtime" ] || rm -rf "$virtual_display_runtime"
}

# The visible window of that title and size, once it is there.
visible_window() {
  local deadline=$((SECONDS + $3)) id WIDTH HEIGHT
  while [ $SECONDS -lt $deadline ]; do
    for id in $(xdotool search --onlyvisible --name "^${1//./\\.}\$" 2>/dev/null); do
      eval "$(xdotool getwindowgeometry --shell "$id" | grep -E '^(WIDTH|HEIGHT)=')"
      [ "${WIDTH}x${HEIGHT}" = "$2" ] && { echo "$id"; return 0; }
    done
    sleep 0.2
  done
  echo "No window '$1' of $2 showed up." >&2
  return 1
}
