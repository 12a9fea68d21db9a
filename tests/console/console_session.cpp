#include "console_session.h"

#include <commctrl.h>

#include <cstring>

#include "common/win_handle.h"
#include "quorcon_ids.h"

namespace console_test {

namespace {

const char kConfigurationKey[] = "SOFTWARE\\Orvalinth\\Quorvel";
const int kPictureWidth = 55;
const int kPictureHeight = 64;
const int kPictureCount = 5;

using Pixels = std::vector<DWORD>; // 0x00RRGGBB, top row first

Pixels ReadPixels(HDC dc, HBITMAP bitmap, int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    Pixels pixels(static_cast<size_t>(width) * height);
    GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
    for (DWORD& pixel : pixels) {
        pixel &= 0xFFFFFF;
    }
    return pixels;
}

// The pictures as the window must show them: the artwork in quorcon.exe over
// the face colour where the artwork is transparent.
std::vector<Pixels> ExpectedPictures() {
    win::unique_hmodule module(
        LoadLibraryExA(QuorconPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    win::unique_hgdiobj strip(LoadImageA(module.get(), MAKEINTRESOURCEA(IDB_STATE_PICTURES),
                                         IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    HDC screen = GetDC(nullptr);
    Pixels all = ReadPixels(screen, static_cast<HBITMAP>(strip.get()),
                            kPictureWidth * kPictureCount, kPictureHeight);
    ReleaseDC(nullptr, screen);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const DWORD faceRgb = (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
    std::vector<Pixels> pictures(kPictureCount);
    for (int index = 0; index < kPictureCount; ++index) {
        for (int y = 0; y < kPictureHeight; ++y) {
            for (int x = 0; x < kPictureWidth; ++x) {
                DWORD pixel = all[static_cast<size_t>(y) * kPictureWidth * kPictureCount +
                                  index * kPictureWidth + x];
                pictures[index].push_back(pixel == 0xFF00FF ? faceRgb : pixel);
            }
        }
    }
    return pictures;
}

Pixels CaptureScreen(const RECT& area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    HDC screen = GetDC(nullptr);
    win::unique_hdc memory(CreateCompatibleDC(screen));
    win::unique_hgdiobj bitmap(CreateCompatibleBitmap(screen, width, height));
    HGDIOBJ previous = SelectObject(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    SelectObject(memory.get(), previous);
    Pixels pixels = ReadPixels(screen, static_cast<HBITMAP>(bitmap.get()), width, height);
    ReleaseDC(nullptr, screen);
    return pixels;
}

} // namespace

std::string QuorconPath() {
    return e2e::WindowsPath(QUORCON_EXE);
}
std::string TestServicePath() {
    return e2e::WindowsPath(TESTSVC_EXE);
}

void SetConfiguredServices(const std::string& text) {
    win::unique_hkey key;
    RegCreateKeyExA(HKEY_CURRENT_USER, kConfigurationKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                    key.put(), nullptr);
    RegSetValueExA(key.get(), "Services", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
}

void DeleteConfiguredServices() {
    win::unique_hkey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kConfigurationKey, 0, KEY_SET_VALUE, key.put()) ==
        ERROR_SUCCESS) {
        RegDeleteValueA(key.get(), "Services");
    }
}

void ClearStoredSettings() {
    RegDeleteKeyA(HKEY_CURRENT_USER, kStoredSettingsKey);
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\quorcon\\SOFTWARE\\Orvalinth");
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\quorcon\\SOFTWARE");
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\quorcon");
}

std::string ComputerName() {
    win::unique_hkey key;
    char name[256] = {};
    DWORD size = sizeof name - 1;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE,
                      "SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName", 0,
                      KEY_QUERY_VALUE, key.put()) == ERROR_SUCCESS &&
        RegQueryValueExA(key.get(), "ComputerName", nullptr, nullptr, reinterpret_cast<BYTE*>(name),
                         &size) == ERROR_SUCCESS) {
        return name;
    }
    size = sizeof name - 1;
    GetComputerNameA(name, &size);
    return name;
}

std::string ErrorBoxText(DWORD code) {
    char text[256] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                   text, sizeof text, nullptr);
    std::string reason = text;
    while (!reason.empty() &&
           (static_cast<unsigned char>(reason.back()) <= 32 || reason.back() == '.')) {
        reason.pop_back();
    }
    return "Error trying to peform the specified action.\rError Message: " + reason + ".";
}

TestService::TestService(const std::string& name, const std::string& displayName)
    : scoped_(name, displayName, TestServicePath()) {}

bool TestService::Set(const char* option, DWORD value) const {
    return e2e::SetServiceParameter(Name(), option, value);
}

bool TestService::StartAndWait(DWORD state, const std::vector<std::string>& arguments) const {
    return e2e::StartServiceByName(Name(), arguments) &&
           e2e::WaitForServiceState(Name(), state, kStateMs);
}

bool TestService::ControlAndWait(DWORD control, DWORD state) const {
    return e2e::ControlServiceByName(Name(), control) &&
           e2e::WaitForServiceState(Name(), state, kStateMs);
}

DWORD TestService::StartType() const {
    win::unique_schandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    win::unique_schandle service(OpenServiceA(manager.get(), Name().c_str(), SERVICE_QUERY_CONFIG));
    std::vector<BYTE> buffer(8192);
    DWORD needed = 0;
    if (!service ||
        !QueryServiceConfigA(service.get(), reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data()),
                             static_cast<DWORD>(buffer.size()), &needed)) {
        return 0xFFFFFFFF;
    }
    return reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data())->dwStartType;
}

bool TestService::SetStartType(DWORD startType) const {
    win::unique_schandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    win::unique_schandle service(
        OpenServiceA(manager.get(), Name().c_str(), SERVICE_CHANGE_CONFIG));
    return service &&
           ChangeServiceConfigA(service.get(), SERVICE_NO_CHANGE, startType, SERVICE_NO_CHANGE,
                                nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
}

Console::Console(const std::string& arguments)
    : program_(e2e::Program::Start(QuorconPath(), arguments)) {}

bool Console::WaitForMainWindow() {
    window_ = e2e::WaitForTopLevelWindow(program_.Pid(), "TfrmMain", "Quorvel", kWindowMs);
    return window_ != nullptr;
}

std::string Console::Status() const {
    return e2e::GetStatusBarText(Control(IDC_STATUSBAR), 0);
}

std::vector<std::string> Console::Items() const {
    return e2e::GetComboItems(Control(IDC_SERVICES));
}

int Console::Selection() const {
    return e2e::GetComboSelection(Control(IDC_SERVICES));
}

bool Console::WaitForStatus(const std::string& expected, DWORD timeoutMs) const {
    const DWORD start = GetTickCount();
    while (Status() != expected) {
        if (GetTickCount() - start >= timeoutMs) {
            return false;
        }
        e2e::Sleep(20);
    }
    return true;
}

std::string Console::StatusFor(const std::string& service, const std::string& word) {
    return ComputerName() + " - " + service + " - " + word;
}

int Console::ShownPicture() const {
    static const std::vector<Pixels> expected = ExpectedPictures();
    SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    HWND picture = Control(IDC_STATE_PICTURE);
    RedrawWindow(picture, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
    e2e::Sleep(150);
    RECT area = {};
    GetWindowRect(picture, &area);
    if (area.right - area.left != kPictureWidth || area.bottom - area.top != kPictureHeight) {
        return -1;
    }
    const Pixels shown = CaptureScreen(area);
    // Picture 3 is drawn like 4 and never shown, so 4 is tried first.
    for (int index : {0, 1, 2, 4}) {
        if (shown == expected[static_cast<size_t>(index)]) {
            return index;
        }
    }
    return -1;
}

bool Console::ClickAndWait(int id, DWORD timeoutMs) const {
    return e2e::ClickAndWait(Control(id), timeoutMs);
}

bool Console::Close() {
    PostMessageA(window_, WM_CLOSE, 0, 0);
    DWORD exitCode = 1;
    return program_.WaitForExit(kWindowMs, &exitCode) && exitCode == 0;
}

e2e::MessageBoxInfo AnswerNextBox(const Console& console, DWORD timeoutMs) {
    e2e::MessageBoxInfo box;
    if (e2e::WaitForMessageBox(console.Pid(), timeoutMs, &box)) {
        e2e::AnswerMessageBox(box, IDOK);
    }
    return box;
}

} // namespace console_test
