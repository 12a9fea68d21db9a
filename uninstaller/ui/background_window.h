#pragma once
#include <windows.h>

// The uninstaller's main top-level window: it carries the caption, ends the
// last message loop when destroyed, and receives the pump's timer.
extern "C" LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Registers the window class "QMTRUninstall"; false when registration failed.
bool RegisterBackgroundClass(HINSTANCE instance);

// Creates the (still hidden) background window; nullptr on failure.
HWND CreateBackgroundWindow(HINSTANCE instance);
