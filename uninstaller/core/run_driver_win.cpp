#include "core/run_driver_win.h"

#include <windows.h>
#include <commdlg.h>

#include <cstring>

#include "common/safe_text.h"
#include "core/run_state.h"
#include "core/run_windows.h"
#include "ui/message_text.h"

namespace {

// Asks the user for the log with the open-file dialog when the command line
// named none; a cancelled dialog leaves logPath empty.
void FindLog() {
    if (logPath[0] == '\0') {
        // The filter is the description and the pattern, each terminated,
        // then an empty entry.
        char filter[128] = {};
        LoadMessageText(1, filter, sizeof filter - 16);
        std::size_t descriptionLength = std::strlen(filter);
        std::memcpy(filter + descriptionLength + 1, "install.log", sizeof "install.log");

        char fileName[256];
        SafeCopy(fileName, "INSTALL.LOG");
        OPENFILENAMEA dialog = {};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = backgroundWindow;
        dialog.lpstrFilter = filter;
        dialog.lpstrFile = fileName;
        dialog.nMaxFile = sizeof fileName;
        dialog.Flags = OFN_FILEMUSTEXIST;
        if (GetOpenFileNameA(&dialog)) {
            SafeCopy(logPath, fileName);
        }
    } else if (std::strchr(logPath, '\\') == nullptr) {
        char fullPath[256];
        GetCurrentDirectoryA(sizeof fullPath, fullPath);
        SafeAppend(fullPath, "\\");
        SafeAppend(fullPath, logPath);
        SafeCopy(logPath, fullPath);
    }
}

// Every run ends here: the windows go, and the quit message's code becomes
// the exit code.
int EndRun() {
    DestroyWindow(backgroundWindow);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

} // namespace

int RunDriver() {
    FindLog();
    // Reading and undoing the log come here.
    return EndRun();
}
