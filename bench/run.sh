#!/usr/bin/env bash
# The performance figures against their targets: the CPU cost of one tick,
# then the game itself on a private virtual display (tick cadence, the
# process's CPU share and memory, start-up time). Timings on a shared
# machine are no pass/fail, so this is not part of the tests; it fails only
# when a figure could not be measured.
# Usage: bash bench/run.sh [build directory, build/ unless given]
#                          [virtual game controllers, 2 unless given]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
controllers=${2:-2}

bash scripts/install-deps.sh build demo
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" --target klikvar_tick_bench klikvar_cadence_bench | grep -v "^ninja: no work to do" || true

tick=$("$build/bench/klikvar_tick_bench" 20000)
tick_median=$(sed -n 's/.*median \([0-9.]*\) us.*/\1/p' <<<"$tick")
tick_p99=$(sed -n 's/.*p99 \([0-9.]*\) us.*/\1/p' <<<"$tick")

source scripts/virtual-display.sh
trap stop_virtual_display EXIT
start_virtual_display
xvfb_pid=$VIRTUAL_DISPLAY_SERVER_PID

# The X server draws what the game asks for; its share is shown for
# information, over the whole run of the game.
clock_ticks=$(getconf CLK_TCK)
server_cpu() { awk '{ print $14 + $15 }' "/proc/$xvfb_pid/stat"; }
server_before=$(server_cpu)
run_began=$(date +%s%N)
# The launch time is taken just before the program replaces the shell.
cadence=$(timeout 120 sh -c 'exec "$0" --launched-at="$(date +%s%N)" "$1"' \
    "$build/bench/klikvar_cadence_bench" "--controllers=$controllers")
server_share=$(awk -v t="$(( $(server_cpu) - server_before ))" -v hz="$clock_ticks" \
    -v ns="$(( $(date +%s%N) - run_began ))" 'BEGIN { printf "%.2f", t / hz / (ns / 1e9) * 100 }')

figure() { sed -n "s/^$1 //p" <<<"$cadence"; }

# name, result, unit, comparison (lt, le or within), target, target text
row() {
    local verdict
    verdict=$(awk -v r="$2" -v op="$4" -v t="$5" 'BEGIN {
        if (r == "") { print "not measured"; exit }
        if (op == "lt") ok = r < t
        else if (op == "le") ok = r <= t
        else { split(t, b, ":"); ok = r >= b[1] && r <= b[2] }
        print ok ? "met" : "missed" }')
    printf '| %-32s | %14s | %-18s | %-12s |\n' "$1" "$2${3:+ $3}" "$6" "$verdict"
}

printf '| %-32s | %14s | %-18s | %-12s |\n' Figure Result Target Verdict
printf '|%s|%s|%s|%s|\n' "$(printf -- '-%.0s' {1..34})" "$(printf -- '-%.0s' {1..16})" \
    "$(printf -- '-%.0s' {1..20})" "$(printf -- '-%.0s' {1..14})"
row "Tick CPU time, median" "$tick_median" us lt 20 "< 20 us"
row "Tick CPU time, p99" "$tick_p99" us lt 100 "< 100 us"
row "Ticks per second" "$(figure ticks_per_second)" "" within 99:101 "100 +/- 1"
row "Largest gap between ticks" "$(figure largest_gap_ms)" ms lt 20 "< 20 ms"
row "Process CPU, share of one core" "$(figure cpu_percent)" % lt 5 "< 5 %"
row "Resident memory (VmRSS)" "$(figure rss_mib)" MiB lt 80 "< 80 MiB"
row "Peak resident memory (VmHWM)" "$(figure hwm_mib)" MiB lt 80 "< 80 MiB"
row "Start-up to setup window" "$(figure startup_ms)" ms lt 300 "< 300 ms"
printf '| %-32s | %14s | %-18s | %-12s |\n' "X server CPU (whole run)" "$server_share %" "-" "information"
echo
echo "Start-up, ms after launch: main() entered $(figure startup_main_entered_ms)," \
     "application ready $(figure startup_application_ready_ms)," \
     "windows built $(figure startup_windows_built_ms), setup window painted $(figure startup_ms)"
echo "Playfield repaints a second: $(figure repaints_per_second)"
if [ "$(figure controllers)" != 0 ]; then
    echo "Virtual game controllers steering players: $(figure controllers)," \
         "one more plugged in and out while measuring"
fi
echo "Rounds restarted with Space while measuring: $(figure rounds_restarted)," \
     "ticks spent waiting for it: $(figure ticks_waiting_for_space)"
