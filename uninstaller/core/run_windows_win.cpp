#include "core/run_windows.h"

HWND backgroundWindow;
HWND startupProgressWindow;
