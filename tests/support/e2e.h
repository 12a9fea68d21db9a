#pragma once
// Driving real programs as a user would: start them, find their windows and
// controls, click, select, read texts, answer message boxes, take pictures.
// Everything works across processes under Wine.

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// A started program; terminates it in the destructor if it still runs.
class Program {
public:
    Program() = default;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    Program(Program&& other) noexcept;
    Program& operator=(Program&& other) noexcept;
    ~Program();

    // Starts `exePath` with the command-line tail `arguments` (may be empty)
    // in `workingDirectory` (empty: the current one). Check Started().
    static Program Start(const std::string& exePath, const std::string& arguments,
                         const std::string& workingDirectory = "");

    bool Started() const { return process_ != nullptr; }
    DWORD Pid() const { return pid_; }
    HANDLE Handle() const { return process_; }

    // Waits for the process to end; true and its exit code when it ended in time.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr);
    void Terminate();

private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

// Waits for a visible top-level window of process `pid` whose class (when not
// null) and caption (when not null) match exactly; nullptr after timeoutMs.
HWND WaitForTopLevelWindow(DWORD pid, const char* className, const char* caption,
                           DWORD timeoutMs);

// The direct or indirect child of `parent` with control id `id`, or nullptr.
HWND FindControl(HWND parent, int id);

// Clicks a button without waiting for its handler (PostMessage of BM_CLICK):
// the handler may show a message box the test must answer.
void Click(HWND button);
// Clicks and waits until the handler returned; false after timeoutMs.
bool ClickAndWait(HWND button, DWORD timeoutMs);

// Selects item `index` of a combo box and tells its parent, as a user's
// choice would (CB_SETCURSEL, then WM_COMMAND with CBN_SELCHANGE).
void SelectComboItem(HWND combo, int index, DWORD timeoutMs = 10000);

// Texts of another process's controls.
std::string GetText(HWND window);
std::vector<std::string> GetComboItems(HWND combo);
int GetComboSelection(HWND combo);
std::string GetStatusBarText(HWND statusBar, int part);
bool IsEnabled(HWND window);
bool IsChecked(HWND checkBox);

// A message box (dialog class "#32770") of process `pid`.
struct MessageBoxInfo {
    HWND window = nullptr;
    std::string caption;
    std::string text;
};
// Waits for a message box of the process; false after timeoutMs.
bool WaitForMessageBox(DWORD pid, DWORD timeoutMs, MessageBoxInfo* box);
// Presses the box's button `buttonId` (IDOK, IDYES, ...).
void AnswerMessageBox(const MessageBoxInfo& box, int buttonId);

// Saves the window as it is on screen (frame included) as a 24-bit BMP.
bool SaveScreenshot(HWND window, const std::string& bmpPath);

// Pumps this process's messages for about `ms` milliseconds.
void Sleep(DWORD ms);

// Test services (the fixture testsvc.exe) in the Service Control Manager.
// Creates (or re-creates) service `name` running `exePath` with demand start.
bool InstallService(const std::string& name, const std::string& displayName,
                    const std::string& exePath);
bool RemoveService(const std::string& name); // stops it first when running
// Current state code (SERVICE_RUNNING ...), 0 when it cannot be queried.
DWORD QueryServiceState(const std::string& name);
// Waits until the service is in `state`; false after timeoutMs.
bool WaitForServiceState(const std::string& name, DWORD state, DWORD timeoutMs);

// The folder of the running test program, with a trailing backslash.
std::string ProgramDirectory();

} // namespace e2e
