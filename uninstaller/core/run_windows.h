#pragma once
// The two windows start-up creates, shared across the uninstaller.
#include <windows.h>

extern HWND backgroundWindow;
extern HWND startupProgressWindow; // while the start-up progress dialog exists
