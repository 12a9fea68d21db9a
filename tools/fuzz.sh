#!/usr/bin/env bash
# Builds the install log fuzz target (clang's libFuzzer with ASan and UBSan)
# and runs it for SECONDS seconds (default 60), seeded with the corpus of
# install logs. Exits non-zero when the fuzzer found a crash or a sanitizer
# finding; the input that caused it is left in the build tree.
#
#   tools/fuzz.sh [SECONDS] [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
build=${2:-build/fuzz}

cmake --preset fuzz -B "$build" >/dev/null
cmake --build "$build" -j2 --target parser_fuzz

# New inputs the fuzzer finds go to a scratch corpus; the seeds stay as they are.
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
cp tests/parser/logs/*.log "$corpus/"
mkdir -p "$build/fuzz-findings"

"$build/fuzz/parser_fuzz" "$corpus" \
    -dict=fuzz/install_log.dict \
    -max_total_time="$seconds" \
    -max_len=40000 \
    -timeout=10 \
    -rss_limit_mb=2048 \
    -print_final_stats=1 \
    -artifact_prefix="$build/fuzz-findings/" >"$build/fuzz.log" 2>&1 || status=$?
# The run's full output stays in the build tree; a finding prints its report.
if [ "${status:-0}" -ne 0 ]; then
    tail -n 60 "$build/fuzz.log"
    exit "$status"
fi
grep -E '^(Done|stat::)' "$build/fuzz.log"
