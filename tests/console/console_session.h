#pragma once
// A running quorcon.exe seen from outside: its controls, texts and pictures,
// and the registry values and services the tests prepare for it.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "e2e.h"

namespace console_test {

const DWORD kWindowMs = 15000;
const DWORD kStateMs = 15000;

std::string QuorconPath();
std::string TestServicePath();

// HKCU\SOFTWARE\Orvalinth\Quorvel value Services.
void SetConfiguredServices(const std::string& text);
void DeleteConfiguredServices();
// The whole stored-settings key of the console (HKCU\Software\quorcon).
void ClearStoredSettings();
const char kStoredSettingsKey[] = "Software\\quorcon\\SOFTWARE\\Orvalinth\\Services";

// The name the console shows for the local computer.
std::string ComputerName();

// The error box text for a system error code, as the console words it.
std::string ErrorBoxText(DWORD code);

// A service of the test fixture, removed again at the end of the test.
class TestService {
public:
    TestService(const std::string& name, const std::string& displayName);
    bool Installed() const { return scoped_.Installed(); }
    const std::string& Name() const { return scoped_.Name(); }
    bool Set(const char* option, DWORD value) const;
    // Starts it (with `arguments`) and waits until it is in `state`.
    bool StartAndWait(DWORD state, const std::vector<std::string>& arguments = {}) const;
    bool ControlAndWait(DWORD control, DWORD state) const;
    DWORD StartType() const;
    bool SetStartType(DWORD startType) const;

private:
    e2e::ScopedService scoped_;
};

class Console {
public:
    // Starts the console with the command-line tail `arguments`; check
    // Started(). Its main window is found by WaitForMainWindow.
    explicit Console(const std::string& arguments = "");
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    bool Started() const { return program_.Started(); }
    DWORD Pid() const { return program_.Pid(); }
    // Finds the main window and its controls; false when it does not show.
    bool WaitForMainWindow();

    HWND Window() const { return window_; }
    HWND Control(int id) const { return e2e::FindControl(window_, id); }

    std::string Status() const;
    std::vector<std::string> Items() const;
    int Selection() const;
    bool Enabled(int id) const { return e2e::IsEnabled(Control(id)); }
    // Polls the status line until it reads `expected`.
    bool WaitForStatus(const std::string& expected, DWORD timeoutMs = kStateMs) const;
    // The status line for `service` in the state word `word`.
    static std::string StatusFor(const std::string& service, const std::string& word);

    // Which of the state pictures the window shows, from the screen; -1 for
    // none of them.
    int ShownPicture() const;

    // Clicks and waits until the handler (and its wait) has returned.
    bool ClickAndWait(int id, DWORD timeoutMs = 30000) const;

    // Closes the window as a user does; true when the program ended with 0.
    bool Close();

    e2e::Program& Program() { return program_; }

private:
    e2e::Program program_;
    HWND window_ = nullptr;
};

// Texts of the next message box of the console; empty caption when none came.
e2e::MessageBoxInfo AnswerNextBox(const Console& console, DWORD timeoutMs = kWindowMs);

} // namespace console_test
