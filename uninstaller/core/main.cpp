// Sweepback's entry: start-up, the run, and the final message loop whose
// quit code is the process's exit code.
#include <windows.h>

#include "ui/background_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (!RegisterBackgroundClass(instance)) {
        return 0;
    }
    HWND background = CreateBackgroundWindow(instance);
    if (background == nullptr) {
        return 0;
    }
    UpdateWindow(background);

    // Nothing to undo yet: tear the window down and end the run.
    DestroyWindow(background);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
