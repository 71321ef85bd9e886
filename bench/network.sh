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
source bench/network-play.sh
build_bench_targets klikvar
game=$build/app/klikvar
open_displays

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

# The host alone, players 3 to 6 on its own keyboard.
start_host
start_match 0 1 2 3
keep_playing
cpu_alone=$(host_cpu)
stop_host

# The host with five joined computers: four seat players 3 to 6, the fifth
# finds nothing free and watches.
start_host
[[ $code =~ ^[0-9]{4}$ ]] || { echo "No join code in the host's line: $(cat "$host_out")" >&2; exit 1; }
guest_pids=()
for i in 1 2 3 4 5; do
    join_guest "$port" "Host$i"
    guest_pids+=("$guest_pid")
    sleep 0.5
done
sleep 2
for pid in "${guest_pids[@]}"; do
    kill -0 "$pid" 2>/dev/null || { echo "A joined computer ended: $(cat "$work"/Host*.err)" >&2; exit 1; }
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
