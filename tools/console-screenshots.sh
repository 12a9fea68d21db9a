#!/usr/bin/env bash
# Pictures of the console for docs/, taken under Xvfb in a build tree's Wine
# prefix:
#
#   tools/console-screenshots.sh [BUILD_DIR]
#
# (default: build/win, or build/win64 where Wine cannot run 32-bit programs)
#
# Builds the screenshot driver (with quorcon and the test service), lets it
# bring the console into each state and save BMPs, and converts them to
# docs/console-*.png with ImageMagick.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
preset=$("$root/tools/winrun.sh" --preset)
build=${1:-$root/build/$preset}
if [ ! -f "$build/CMakeCache.txt" ]; then
    (cd "$root" && cmake --preset "$preset" -B "$build" >/dev/null)
fi
cmake --build "$build" -j2 --target console_screenshots

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$root/tools/winrun.sh" --state "$build/wine" \
    "$build/bench/console/console_screenshots.exe" "$out"

mkdir -p "$root/docs"
for bmp in "$out"/console-*.bmp; do
    png="$root/docs/$(basename "${bmp%.bmp}").png"
    convert "$bmp" "$png"
    echo "$png"
done
