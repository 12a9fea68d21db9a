#!/usr/bin/env bash
# Runs a test program across a real restart, in both Windows families, in a
# Wine prefix of its own (a restart there must not disturb other tests):
#
#   run_across_restart.sh WINRUN STATE_DIR PROGRAM
#
# PROGRAM runs as itself (Windows NT family) and as a copy named *_w98.exe
# that Wine reports as Windows 98. Each runs its tests, then `wineboot -r`
# carries out what they scheduled, then each runs its suite
# DISABLED_AfterRestart to look at the result.
set -u
winrun=$1
state=$2
program=$3

run() { "$winrun" --state "$state" "$@"; }
trap 'run --cleanup' EXIT
# A fresh prefix every time: nothing scheduled by an earlier run, and a
# program that went wrong there cannot spoil the next run.
run --cleanup
rm -rf "$state/prefix"

name=$(basename "$program" .exe)
copy="$(dirname "$program")/${name}_w98.exe"
cp "$program" "$copy" || exit 1
run reg add "HKCU\\Software\\Wine\\AppDefaults\\${name}_w98.exe" /v Version /d win98 /f \
    >/dev/null || exit 1

failed=0
phase() { # phase LABEL ARGS...: one run of both programs
    local label=$1
    shift
    for exe in "$program" "$copy"; do
        echo "=== $label: $(basename "$exe")"
        out=$(run "$exe" "$@")
        echo "$out"
        echo "$out" | grep -q "ALL TESTS PASSED" || failed=1
    done
}

phase "before restart"
echo "=== wineboot -r"
run wineboot -r || failed=1
phase "after restart" --gtest_also_run_disabled_tests --gtest_filter='DISABLED_AfterRestart.*'

[ $failed -eq 0 ] && echo "RESTART PHASES PASSED"
exit $failed
