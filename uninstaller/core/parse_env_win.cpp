#include "core/parse_env_win.h"

#include "core/run_windows.h"
#include "engine/files.h"
#include "ui/message_text.h"

#include "common/win_handle.h"

namespace {

// The start-up progress dialog's bar (dialog template 112).
constexpr int ProgressBarControl = 3830;

const char SharedFilesKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const char ShellFoldersKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// A directory that did not fit the buffer gives an empty text, never a cut path.
void KeepOnlyWhole(UINT length, char* buffer, std::size_t size) {
    if (length == 0 || length >= size) {
        buffer[0] = '\0';
    }
}

} // namespace

LogByteSource* WindowsParseEnvironment::OpenLog(const char* path) {
    log_ = std::make_unique<LogFileSource>(path);
    if (!log_->IsOpen()) {
        log_.reset();
    }
    return log_.get();
}

std::int32_t WindowsParseEnvironment::LogSize() {
    return log_ != nullptr ? log_->Size() : 0;
}

void WindowsParseEnvironment::CloseLog() {
    log_.reset();
}

bool WindowsParseEnvironment::IsRemovableDrive(char letter) {
    char root[] = "?:\\";
    root[0] = letter;
    return GetDriveTypeA(root) == DRIVE_REMOVABLE;
}

void WindowsParseEnvironment::WindowsDirectory(char* buffer, std::size_t size) {
    KeepOnlyWhole(GetWindowsDirectoryA(buffer, static_cast<UINT>(size)), buffer, size);
}

void WindowsParseEnvironment::SystemDirectory(char* buffer, std::size_t size) {
    KeepOnlyWhole(GetSystemDirectoryA(buffer, static_cast<UINT>(size)), buffer, size);
}

bool WindowsParseEnvironment::FileExists(const char* path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

void WindowsParseEnvironment::NormalizePath(char* path, std::size_t size, bool toLong) {
    ::NormalizePath(path, size, toLong);
}

// Read access is all a lookup needs; asking for more would make the lookup
// fail for a user who may not change the machine's counts.
bool WindowsParseEnvironment::IsCountedSharedFile(const char* path) {
    win::unique_hkey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, SharedFilesKey, 0, KEY_QUERY_VALUE, key.put()) !=
        ERROR_SUCCESS) {
        return false;
    }
    return RegQueryValueExA(key.get(), path, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool WindowsParseEnvironment::ReadStartMenuFolder(bool allUsers, char* buffer, std::size_t size) {
    win::unique_hkey key;
    if (RegOpenKeyExA(allUsers ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, ShellFoldersKey, 0,
                      KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) {
        return false;
    }
    // The value need not end in a zero byte, so one byte is kept for it.
    DWORD type = 0;
    DWORD length = static_cast<DWORD>(size - 1);
    if (RegQueryValueExA(key.get(), allUsers ? "Common Start Menu" : "Start Menu", nullptr, &type,
                         reinterpret_cast<BYTE*>(buffer), &length) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        buffer[0] = '\0';
        return false;
    }
    buffer[length] = '\0';
    return true;
}

bool WindowsParseEnvironment::MayManageServices() {
    win::unique_schandle manager(
        OpenSCManagerA(nullptr, nullptr, GENERIC_READ | GENERIC_WRITE | GENERIC_EXECUTE));
    return static_cast<bool>(manager);
}

void WindowsParseEnvironment::ConvertOemToAnsi(char* text) {
    OemToCharA(text, text);
}

const char* WindowsParseEnvironment::NextCharacter(const char* text) {
    return CharNextA(text);
}

bool WindowsParseEnvironment::ProgressShown() {
    return startupProgressWindow != nullptr;
}

// Only the bar's rectangle is invalidated, without erasing, and painted at once.
void WindowsParseEnvironment::RepaintProgressBar() {
    HWND bar = GetDlgItem(startupProgressWindow, ProgressBarControl);
    if (bar == nullptr) {
        return;
    }
    RECT area;
    GetWindowRect(bar, &area);
    MapWindowPoints(nullptr, startupProgressWindow, reinterpret_cast<POINT*>(&area), 2);
    InvalidateRect(startupProgressWindow, &area, FALSE);
    UpdateWindow(startupProgressWindow);
}

void WindowsParseEnvironment::CloseProgress() {
    DestroyWindow(startupProgressWindow);
    // Nobody may destroy or paint the dead handle later.
    startupProgressWindow = nullptr;
}

void WindowsParseEnvironment::ShowError(int textId, int captionId) {
    char text[512];
    char caption[256];
    LoadMessageText(textId, text, sizeof text);
    LoadMessageText(captionId, caption, sizeof caption);
    MessageBoxA(backgroundWindow, text, caption, MB_OK);
}

void WindowsParseEnvironment::SetBackgroundCaption(const char* title) {
    SetWindowTextA(backgroundWindow, title);
}
