#!/usr/bin/env bash
# Fuzzes the packet decoder with libFuzzer under AddressSanitizer and
# UndefinedBehaviorSanitizer: random and mutated packets, starting from one
# of each kind made by the encoder; repair chunks are also put together and
# decompressed. Not part of the build or the test run;
# it fails when the fuzzer reports anything.
# Usage: bash net/fuzz/run.sh [executions, 2000000 unless given] [work folder]
set -euo pipefail
cd "$(dirname "$0")/../.."
runs=${1:-2000000}
work=${2:-build/fuzz}

bash scripts/install-deps.sh build fuzz

mkdir -p "$work/seeds" "$work/corpus"
# Qt is built for position-independent code; its headers insist on it.
flags=(-std=c++20 -O1 -g -fPIC -Inet -Icore $(pkg-config --cflags Qt6Core Qt6Gui))
libs=($(pkg-config --libs Qt6Core Qt6Gui))
sources=(net/Packet.cpp net/Bytes.cpp)

clang++ "${flags[@]}" "${sources[@]}" net/Repair.cpp net/fuzz/write_seeds.cpp "${libs[@]}" -o "$work/write_seeds"
clang++ "${flags[@]}" -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    "${sources[@]}" net/Repair.cpp net/fuzz/packet_fuzzer.cpp "${libs[@]}" -o "$work/packet_fuzzer"
"$work/write_seeds" "$work/seeds"

# One process on the shared machine; the largest input is a repair chunk.
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
"$work/packet_fuzzer" -runs="$runs" -max_len=17000 -print_final_stats=1 \
    -artifact_prefix="$work/" "$work/corpus" "$work/seeds"
