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
HWND WaitForTopLevelWindow(DWORD pid, const char* className, const char* caption, DWORD timeoutMs);

// The direct or indirect child of `parent` with control id `id`, or nullptr.
HWND FindControl(HWND parent, int id);

// Clicks a button without waiting for its handler (PostMessage of BM_CLICK):
// the handler may show a message box the test must answer.
void Click(HWND button);
// Clicks and waits until the handler returned; false after timeoutMs.
bool ClickAndWait(HWND button, DWORD timeoutMs);

// Selects item `index` of a combo box and tells its parent, as a user's
// choice would (CB_SETCURSEL, then WM_COMMAND with CBN_SELCHANGE). Returns
// when the parent's handler has returned; false when it did not within timeoutMs.
bool SelectComboItem(HWND combo, int index, DWORD timeoutMs = 10000);

// Texts of another process's controls, in the system's ANSI code page.
// A control that does not answer within a few seconds reads as empty.
std::string GetText(HWND window);
// Replaces a control's text (WM_SETTEXT) as typing would; false when the
// control did not take it within a few seconds.
bool SetText(HWND window, const std::string& text);
std::vector<std::string> GetComboItems(HWND combo);
int GetComboSelection(HWND combo); // CB_ERR when nothing is selected
std::string GetStatusBarText(HWND statusBar, int part);
bool IsEnabled(HWND window);
bool IsChecked(HWND checkBox);

// A message box (dialog class "#32770") of process `pid`. Any other dialog
// of that class matches too; its text is then empty.
struct MessageBoxInfo {
    HWND window = nullptr;
    std::string caption;
    std::string text;
};
// Waits for a message box of the process; false after timeoutMs.
bool WaitForMessageBox(DWORD pid, DWORD timeoutMs, MessageBoxInfo* box);
// Presses the box's button `buttonId` (IDOK, IDYES, ...) and waits until the
// box is gone; false when it still shows after timeoutMs.
bool AnswerMessageBox(const MessageBoxInfo& box, int buttonId, DWORD timeoutMs = 5000);

// Saves the window as it is on screen (frame included) as a 24-bit BMP.
bool SaveScreenshot(HWND window, const std::string& bmpPath);

// Pumps this process's messages for about `ms` milliseconds.
void Sleep(DWORD ms);

// Test services (the fixture testsvc.exe) in the Service Control Manager.
// Services are machine-wide in the prefix: give each test its own name.
//
// Creates (or re-creates) service `name` running `exePath` with demand start.
bool InstallService(const std::string& name, const std::string& displayName,
                    const std::string& exePath);
// Ends the service in whatever state it is (a test service that refuses stop
// or hangs in a pending state included), then deletes it. True when the
// service is gone, also when it never existed.
bool RemoveService(const std::string& name);
// A service installed for the lifetime of the object and removed with it,
// so that a test that stops early leaves nothing running.
class ScopedService {
public:
    ScopedService(std::string name, const std::string& displayName, const std::string& exePath);
    ScopedService(const ScopedService&) = delete;
    ScopedService& operator=(const ScopedService&) = delete;
    ~ScopedService();

    bool Installed() const { return installed_; }
    const std::string& Name() const { return name_; }

private:
    std::string name_;
    bool installed_;
};
// StartServiceA with `arguments` as argv[1..]; false with the SCM's last
// error when refused. Does not wait.
bool StartServiceByName(const std::string& name, const std::vector<std::string>& arguments = {});
// ControlService with `control` (SERVICE_CONTROL_STOP ...); false with the
// SCM's last error when refused. Does not wait.
bool ControlServiceByName(const std::string& name, DWORD control);
// The current status; false when the service cannot be queried.
bool QueryServiceStatusByName(const std::string& name, SERVICE_STATUS* status);
// Current state code (SERVICE_RUNNING ...), 0 when it cannot be queried.
DWORD QueryServiceState(const std::string& name);
// Waits until the service is in `state`; false after timeoutMs.
bool WaitForServiceState(const std::string& name, DWORD state, DWORD timeoutMs);

// The test service's behaviour options and records live as values of
// HKLM\SYSTEM\CurrentControlSet\Services\<name>\Parameters (see
// tests/fixtures/test_service.cpp for the names and their meaning).
bool SetServiceParameter(const std::string& name, const std::string& valueName, DWORD value);
// The start arguments the test service recorded at its last start; false
// when it has not recorded any start yet.
bool ReadServiceStartArguments(const std::string& name, std::vector<std::string>* arguments);
// The user-defined control that makes the test service report stopped at
// once, whatever its options say.
const DWORD kEndTestServiceControl = 128;
// The key under HKEY_LOCAL_MACHINE of the test service's options and records.
inline std::string TestServiceParametersKey(const std::string& name) {
    return "SYSTEM\\CurrentControlSet\\Services\\" + name + "\\Parameters";
}

// The folder of the running test program, with a trailing backslash.
std::string ProgramDirectory();

// The Windows path under which Wine shows the Unix path of a build artefact
// ("/a/b" is "Z:\a\b"); a path that is already a Windows path stays as it is.
std::string WindowsPath(const std::string& unixPath);

} // namespace e2e
