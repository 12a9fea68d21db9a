#pragma once
#include <windows.h>

// Start-up of a run: platform facts, the program's paths, the log path from
// the command line, the settings, the window class and the background
// window. False when the run must end at once (exit code 0).
bool StartUp(HINSTANCE instance, const char* commandLine);
