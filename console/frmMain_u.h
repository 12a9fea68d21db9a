#pragma once
#include <windows.h>

// The console's only working window.
class TfrmMain {
public:
    // Registers the window class and creates the window; false on failure.
    bool Create(HINSTANCE instance);
    HWND Handle() const { return handle_; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    HWND handle_ = nullptr;
};
