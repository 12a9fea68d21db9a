#pragma once
// The console's only working window: a computer, one of its configured
// services, the service's state as picture, list word and status line, and
// the commands start/continue, pause, stop and automatic start.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "common/object_window.h"
#include "common/win_handle.h"
#include "services_u.h"

class TdlgServices;

class TfrmMain {
public:
    // Registers the window class and creates the window (running FormCreate);
    // false on failure.
    bool Create(HINSTANCE instance);
    HWND Handle() const { return handle_; }

    // The window that shows running waits; set once by the main block.
    void SetWaitWindow(TdlgServices* waitWindow) { waitWindow_ = waitWindow; }

    // Keyboard navigation of the main window and the wait window; true when
    // the message was handled and must not be dispatched.
    bool TranslateDialogMessage(MSG* message);

    // The cancel handler of a running wait.
    void BitBtn1Click();

private:
    friend LRESULT CALLBACK ObjectWindowProc<TfrmMain>(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();
    void OnCommand(int id, int notification);
    void DrawCommandButton(const DRAWITEMSTRUCT& item);

    void FormCreate();
    bool EnumServices();
    void FormDestroy();
    void cbServicesChange();
    void bbStartClick();
    void btnRefreshClick();
    void elServerExit();
    void bbPauseClick();
    void bbStopClick();
    void cbAutoStart1Click();

    void PerformServiceAction(const std::string& serviceName, TServiceAction action);
    void WaitForTargetState(SC_HANDLE service, const std::string& serviceName,
                            TServiceAction action);
    // Dispatches every pending message; false when the quit message came
    // (it is posted again for the main loop).
    bool DispatchPendingMessages();
    // Runs one command handler: busy cursor, the command, the refresh; and the
    // close the user asked for meanwhile, once no command runs any more.
    template <typename Command> void RunCommand(Command command);

    void UpdateStateControls(int state);
    void ShowStatePicture(int index);
    void SetStatusText(const std::string& text);
    void SetAutoStartTick(bool ticked);
    // The key name of the selected service, or nothing when none is selected.
    std::optional<std::string> SelectedServiceName() const;
    int EntryCount() const;
    std::string ServerFieldText() const;
    void SetServerFieldText(const std::string& text);
    void RestoreSettings();
    void SaveSettings();

    void BeginBusy();
    void EndBusy();
    // Hourglass for the duration of a scope; nested scopes keep it.
    class BusyScope {
    public:
        explicit BusyScope(TfrmMain& form) : form_(form) { form_.BeginBusy(); }
        ~BusyScope() { form_.EndBusy(); }
        BusyScope(const BusyScope&) = delete;
        BusyScope& operator=(const BusyScope&) = delete;

    private:
        TfrmMain& form_;
    };

    HINSTANCE instance_ = nullptr;
    HWND handle_ = nullptr;
    TdlgServices* waitWindow_ = nullptr;

    HWND elServer = nullptr;
    HWND cbServices = nullptr;
    HWND btnRefresh = nullptr;
    HWND bbStart = nullptr;
    HWND bbPause = nullptr;
    HWND bbStop = nullptr;
    HWND cbAutoStart = nullptr;
    HWND imState = nullptr;
    HWND esbMain = nullptr;

    win::unique_hgdiobj font_;
    win::unique_hgdiobj statePictures_; // ilState: the five pictures side by side
    win::unique_hgdiobj glyphs_;        // normal and disabled glyph of each button
    win::unique_hgdiobj shownPicture_;  // the bitmap imState currently shows

    std::vector<std::string> ConfiguredServices;
    std::vector<std::string> ServiceNames;
    bool SuppressAutoStartClick = false;
    // The stored list index, applied by the first refill: the list is still
    // empty when the settings are restored.
    std::optional<int> storedItemIndex_;

    int busyDepth_ = 0;    // nested busy handlers; the hourglass shows while > 0
    int commandDepth_ = 0; // nested command handlers (each may wait)
    bool closeRequested_ = false;
};
