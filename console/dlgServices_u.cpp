#include "dlgServices_u.h"

#include "quorcon_ids.h"

namespace {

const char kClassName[] = "TdlgServices";
const char kCaption[] = "Wait service action";
const int kLeft = 242;
const int kTop = 103;
const int kWidth = 567;
const int kHeight = 363;
const int kButtonWidth = 75;
const int kButtonHeight = 25;
const int kMargin = 16;

} // namespace

bool TdlgServices::Create(HINSTANCE instance, HWND owner, std::function<void()> onCancel) {
    onCancel_ = std::move(onCancel);
    if (!RegisterObjectWindowClass<TdlgServices>(instance, kClassName)) {
        return false;
    }
    handle_ = CreateWindowExA(WS_EX_DLGMODALFRAME, kClassName, kCaption,
                              WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, kLeft, kTop,
                              kWidth, kHeight, owner, nullptr, instance, this);
    if (handle_ == nullptr) {
        return false;
    }
    font_.reset(CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                            DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif"));
    text_ = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_CENTER, 0, 0, 0, 0, handle_,
                            reinterpret_cast<HMENU>(IDC_WAIT_TEXT), instance, nullptr);
    BitBtn1_ = CreateWindowExA(0, "BUTTON", "Cancel",
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0, 0, 0,
                               handle_, reinterpret_cast<HMENU>(IDCANCEL), instance, nullptr);
    SendMessageA(text_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    SendMessageA(BitBtn1_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    LayOut();
    return true;
}

void TdlgServices::ShowWait(const std::string& text) {
    if (IsShown() && text == shownText_) {
        return;
    }
    shownText_ = text;
    SetWindowTextA(text_, text.c_str());
    ShowWindow(handle_, SW_SHOW);
    SetFocus(BitBtn1_);
}

void TdlgServices::HideWait() {
    if (IsShown()) {
        ShowWindow(handle_, SW_HIDE);
        SetActiveWindow(GetWindow(handle_, GW_OWNER));
    }
}

void TdlgServices::LayOut() {
    RECT client = {};
    GetClientRect(handle_, &client);
    const int middle = client.bottom / 2;
    SetWindowPos(text_, nullptr, kMargin, middle - 3 * kButtonHeight / 2,
                 client.right - 2 * kMargin, 2 * kButtonHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(BitBtn1_, nullptr, (client.right - kButtonWidth) / 2, middle + kButtonHeight,
                 kButtonWidth, kButtonHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT TdlgServices::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        LayOut();
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) {
            onCancel_();
            return 0;
        }
        break;
    case WM_CLOSE:
        // Closing the window cancels the wait; the window itself lives on.
        onCancel_();
        return 0;
    default:
        break;
    }
    return DefWindowProcA(handle_, message, wParam, lParam);
}
