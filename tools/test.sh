#!/usr/bin/env bash
# Builds every configuration and runs every test. Exits non-zero on any
# failure. Prints how long each phase took.
set -uo pipefail
cd "$(dirname "$0")/.."

failed=0
timings=()
phase() { # phase NAME COMMAND...
    local name=$1
    shift
    local start=$SECONDS
    echo "=== $name"
    if ! "$@"; then
        echo "=== $name FAILED"
        failed=1
    fi
    timings+=("$(printf '%-18s %5ds' "$name" $((SECONDS - start)))")
}

build() { # build PRESET
    cmake --preset "$1" >/dev/null && cmake --build --preset "$1" -j"$(nproc)"
}

run_tests() { # run_tests PRESET
    ctest --preset "$1" -j1
}

# Whatever happens, leave no Wine or Xvfb process of ours behind.
cleanup() {
    for tree in build/win build/win64; do
        [ -d "$tree/wine" ] && tools/winrun.sh --state "$tree/wine" --cleanup
    done
}
trap cleanup EXIT

phase install bash tools/install-deps.sh || exit 1
phase "build win" build win
phase "build win64" build win64
phase "build native" build native
phase "tests native" run_tests native
if [ "$(tools/winrun.sh --preset)" = win ]; then
    phase "tests win" run_tests win
else
    echo "=== tests win SKIPPED: this machine's kernel cannot run 32-bit programs, which"
    echo "    32-bit Wine needs; the x86_64 build below runs the same suite"
    timings+=("$(printf '%-18s %6s' "tests win" skipped)")
fi
phase "tests win64" run_tests win64
if [ -x tools/fuzz.sh ]; then
    phase "fuzz" tools/fuzz.sh 60
fi

echo
echo "=== phase timings"
printf '%s\n' "${timings[@]}"
if [ $failed -ne 0 ]; then
    echo "=== FAILED"
    exit 1
fi
echo "=== all phases passed"
