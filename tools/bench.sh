#!/usr/bin/env bash
# Runs every benchmark and prints its figures. Benchmarks never fail on time;
# this exits non-zero only when one could not be built or run.
#
#   tools/bench.sh
#
# Native figures come from an optimised build without sanitizers
# (build/bench-native); the Wine figures from the shipped i686 build, or the
# x86_64 one where Wine cannot run 32-bit programs.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
cmake -S . -B build/bench-native -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/bench-native -j"$(nproc)" --target parser_bench
preset=$(tools/winrun.sh --preset)
build=build/$preset
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j"$(nproc)" --target parser_self_register_bench console_bench

state=$build/wine
trap 'tools/winrun.sh --state "$state" --cleanup' EXIT

echo "=== log parser (native, in-memory system)"
build/bench-native/bench/parser/parser_bench
echo "=== self-registration lines against many files (Wine)"
tools/winrun.sh --state "$state" "$build"/bench/parser/parser_self_register_bench.exe
echo "=== console: command to new state shown (Wine)"
tools/winrun.sh --state "$state" "$build"/bench/console/console_bench.exe
