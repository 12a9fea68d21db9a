// Deletes itself at the next restart, then restarts the system.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char ownPath[260] = {};
    DWORD length = GetModuleFileNameA(nullptr, ownPath, sizeof ownPath);
    if (length > 0 && length < sizeof ownPath) {
        MoveFileExA(ownPath, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING);
    }

    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
        return 0;
    }
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    BOOL found =
        LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid);
    // AdjustTokenPrivileges returns TRUE also when it could not assign the
    // privilege; only ERROR_SUCCESS afterwards means it is really enabled.
    bool enabled = found && AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) &&
                   GetLastError() == ERROR_SUCCESS;
    CloseHandle(token);
    if (enabled) {
        ExitWindowsEx(EWX_REBOOT, 0);
    }
    return 0;
}
