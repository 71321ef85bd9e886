# Sourced, not run, by the network benchmarks (network.sh, latency.sh): a host
# and joined computers of the game on two private virtual displays of this
# machine, their traffic over 127.0.0.1 only. Expects game (the program),
# port (the host's) and build set; uses scripts/virtual-display.sh.
#   build_bench_targets TARGET...  configures $build if needed, builds them
#   open_displays       a work folder ($work), a display for the host
#                       (DISPLAY) and one for the joined computers
#                       ($guest_display); on exit every process in pids ends
#                       and all is removed
#   start_host          the host on $port; sets host_pid, host_out and the
#                       join code (code); its standard error in $work/host.err
#   join_guest PORT NAME   a joined computer on the guests' display through
#                       127.0.0.1:PORT; sets guest_pid, its standard error in
#                       $work/NAME.err
#   start_match [BOX...]   on the host's setup window ticks the optional
#                       players' boxes given (0 for player 3 to 3 for player
#                       6), sets many rounds and presses Start
#   keep_playing        Space on the host's game window twice a second
#   stop_host           ends the host and the Space presses

source scripts/virtual-display.sh

pids=()
game_size=594x456

build_bench_targets() {
    if [ ! -f "$build/CMakeCache.txt" ]; then
        cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    fi
    cmake --build "$build" --target "$@" | grep -v "^ninja: no work to do" || true
}

network_bench_cleanup() {
    stop_processes "${pids[@]}"
    stop_virtual_display
    rm -rf "$work"
}

open_displays() {
    work=$(mktemp -d)
    trap network_bench_cleanup EXIT
    # The joined computers get a display of their own, so the host's X
    # server draws for the host alone and key presses cannot go astray.
    # DISPLAY stays the host's.
    start_virtual_display
    guest_display=$DISPLAY
    start_virtual_display
}

host_pid=
host_out=
code=
# Starts the host and waits for its line with the code.
start_host() {
    host_out=$work/host.out
    "$game" --host --port "$port" >"$host_out" 2>"$work/host.err" &
    host_pid=$!
    pids+=("$host_pid")
    local deadline=$((SECONDS + 30))
    until grep -Eq 'kód [0-9]{4}' "$host_out" 2>/dev/null; do
        [ $SECONDS -lt $deadline ] || { echo "The host did not start: $(cat "$work/host.err")" >&2; return 1; }
        sleep 0.1
    done
    code=$(grep -oE 'kód [0-9]{4}' "$host_out" | tail -n 1 | grep -oE '[0-9]{4}')
}

guest_pid=
join_guest() {
    DISPLAY=$guest_display "$game" --join "127.0.0.1:$1" --code "$code" --name "$2" \
        >/dev/null 2>"$work/$2.err" &
    guest_pid=$!
    pids+=("$guest_pid")
}

# Many rounds, then Start.
start_match() {
    local setup box
    setup=$(visible_window 'Q.V.Z Klikvar v1.01' 326x392 30)
    xdotool windowactivate --sync "$setup"
    for box in "$@"; do
        xdotool mousemove --window "$setup" 30 $((152 + 64 * box)) click 1
    done
    xdotool mousemove --window "$setup" 232 108 click 1 key ctrl+a type 30000
    xdotool mousemove --window "$setup" 232 340 click 1
    game_window=$(visible_window 'Q.V.Z Klikvar' "$game_size" 30)
    sleep 1
}

# A new round starts soon after the heads ran into the frame; between
# rounds nothing is drawn.
space_pid=
keep_playing() {
    (while true; do
        xdotool windowactivate "$game_window" key space 2>/dev/null || true
        sleep 0.5
    done) &
    space_pid=$!
    pids+=("$space_pid")
}

stop_host() {
    kill "$space_pid" 2>/dev/null || true
    kill "$host_pid" 2>/dev/null || true
    wait "$host_pid" 2>/dev/null || true
    sleep 1
}
