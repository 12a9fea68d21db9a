#!/usr/bin/env bash
# Runs a Windows program under Wine for tests, screenshots and the demo.
#
#   winrun.sh --state DIR --setup          prepare display, prefix and wineserver
#   winrun.sh --state DIR --cleanup        stop wineserver and our Xvfb
#   winrun.sh --state DIR PROGRAM [ARGS]   run PROGRAM, return its exit code
#   winrun.sh --preset                     print the build preset Wine runs here
#
# One state folder per build tree holds the prefix (DIR/prefix), the Xvfb we
# started (DIR/xvfb.pid, DIR/display) and logs. Setup is idempotent and runs
# under a lock, so the first test of a run may do it implicitly.
set -u

# 32-bit Wine needs a kernel that runs 32-bit Linux programs (IA32
# emulation). Where it cannot, 64-bit Wine runs the 64-bit programs alone.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    wine=wine
    preset=win
else
    wine=/usr/lib/wine/wine64
    export WINELOADER=$wine
    preset=win64
fi

state=""
mode=run
while [ $# -gt 0 ]; do
    case "$1" in
        --state) state="$2"; shift 2 ;;
        --setup) mode=setup; shift ;;
        --cleanup) mode=cleanup; shift ;;
        --preset) echo "$preset"; exit 0 ;;
        *) break ;;
    esac
done
[ -n "$state" ] || { echo "winrun: --state DIR is required" >&2; exit 2; }
mkdir -p "$state"
state=$(cd "$state" && pwd)

export WINEPREFIX="$state/prefix"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono/Gecko install prompts: nothing here needs them.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
wineserver=/usr/lib/wine/wineserver
log="$state/wine.log"

xvfb_alive() {
    [ -f "$state/xvfb.pid" ] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null
}

use_display() {
    if [ -z "${DISPLAY:-}" ] || [ -f "$state/xvfb.pid" ]; then
        if xvfb_alive; then
            export DISPLAY=":$(cat "$state/display")"
            return 0
        fi
        # Xvfb must not inherit the lock or CTest's output pipe.
        exec {dfd}>"$state/display.tmp"
        Xvfb -displayfd "$dfd" -screen 0 1280x1024x24 -nolisten tcp \
            </dev/null >>"$state/xvfb.log" 2>&1 9>&- &
        echo $! >"$state/xvfb.pid"
        exec {dfd}>&-
        for _ in $(seq 1 100); do
            [ -s "$state/display.tmp" ] && break
            sleep 0.05
        done
        tr -d '\n' <"$state/display.tmp" >"$state/display"
        rm -f "$state/display.tmp"
        [ -s "$state/display" ] || { echo "winrun: Xvfb did not start" >&2; exit 2; }
        export DISPLAY=":$(cat "$state/display")"
    fi
}

setup() {
    exec 9>"$state/lock"
    flock 9
    use_display
    if [ ! -f "$WINEPREFIX/.winrun-ready" ]; then
        rm -rf "$WINEPREFIX"
        "$wine" wineboot -i </dev/null >>"$log" 2>&1 9>&-
        # Without a window manager Wine must draw the frames itself; otherwise
        # destroying a visible top-level window stalls for about two seconds.
        "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
            </dev/null >>"$log" 2>&1 9>&-
        # Wine draws the title bar's buttons with Marlett; without it they
        # come out as the letters "0 1 r". Debian keeps it outside the prefix.
        cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>>"$log"
        "$wineserver" -w 9>&-
        touch "$WINEPREFIX/.winrun-ready"
    fi
    # A persistent server makes each later start cost milliseconds, not tenths.
    "$wineserver" -p </dev/null >>"$log" 2>&1 9>&-
    flock -u 9
    exec 9>&-
}

cleanup() {
    if [ -d "$WINEPREFIX" ]; then
        "$wineserver" -k >/dev/null 2>&1
        "$wineserver" -w >/dev/null 2>&1
    fi
    if xvfb_alive; then
        kill "$(cat "$state/xvfb.pid")" 2>/dev/null
    fi
    rm -f "$state/xvfb.pid" "$state/display"
}

case "$mode" in
    setup) setup; exit 0 ;;
    cleanup) cleanup; exit 0 ;;
esac

[ $# -gt 0 ] || { echo "winrun: no program given" >&2; exit 2; }
setup
# The program's output goes through a file: Wine's background processes
# inherit it, and a pipe they hold open would keep the caller waiting forever.
out=$(mktemp "$state/run.XXXXXX")
timeout -k 5 "${WINRUN_TIMEOUT:-300}" "$wine" "$@" </dev/null >"$out" 2>&1
rc=$?
cat "$out"
rm -f "$out"
exit $rc
