#!/usr/bin/env bash
# Network play's latency: how soon a joined computer's key turns its head on
# the host, how far the joined computer's view lags the host's, and whether
# its playfield updates come evenly. Twice: on a LAN-like loopback (a relay
# that neither delays nor drops) and through a relay that delays each
# datagram DELAY ms each way and drops a share LOSS of them. The host and
# one joined computer run on two private virtual displays of this machine,
# their traffic over 127.0.0.1 only; both print their moments with
# microseconds of the same monotonic clock (QT_LOGGING_RULES
# klikvar.timing.debug). Timings on a shared machine are no pass/fail, so
# this is not part of the tests; it fails only when a figure could not be
# measured.
# Usage: bash bench/latency.sh [build directory, build/ unless given]
#                              [seconds of key presses each, 10 unless given]
#                              [host's port, 24741 unless given; the relay
#                               listens on the next one]
#                              [DELAY, whole ms one way, 50 unless given]
#                              [LOSS, a share, 0.02 unless given]
#                              [seed of the drops, 1 unless given]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
seconds=${2:-10}
port=${3:-24741}
delay=${4:-50}
loss=${5:-0.02}
seed=${6:-1}
relay_port=$((port + 1))

bash scripts/install-deps.sh build demo
source bench/network-play.sh
build_bench_targets klikvar klikvar_lossy_relay
game=$build/app/klikvar
relay=$build/bench/klikvar_lossy_relay
export QT_LOGGING_RULES="klikvar.timing.debug=true"
open_displays

# The joined computer's moments and the host's, one line each: source, what,
# number, microseconds; whatever Qt puts before "timing" is skipped.
moments() {
    awk -v from="$1" '{ for (i = 1; i + 3 <= NF; i++) if ($i == "timing") { print from, $(i + 1), $(i + 2), $(i + 3); next } }' "$2"
}

# One condition: a host, the relay, one joined computer seated as player 3
# (steered with the arrows, its first seat's keys), players 4 to 6 ticked
# on the host so the round is busy; the arrows pressed and let go on the
# joined computer for the span. Leaves "figure value" lines in $work/NAME.
measure() {
    local name=$1 one_way=$2 share=$3
    start_host
    "$relay" --listen "$relay_port" --to "$port" --delay "$one_way" --loss "$share" --seed "$seed" \
        2>"$work/$name.relay" &
    local relay_pid=$!
    pids+=("$relay_pid")
    join_guest "$relay_port" "$name"
    # Seated as player 3 before the host ticks 4 to 6: joining takes a few
    # round trips.
    sleep 3
    kill -0 "$guest_pid" 2>/dev/null || { echo "The joined computer ended: $(cat "$work/$name.err")" >&2; return 1; }
    start_match 1 2 3
    keep_playing
    local guest_window
    guest_window=$(DISPLAY=$guest_display visible_window 'Q.V.Z Klikvar' "$game_size" 30)
    DISPLAY=$guest_display xdotool windowactivate --sync "$guest_window"
    local until_ms=$(($(date +%s%3N) + seconds * 1000)) key
    while [ "$(date +%s%3N)" -lt "$until_ms" ]; do
        for key in Left Right; do
            DISPLAY=$guest_display xdotool keydown "$key"
            sleep 0.12
            DISPLAY=$guest_display xdotool keyup "$key"
            sleep 0.08
        done
    done
    sleep 1
    stop_host
    stop_processes "$guest_pid" "$relay_pid"
    { moments guest "$work/$name.err"; moments host "$work/host.err"; } | sort -n -k4 | analyse "$one_way" >"$work/$name"
}

# From the time-ordered moments, in microseconds: "key" (a key change on the
# joined computer to the first host tick after the host took it), "lag" (a
# tick drawn on the joined computer after the host sent it, less the one-way
# delay), and for two ticks drawn one after the other in a round "gap" (on
# the joined computer), "host-gap" (the host's between the same two) and
# "excess" (the first less the second). Only the span of the key presses
# counts.
analyse() {
    awk -v delay_us=$(($1 * 1000)) '
        $2 == "guest-key" { if (first == "") first = $4; last = $4 }
        { line[NR] = $0 }
        END {
            for (i = 1; i <= NR; i++) {
                split(line[i], f, " ")
                t = f[4] + 0
                if (t < first || t > last + 500000) continue
                if (f[1] == "guest" && f[2] == "guest-key") { keys++; key_player[keys] = f[3]; key_time[keys] = t }
                else if (f[1] == "host" && f[2] == "host-input") { p = f[3]; inputs[p]++; input_time[p, inputs[p]] = t }
                else if (f[1] == "host" && f[2] == "host-tick") {
                    ticks++; tick_time[ticks] = t; host_at[f[3] + 0] = t
                }
                else if (f[1] == "guest" && f[2] == "guest-tick") {
                    n = f[3] + 0
                    # A tick too large for one datagram comes in parts; it is drawn with its last.
                    if (!(n in guest_at)) { drawn++; drawn_number[drawn] = n }
                    guest_at[n] = t
                }
            }
            # The host takes a key change once it arrives, which is never sooner
            # than the delay; its first tick after that turns the head. Keys
            # pressed while the host drew nothing (between rounds) wait for
            # the round and are left out, as are changes that a later one
            # overtook before the host heard of them (a lost datagram).
            for (k = 1; k <= keys; k++) {
                p = key_player[k]
                while (next_input[p] + 1 <= inputs[p] && input_time[p, next_input[p] + 1] < key_time[k] + delay_us) next_input[p]++
                if (next_input[p] + 1 > inputs[p]) { unmatched++; continue }
                taken = input_time[p, next_input[p] + 1]
                later = 0
                for (m = k + 1; m <= keys; m++) if (key_player[m] == p) { later = key_time[m]; break }
                if (later && taken >= later + delay_us) { overtaken++; continue }
                lo = 1; hi = ticks + 1
                while (lo < hi) { mid = int((lo + hi) / 2); if (tick_time[mid] > taken) hi = mid; else lo = mid + 1 }
                if (lo > ticks || lo == 1 || tick_time[lo] - tick_time[lo - 1] > 100000) { idle++; continue }
                print "key", tick_time[lo] - key_time[k]
            }
            for (n in guest_at) if (n in host_at) print "lag", guest_at[n] - host_at[n] - delay_us
            for (d = 2; d <= drawn; d++) {
                a = drawn_number[d - 1]; b = drawn_number[d]
                # Within a round the numbers follow one another; a round ends
                # with a pause of its own on the host, left out by the host gap.
                if (b - a < 1 || b - a > 5 || !(a in host_at) || !(b in host_at)) continue
                host_gap = host_at[b] - host_at[a]
                if (host_gap > 100000) continue
                print "gap", guest_at[b] - guest_at[a]
                print "host-gap", host_gap
                print "excess", guest_at[b] - guest_at[a] - host_gap
            }
            print "keys-left-out", unmatched + overtaken + idle
        }'
}

# Count, median, 95th and 99th percentile, largest (ms) of a figure, and how
# many lie over the limit given in ms.
stats() {
    awk -v f="$2" '$1 == f { print $2 }' "$1" | sort -n | awk -v limit="$3" '
        { v[NR] = $1 / 1000; if ($1 / 1000 > limit) over++ }
        function at(p,  i) { i = int(p * NR); if (i < p * NR) i++; return v[i < 1 ? 1 : i] }
        END {
            if (NR == 0) { print "- - - - - -"; exit }
            printf "%d %.1f %.1f %.1f %.1f %d\n", NR, at(0.5), at(0.95), at(0.99), v[NR], over
        }'
}

measure lan 0 0
measure slow "$delay" "$loss"
load=$(cut -d' ' -f1-3 /proc/loadavg)

row() { printf '| %-40s | %5s | %6s | %6s | %6s | %6s | %9s |\n' "$@"; }
row "Figure (ms)" Count Median p95 p99 Max "Over (ms)"
printf '|%s|%s|%s|%s|%s|%s|%s|\n' "$(printf -- '-%.0s' {1..42})" "$(printf -- '-%.0s' {1..7})" \
    "$(printf -- '-%.0s' {1..8})" "$(printf -- '-%.0s' {1..8})" "$(printf -- '-%.0s' {1..8})" \
    "$(printf -- '-%.0s' {1..8})" "$(printf -- '-%.0s' {1..11})"
missing=0
for name in lan slow; do
    if [ $name = lan ]; then
        label="LAN"
    else
        label="${delay} ms, $(awk -v l="$loss" 'BEGIN { print l * 100 }') % loss"
    fi
    # figure, what it is, the limit its last column counts against
    # The key's limit is the LAN's plus the one-way delay.
    key_limit=$((30 + $([ $name = lan ] && echo 0 || echo "$delay")))
    for figure in "key key to head $key_limit" "lag view lag less delay 20" "gap gap between updates 50" \
                  "host-gap host's gap, same ticks 50" "excess gap beyond host's 50"; do
        read -r id title <<<"${figure% *}"
        limit=${figure##* }
        read -r count median p95 p99 max over <<<"$(stats "$work/$name" "$id" "$limit")"
        [ "$count" != - ] || missing=1
        row "$label: $title" "$count" "$median" "$p95" "$p99" "$max" "$over > $limit"
    done
done
echo
for name in lan slow; do
    echo "$name: key changes left out (between rounds or overtaken): $(awk '$1 == "keys-left-out" { print $2 }' "$work/$name")"
    sed "s/^/$name: /" "$work/$name.relay"
done
echo "Seconds of key presses each: $seconds; delay ${delay} ms each way; loss $loss; seed $seed; load average: $load"
[ $missing = 0 ] || { echo "A figure could not be measured." >&2; exit 1; }
