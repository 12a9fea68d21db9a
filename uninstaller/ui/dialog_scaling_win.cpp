#include "ui/dialog_scaling.h"

#include "common/safe_text.h"
#include "core/run_state.h"

HFONT dialogFont;
HFONT boldDialogFont;

namespace {

constexpr LONG kDialogFontWeight = 300;
constexpr LONG kBoldFontWeight = 700;

// Both edges move outward by a sixth of their distance from the origin, so
// the width grows by a sixth; the dialogs centre themselves afterwards.
void WidenBySixth(HWND window, RECT rect) {
    const LONG left = rect.left + rect.left / 6;
    const LONG right = rect.right + rect.right / 6;
    MoveWindow(window, left, rect.top, right - left, rect.bottom - rect.top, FALSE);
}

int ScreenPixelsPerInchY(HWND dialog) {
    HDC screen = GetDC(dialog);
    const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(dialog, screen);
    return pixelsPerInch;
}

void MakeDialogFonts(HWND dialog, HFONT templateFont) {
    LOGFONTA description;
    if (GetObjectA(templateFont, sizeof description, &description) != sizeof description) {
        return;
    }
    description.lfWeight = kDialogFontWeight;
    description.lfCharSet = textFontCharset;
    description.lfHeight = -MulDiv(textFontSize, ScreenPixelsPerInchY(dialog), 72);
    if (textFontName[0] != '\0') {
        // A face name holds 31 characters; the setting may be longer.
        SafeCopy(description.lfFaceName, textFontName);
    }
    dialogFont = CreateFontIndirectA(&description);
    if (boldDialogFont == nullptr) {
        description.lfWeight = kBoldFontWeight;
        boldDialogFont = CreateFontIndirectA(&description);
    }
}

} // namespace

void ScaleDialog(HWND dialog) {
    RECT dialogRect;
    if (!GetWindowRect(dialog, &dialogRect)) {
        return;
    }
    WidenBySixth(dialog, dialogRect);

    const auto templateFont = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    if (templateFont == nullptr) {
        return;
    }
    if (dialogFont == nullptr) {
        MakeDialogFonts(dialog, templateFont);
    }
    if (dialogFont == nullptr) {
        return;
    }
    // Only the dialog's own controls: a control's inner windows (a combo
    // box's edit field) follow their control.
    for (HWND control = GetWindow(dialog, GW_CHILD); control != nullptr;
         control = GetWindow(control, GW_HWNDNEXT)) {
        RECT rect;
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
        WidenBySixth(control, rect);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont), FALSE);
    }
}
