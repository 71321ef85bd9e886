#!/usr/bin/env bash
# How often the idle game wakes: the built game on a private virtual display,
# left alone on the setup window and then on the winner window, each for ten
# seconds once it has settled: a second, and on the setup window the ten
# seconds after which the text cursor rests. A wake-up is a voluntary context switch
# (/proc/PID/task/*/status): every time a thread of the game sleeps and is
# woken again. Not a test: the figures are read, not judged.
# With game controllers, the game runs with that many virtual ones plugged
# in (klikvar_pads_game).
# Usage: bash bench/idle.sh [build directory, build/ unless given]
#                           [virtual game controllers, 0 unless given] [seconds, 10]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
controllers=${2:-0}
seconds=${3:-10}

bash scripts/install-deps.sh build demo
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
target=klikvar game=("$build/app/klikvar")
if [ "$controllers" -gt 0 ]; then
    target=klikvar_pads_game game=("$build/bench/klikvar_pads_game")
    export KLIKVAR_BENCH_CONTROLLERS=$controllers
fi
cmake --build "$build" --target "$target" | grep -v "^ninja: no work to do" || true

source scripts/virtual-display.sh
game_pid=
cleanup() {
    [ -z "$game_pid" ] || kill "$game_pid" 2>/dev/null || true
    stop_virtual_display
}
trap cleanup EXIT
start_virtual_display

"${game[@]}" >/dev/null 2>&1 &
game_pid=$!

# Voluntary context switches of the main thread, and of every thread.
switches() {
    local main all=0 task
    main=$(awk '/^voluntary_ctxt_switches/ { print $2 }' "/proc/$game_pid/status")
    for task in /proc/"$game_pid"/task/*/status; do
        all=$((all + $(awk '/^voluntary_ctxt_switches/ { print $2 }' "$task")))
    done
    echo "$main $all"
}

# name, seconds to settle: wake-ups a second over the stretch, main thread
# and all threads.
measure() {
    local before after
    sleep "$2"
    before=($(switches))
    sleep "$seconds"
    after=($(switches))
    awk -v name="$1" -v m=$((after[0] - before[0])) -v a=$((after[1] - before[1])) -v s="$seconds" \
        -v threads="$(ls "/proc/$game_pid/task" | wc -l)" \
        'BEGIN { printf "| %-16s | %10.1f | %11.1f | %7d |\n", name, m / s, a / s, threads }'
}

echo "Virtual game controllers: $controllers"
printf '| %-16s | %10s | %11s | %7s |\n' Window "main /s" "threads /s" threads
printf '|%s|%s|%s|%s|\n' ------------------ ------------ ------------- ---------
setup=$(visible_window 'Q.V.Z Klikvar v1.01' 326x392 20)
measure "setup window" 11

# One round, then Start; the heads run into the frame on their own.
xdotool windowactivate --sync "$setup"
xdotool mousemove --window "$setup" 232 108 click 1 key ctrl+a type 1
xdotool mousemove --window "$setup" 232 340 click 1
visible_window 'Q.V.Z Klikvar' 417x290 60 >/dev/null
measure "winner window" 1
