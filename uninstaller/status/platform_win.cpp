#include "status/platform.h"
#include "status/platform_win.h"

#include "common/safe_text.h"
#include "common/win_handle.h"

#include <cstdio>

HMODULE shellLibrary;
ShellChangeNotifyProc shellChangeNotify;

void DetectPlatform() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    GetVersionExA(&version);
    isWindowsNT = version.dwPlatformId == VER_PLATFORM_WIN32_NT ? 1 : 0;
    if (version.dwMajorVersion >= 4) {
        hasNewShell = 1;
    }
    shellLibrary = LoadLibraryA("SHELL32.DLL");
    if (shellLibrary != nullptr) {
        shellChangeNotify = reinterpret_cast<ShellChangeNotifyProc>(
            reinterpret_cast<void*>(GetProcAddress(shellLibrary, "SHChangeNotify")));
    }
}

namespace {

// The line goes at the very end, so it joins the last section, which on a
// system that keeps WININIT.INI for us is its [rename] section. A file whose
// last line lacks its line end gets one first: otherwise our line would run
// into that entry and spoil both.
void AppendRenameLine(HANDLE file, const char* line) {
    DWORD written = 0;
    char last = '\n';
    DWORD read = 0;
    if (GetFileSize(file, nullptr) > 0 &&
        SetFilePointer(file, -1, nullptr, FILE_END) != INVALID_SET_FILE_POINTER &&
        ReadFile(file, &last, 1, &read, nullptr) && read == 1 && last != '\n') {
        SetFilePointer(file, 0, nullptr, FILE_END);
        WriteFile(file, "\r\n", 2, &written, nullptr);
    }
    SetFilePointer(file, 0, nullptr, FILE_END);
    WriteFile(file, line, static_cast<DWORD>(lstrlenA(line)), &written, nullptr);
}

void ScheduleInWininit(const char* path) {
    char line[512];
    int length = std::snprintf(line, sizeof(line), "NUL=%s\r\n", path);
    // A cut line would delete some other file: schedule nothing instead.
    if (length < 0 || static_cast<std::size_t>(length) >= sizeof(line)) {
        return;
    }
    static const char kFileName[] = "WININIT.INI";
    char wininit[256];
    UINT directoryLength = GetWindowsDirectoryA(wininit, sizeof(wininit));
    if (directoryLength == 0 || directoryLength + sizeof(kFileName) >= sizeof(wininit)) {
        return;
    }
    if (wininit[directoryLength - 1] != '\\') {
        SafeAppend(wininit, "\\");
    }
    SafeAppend(wininit, kFileName);
    win::unique_hfile file(CreateFileA(wininit, GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                       OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) {
        DWORD written = 0;
        WriteFile(file.get(), "[rename]\r\n", 10, &written, nullptr);
    }
    AppendRenameLine(file.get(), line);
}

} // namespace

void ScheduleDeleteAtRestart(const char* path) {
    if (isWindowsNT) {
        MoveFileExA(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    } else {
        ScheduleInWininit(path);
    }
}
