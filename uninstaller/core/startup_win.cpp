#include "core/startup_win.h"

#include <cstring>

#include "common/safe_text.h"
#include "core/run_state.h"
#include "core/run_windows.h"
#include "core/settings.h"
#include "engine/files.h"
#include "status/platform.h"
#include "ui/background_window.h"

namespace {

void SetProgramPaths() {
    char modulePath[256] = {};
    GetModuleFileNameA(nullptr, modulePath, sizeof modulePath - 1);
    SafeCopy(ownProgramPath, modulePath);
    if (std::strchr(ownProgramPath, '~') != nullptr) {
        NormalizePath(ownProgramPath, true);
    }
    // The settings file sits beside the program as the system reports it.
    SafeCopy(settingsPath, modulePath);
    std::size_t length = std::strlen(settingsPath);
    if (length >= 3) {
        std::memcpy(settingsPath + length - 3, "INI", 3);
    }
}

// The log path: a quoted path runs to the last double quote, an unquoted
// one to the first blank; what follows is the window title. With no command
// line it is INSTALL.LOG beside the program, when present.
void SplitCommandLine(const char* commandLine) {
    char line[256];
    SafeCopy(line, commandLine);
    char* path = line;
    while (*path == ' ') {
        ++path;
    }
    char* title = nullptr;
    if (*path == '"') {
        ++path;
        if (char* closing = std::strrchr(path, '"')) {
            *closing = '\0';
            title = closing + 1;
        }
    } else if (char* blank = std::strchr(path, ' ')) {
        *blank = '\0';
        title = blank + 1;
    }
    if (title != nullptr) {
        while (*title == ' ' || *title == '"') {
            ++title;
        }
        std::size_t length = std::strlen(title);
        if (length > 0 && title[length - 1] == '"') {
            title[length - 1] = '\0';
        }
        SafeCopy(commandLineTitle, title);
    }
    if (*path != '\0') {
        SafeCopy(logPath, path);
        return;
    }
    char besideProgram[256];
    SafeCopy(besideProgram, settingsPath);
    NormalizePath(besideProgram, false);
    if (char* lastSlash = std::strrchr(besideProgram, '\\')) {
        lastSlash[1] = '\0';
        SafeAppend(besideProgram, "INSTALL.LOG");
        if (GetFileAttributesA(besideProgram) != INVALID_FILE_ATTRIBUTES) {
            SafeCopy(logPath, besideProgram);
        }
    }
}

} // namespace

bool StartUp(HINSTANCE instance, const char* commandLine) {
    DetectPlatform();
    SetProgramPaths();
    SplitCommandLine(commandLine);
    ReadSettings();
    // A missing floppy disk must not bring up the system's own message box.
    SetErrorMode(SEM_FAILCRITICALERRORS);
    faceColour = GetSysColor(COLOR_BTNFACE);

    if (!RegisterBackgroundClass(instance)) {
        return false;
    }
    backgroundWindow = CreateBackgroundWindow(instance);
    if (backgroundWindow == nullptr) {
        return false;
    }
    if (commandLineTitle[0] != '\0') {
        SetWindowTextA(backgroundWindow, commandLineTitle);
    }
    if (noBackground == 0) {
        ShowWindow(backgroundWindow, SW_SHOWMAXIMIZED);
    }
    UpdateWindow(backgroundWindow);
    return true;
}
