// Sweepback's entry: start-up, then the run, whose final message loop gives
// the exit code.
#include <windows.h>

#include "core/run_driver_win.h"
#include "core/startup_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    if (!StartUp(instance, commandLine)) {
        return 0;
    }
    return RunDriver();
}
