#pragma once
// The wait window: shown while a service command waits for its target state
// longer than a moment, it says what is awaited and offers Cancel (and Esc).

#include <windows.h>

#include <functional>
#include <string>

#include "common/object_window.h"
#include "common/win_handle.h"

class TdlgServices {
public:
    // Creates the window hidden, owned by `owner` so that it stays above it.
    // `onCancel` runs when the user presses Cancel or Esc or closes the window.
    // The window goes with its owner.
    bool Create(HINSTANCE instance, HWND owner, std::function<void()> onCancel);

    HWND Handle() const { return handle_; }
    bool IsShown() const { return IsWindowVisible(handle_) != FALSE; }

    // Shows the window saying `text`; nothing to do when it already does.
    void ShowWait(const std::string& text);
    void HideWait();

private:
    friend LRESULT CALLBACK ObjectWindowProc<TdlgServices>(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void LayOut();

    HWND handle_ = nullptr;
    HWND text_ = nullptr;
    std::string shownText_;
    HWND BitBtn1_ = nullptr; // Cancel
    win::unique_hgdiobj font_;
    std::function<void()> onCancel_;
};
