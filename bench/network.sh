#!/usr/bin/env bash
# What network play costs: the bytes the host sends to each joined computer
# during six-player rounds, and the host's CPU with five joined computers
# against the same six-player rounds with none joined. Everything runs on
# this machine: the host on one private virtual display, the joined
# computers on another, their traffic over 127.0.0.1 only. Timings on a
# shared machine are no pass/fail, so this is not part of the tests; it
# fails only when a figure could not be measured.
# Usage: bash bench/network.sh [build directory, build/ unless given]
#                              [seconds measured, 10 unless given]
#                              [port, 24731 unless given]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
seconds=${2:-10}
port=${3:-24731}

bash scripts/install-deps.sh build demo traffic
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" --target klikvar | grep -v "^ninja: no work to do" || true
game=$build/app/klikvar

work=$(mktemp -d)
pids=()
cleanup() {
    stop_processes "${pids[@]}"
    stop_virtual_display
    rm -rf "$work"
}
source scripts/virtual-display.sh
trap cleanup EXIT
# The joined computers get a display of their own, so the host's X server
# draws for the host alone and key presses cannot go astray. DISPLAY stays
# the host's.
start_virtual_display
guest_display=$DISPLAY
start_virtual_display

game_size=594x456

host_pid=
host_out=
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
}

# Many rounds, then Start; players 3 to 6 ticked by the host itself unless
# joined computers already took them.
start_match() {
    local setup
    setup=$(visible_window 'Q.V.Z Klikvar v1.01' 326x392 30)
    xdotool windowactivate --sync "$setup"
    if [ "${1:-}" = tick ]; then
        local j
        for j in 0 1 2 3; do
            xdotool mousemove --window "$setup" 30 $((152 + 64 * j)) click 1
        done
    fi
    xdotool mousemove --window "$setup" 232 108 click 1 key ctrl+a type 30000
    xdotool mousemove --window "$setup" 232 340 click 1
    game_window=$(visible_window 'Q.V.Z Klikvar' "$game_size" 30)
    sleep 1
}

# Space on the host's game window twice a second, so a new round starts
# soon after the heads ran into the frame; between rounds nothing is drawn.
space_pid=
keep_playing() {
    (while true; do
        xdotool windowactivate "$game_window" key space 2>/dev/null || true
        sleep 0.5
    done) &
    space_pid=$!
    pids+=("$space_pid")
}

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$host_pid/stat"; }
clock_ticks=$(getconf CLK_TCK)
# The host's process CPU (user and system, all threads) over the span, as a
# share of one core.
host_cpu() {
    local before after began ended
    before=$(cpu_ticks); began=$(date +%s%N)
    sleep "$seconds"
    after=$(cpu_ticks); ended=$(date +%s%N)
    awk -v t=$((after - before)) -v hz="$clock_ticks" -v ns=$((ended - began)) \
        'BEGIN { printf "%.2f", t / hz / (ns / 1e9) * 100 }'
}

stop_host() {
    kill "$space_pid" 2>/dev/null || true
    kill "$host_pid" 2>/dev/null || true
    wait "$host_pid" 2>/dev/null || true
    sleep 1
}

# The host alone, players 3 to 6 on its own keyboard.
start_host
start_match tick
keep_playing
cpu_alone=$(host_cpu)
stop_host

# The host with five joined computers: four seat players 3 to 6, the fifth
# finds nothing free and watches.
start_host
code=$(grep -oE 'kód [0-9]{4}' "$host_out" | tail -n 1 | grep -oE '[0-9]{4}')
[[ $code =~ ^[0-9]{4}$ ]] || { echo "No join code in the host's line: $(cat "$host_out")" >&2; exit 1; }
guest_pids=()
for i in 1 2 3 4 5; do
    DISPLAY=$guest_display "$game" --join "127.0.0.1:$port" --code "$code" --name "Host$i" \
        >/dev/null 2>"$work/guest$i.err" &
    guest_pids+=($!)
    pids+=($!)
    sleep 0.5
done
sleep 2
for pid in "${guest_pids[@]}"; do
    kill -0 "$pid" 2>/dev/null || { echo "A joined computer ended: $(cat "$work"/guest*.err)" >&2; exit 1; }
done
start_match
keep_playing
# Every datagram the host sends, with its time, its receiver's port and its
# UDP payload (ENet's header included).
tcpdump -i lo -nn -tt -l -q "udp and src host 127.0.0.1 and src port $port" \
    >"$work/traffic" 2>"$work/tcpdump.err" &
tcpdump_pid=$!
pids+=("$tcpdump_pid")
sleep 1
cpu_joined=$(host_cpu)
kill -INT "$tcpdump_pid"
wait "$tcpdump_pid" 2>/dev/null || true
stop_host
load=$(cut -d' ' -f1-3 /proc/loadavg)

# Per joined computer: bytes a second on the wire as IPv4 counts them (the
# UDP payload plus 28 bytes of IP and UDP headers), over the whole span and
# in its busiest whole second.
traffic=$(awk '
    / UDP, length / {
        to = $5; sub(/:$/, "", to); n = split(to, p, "."); receiver = p[n]
        second = int($1); bytes = $NF + 28
        total[receiver] += bytes; per[receiver, second] += bytes
        if (first == "" || $1 < first) first = $1
        if ($1 > last) last = $1
        seen[second] = 1
    }
    END {
        span = last - first
        if (span <= 0) exit
        for (r in total) {
            mean = total[r] / span / 1000; peak = 0
            for (s in seen) if (s > int(first) && s < int(last) && per[r, s] / 1000 > peak) peak = per[r, s] / 1000
            computers++; sum += mean; if (mean > worst) worst = mean; if (peak > busiest) busiest = peak
        }
        printf "%d %.2f %.2f %.2f\n", computers, sum / computers, worst, busiest
    }' "$work/traffic")
read -r computers mean worst busiest <<<"${traffic:-0 - - -}"

row() { printf '| %-44s | %12s | %-14s |\n' "$1" "$2" "$3"; }
row Figure Result Target
printf '|%s|%s|%s|\n' "$(printf -- '-%.0s' {1..46})" "$(printf -- '-%.0s' {1..14})" "$(printf -- '-%.0s' {1..16})"
row "Traffic to a joined computer, mean" "$mean KB/s" "<= 16 KB/s"
row "Traffic to a joined computer, highest mean" "$worst KB/s" "<= 16 KB/s"
row "Traffic to a joined computer, busiest second" "$busiest KB/s" "<= 16 KB/s"
row "Host CPU, none joined" "$cpu_alone %" "-"
row "Host CPU, five joined" "$cpu_joined %" "within 2 points"
echo
echo "Joined computers the host sent to: $computers; seconds measured: $seconds; load average: $load"
[ "$computers" = 5 ] || { echo "The host did not send to five joined computers." >&2; exit 1; }
