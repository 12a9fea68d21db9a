#include "dlgAbout_u.h"

#include <cstdio>
#include <vector>

#include "quorcon_ids.h"

namespace {

const int kClientWidth = 294;
const int kClientHeight = 132;

// The box is laid out in pixels, not dialog units, so that it looks the same
// whatever font the system substitutes.
struct ControlPlace {
    int id;
    int left, top, width, height;
};
const ControlPlace kPlaces[] = {
    {IDC_ABOUT_NAME, 30, 13, 218, 19},
    {IDC_ABOUT_VERSION, 30, 27, 218, 16},
    {IDC_ABOUT_COPYRIGHT, 30, 54, 218, 16},
    {IDC_ABOUT_COMMENTS, 30, 41, 218, 16},
    // The separator is the bottom line of its 273 x 6 place.
    {IDC_ABOUT_BEVEL, 12, 83, 273, 2},
    {IDOK, 102, 98, 75, 25},
};

std::string QueryVersionString(const std::vector<BYTE>& data, const char* subBlock) {
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), subBlock, &value, &length) || value == nullptr ||
        length == 0) {
        return "";
    }
    // The length counts the terminator; the text ends at the first zero.
    const char* text = static_cast<const char*>(value);
    std::string result(text, length);
    return result.substr(0, result.find('\0'));
}

void PlaceControls(HWND dialog) {
    for (const ControlPlace& place : kPlaces) {
        SetWindowPos(GetDlgItem(dialog, place.id), nullptr, place.left, place.top, place.width,
                     place.height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT frame = {0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(dialog, GWL_EXSTYLE)));
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    // Centred on the owner.
    RECT owner = {};
    GetWindowRect(GetWindow(dialog, GW_OWNER), &owner);
    SetWindowPos(dialog, nullptr, owner.left + (owner.right - owner.left - width) / 2,
                 owner.top + (owner.bottom - owner.top - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// The labels are designed 218 pixels wide for the classic 8-point font; one
// whose text is wider in the face the system substitutes grows about its
// centre, within the box, instead of wrapping into its neighbours.
void FitLabelToText(HWND dialog, int id) {
    HWND label = GetDlgItem(dialog, id);
    RECT place = {};
    GetWindowRect(label, &place);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
    char text[256] = {};
    GetWindowTextA(label, text, sizeof text);
    HDC dc = GetDC(label);
    HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(label, WM_GETFONT, 0, 0)));
    SIZE extent = {};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &extent);
    SelectObject(dc, previous);
    ReleaseDC(label, dc);
    const int margin = 2;
    const int needed = extent.cx + 4;
    if (needed <= place.right - place.left) {
        return;
    }
    const int width = needed < kClientWidth - 2 * margin ? needed : kClientWidth - 2 * margin;
    int left = (place.left + place.right - width) / 2;
    if (left < margin) {
        left = margin;
    }
    if (left + width > kClientWidth - margin) {
        left = kClientWidth - margin - width;
    }
    SetWindowPos(label, nullptr, left, place.top, width, place.bottom - place.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// FormCreate of the box: fill the labels from the running program file.
void FormCreate(HWND dialog) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const TAboutTexts texts = ReadAboutTexts(path);
    SetDlgItemTextA(dialog, IDC_ABOUT_NAME, texts.ProductName.c_str());
    SetDlgItemTextA(dialog, IDC_ABOUT_VERSION, texts.FileVersion.c_str());
    SetDlgItemTextA(dialog, IDC_ABOUT_COPYRIGHT, texts.LegalCopyright.c_str());
    SetDlgItemTextA(dialog, IDC_ABOUT_COMMENTS, texts.Comments.c_str());
    for (int id : {IDC_ABOUT_NAME, IDC_ABOUT_VERSION, IDC_ABOUT_COPYRIGHT, IDC_ABOUT_COMMENTS}) {
        FitLabelToText(dialog, id);
    }
}

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        PlaceControls(dialog);
        FormCreate(dialog);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

TAboutTexts ReadAboutTexts(const std::string& programPath) {
    TAboutTexts texts;
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(programPath.c_str(), &ignored);
    if (size == 0) {
        return texts;
    }
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoA(programPath.c_str(), 0, size, data.data())) {
        return texts;
    }
    void* translations = nullptr;
    UINT length = 0;
    if (VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", &translations, &length) &&
        length >= 2 * sizeof(WORD)) {
        const WORD* first = static_cast<const WORD*>(translations);
        char prefix[64];
        std::snprintf(prefix, sizeof prefix, "\\StringFileInfo\\%04x%04x\\", first[0], first[1]);
        const std::string table = prefix;
        texts.ProductName = QueryVersionString(data, (table + "ProductName").c_str());
        texts.FileVersion = QueryVersionString(data, (table + "FileVersion").c_str());
        texts.LegalCopyright = QueryVersionString(data, (table + "LegalCopyright").c_str());
        texts.Comments = QueryVersionString(data, (table + "Comments").c_str());
    }
    void* fixedData = nullptr;
    if (texts.FileVersion.empty() && VerQueryValueA(data.data(), "\\", &fixedData, &length) &&
        length >= sizeof(VS_FIXEDFILEINFO)) {
        const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(fixedData);
        char version[64];
        std::snprintf(version, sizeof version, "%u.%u.%u.%u",
                      static_cast<unsigned>(HIWORD(fixed->dwFileVersionMS)),
                      static_cast<unsigned>(LOWORD(fixed->dwFileVersionMS)),
                      static_cast<unsigned>(HIWORD(fixed->dwFileVersionLS)),
                      static_cast<unsigned>(LOWORD(fixed->dwFileVersionLS)));
        texts.FileVersion = version;
    }
    return texts;
}

void ShowAboutBox(HINSTANCE instance, HWND owner) {
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutProc, 0);
}
