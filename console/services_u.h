#pragma once
// The console's dealings with the Service Control Manager. Every operation
// opens the manager (and the service) itself and closes them before it
// returns. Refused calls are reported at once in the error box; only a failed
// status query stays silent.

#include <windows.h>

#include <string>
#include <vector>

#include "common/win_handle.h"
#include "service_list.h"
#include "state_table.h"

// The computer every operation addresses, exactly as typed; empty for the
// local one.
extern std::string ServerName;

// Set by the user's cancel; ends the running wait at its next poll.
extern bool WaitCancelled;

// A start type that is no start type at all, for a configuration that could
// not be read: it never ticks the auto-start box.
constexpr DWORD kStartTypeUnread = 0xFFFFFFFF;

// Preset as the last error before a series of calls, so that a report shows
// it when a failing call did not set an error code of its own.
constexpr DWORD kNoErrorCode = 0xFFFFFFFF;

struct TServiceInfo {
    std::string DisplayName;
    int State = kStateUnread;
    DWORD StartType = kStartTypeUnread;
};

enum TServiceAction { saStart, saStop, saPause, saContinue };

// The state that ends the wait after the action.
int TargetStateOf(TServiceAction action);

// The services of `configured` that exist on the computer, in configured
// order within each enumeration portion. False only when the manager cannot
// be opened.
bool ListConfiguredServices(const std::vector<std::string>& configured,
                            std::vector<EnumeratedService>* entries);

TServiceInfo GetServiceInfo(const std::string& serviceName);

// Switches the service to automatic (true) or demand start; false when refused.
bool SetServiceAutoStart(const std::string& serviceName, bool autoStart);

// Opens the manager and the service for the four commands; reports and
// returns an empty handle on failure.
win::unique_schandle OpenServiceManager();
win::unique_schandle OpenServiceForCommands(SC_HANDLE manager, const std::string& serviceName);

// Issues the action's call (a start with ServiceStartArgs()); reports and
// returns false when the manager refuses it.
bool IssueServiceAction(SC_HANDLE service, TServiceAction action);

// The console's own command-line parameters from the third on.
std::vector<std::string> ServiceStartArgs();

// The current state, or false when the query failed.
bool QueryCurrentState(SC_HANDLE service, int* state);

// The system's message for an error code; "Error <code>" when the system has
// none, so that a report never shows an empty reason.
std::string SystemErrorText(DWORD code);

// The one error box of the console, modal to the owner set below (so that no
// click reaches the window while the box is up), captioned with the
// application title.
void ShowServiceError(const std::string& errorText);
void SetErrorBoxOwner(HWND owner);

// Reports the calling thread's last error through ShowServiceError.
void ReportLastError();

// Upper-cases by the user's locale.
std::string AnsiUpperCase(const std::string& text);
