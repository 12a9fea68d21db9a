#include "services_u.h"

#include <cstdlib>

#include "quorcon_ids.h"
#include "service_list.h"

std::string ServerName;
bool WaitCancelled = false;

namespace {

// Rights as the console has always asked for them: read and execute on the
// manager, plus user-defined controls on a service.
const DWORD kManagerAccess = GENERIC_READ | GENERIC_EXECUTE;
const DWORD kServiceAccess = GENERIC_READ | GENERIC_EXECUTE | SERVICE_USER_DEFINED_CONTROL;

// Win32 services and drivers of every kind, interactive ones included.
const DWORD kServiceTypeAll = 0x13F;
const DWORD kInitialBufferSize = 1024;

HWND errorBoxOwner = nullptr;

using unique_sclock =
    win::UniqueHandle<SC_LOCK, win::detail::Traits<SC_LOCK, UnlockServiceDatabase>>;

// Turns one enumeration portion into plain records.
std::vector<EnumeratedService> PortionOf(const std::vector<BYTE>& buffer, DWORD count) {
    const auto* records = reinterpret_cast<const ENUM_SERVICE_STATUSA*>(buffer.data());
    std::vector<EnumeratedService> portion;
    portion.reserve(count);
    for (DWORD i = 0; i < count; ++i) {
        const ENUM_SERVICE_STATUSA& record = records[i];
        portion.push_back({record.lpServiceName ? record.lpServiceName : "",
                           record.lpDisplayName ? record.lpDisplayName : "",
                           static_cast<int>(record.ServiceStatus.dwCurrentState)});
    }
    return portion;
}

} // namespace

int TargetStateOf(TServiceAction action) {
    switch (action) {
    case saStop:
        return kStateStopped;
    case saPause:
        return kStatePaused;
    case saStart:
    case saContinue:
        break;
    }
    return kStateRunning;
}

std::string SystemErrorText(DWORD code) {
    char text[256] = {};
    // Without IGNORE_INSERTS a message with inserts would be read against
    // arguments that were never passed.
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, text, sizeof text, nullptr);
    if (length == 0) {
        return "Error " + std::to_string(code);
    }
    return text;
}

void SetErrorBoxOwner(HWND owner) {
    errorBoxOwner = owner;
}

void ShowServiceError(const std::string& errorText) {
    MessageBoxA(errorBoxOwner, FormatServiceErrorMessage(errorText).c_str(), kApplicationTitle,
                MB_OK | MB_ICONERROR);
}

void ReportLastError() {
    ShowServiceError(SystemErrorText(GetLastError()));
}

std::string AnsiUpperCase(const std::string& text) {
    std::string upper = text;
    if (!upper.empty()) {
        CharUpperBuffA(&upper[0], static_cast<DWORD>(upper.size()));
    }
    return upper;
}

win::unique_schandle OpenServiceManager() {
    win::unique_schandle manager(
        OpenSCManagerA(ServerName.empty() ? nullptr : ServerName.c_str(), nullptr, kManagerAccess));
    if (!manager) {
        ReportLastError();
    }
    return manager;
}

win::unique_schandle OpenServiceForCommands(SC_HANDLE manager, const std::string& serviceName) {
    win::unique_schandle service(OpenServiceA(manager, serviceName.c_str(), kServiceAccess));
    if (!service) {
        ReportLastError();
    }
    return service;
}

bool ListConfiguredServices(const std::vector<std::string>& configured,
                            std::vector<EnumeratedService>* entries) {
    entries->clear();
    win::unique_schandle manager = OpenServiceManager();
    if (!manager) {
        return false;
    }
    std::vector<BYTE> buffer(kInitialBufferSize);
    DWORD resumeHandle = 0;
    for (;;) {
        EnumerationAnswer answer;
        answer.resumeBefore = resumeHandle;
        answer.bufferSize = buffer.size();
        DWORD bytesNeeded = 0;
        DWORD count = 0;
        answer.succeeded =
            EnumServicesStatusA(manager.get(), kServiceTypeAll, SERVICE_STATE_ALL,
                                reinterpret_cast<ENUM_SERVICE_STATUSA*>(buffer.data()),
                                static_cast<DWORD>(buffer.size()), &bytesNeeded, &count,
                                &resumeHandle) != FALSE;
        answer.error = answer.succeeded ? ERROR_SUCCESS : GetLastError();
        answer.bytesNeeded = bytesNeeded;
        answer.resumeAfter = resumeHandle;
        const EnumerationStep step = NextEnumerationStep(answer);
        if (step.takePortion) {
            TakeConfiguredServices(configured, PortionOf(buffer, count), AnsiUpperCase, entries);
        }
        if (step.next == EnumerationStep::Done) {
            break;
        }
        if (step.next == EnumerationStep::Fail) {
            ShowServiceError(SystemErrorText(answer.error));
            break;
        }
        // Fresh contents: records left over from an answer not taken must not
        // pass for the next one.
        buffer.assign(step.bufferSize, 0);
    }
    return true;
}

TServiceInfo GetServiceInfo(const std::string& serviceName) {
    TServiceInfo info;
    SetLastError(kNoErrorCode);
    win::unique_schandle manager = OpenServiceManager();
    if (!manager) {
        return info;
    }
    win::unique_schandle service = OpenServiceForCommands(manager.get(), serviceName);
    if (!service) {
        return info;
    }
    std::vector<BYTE> config(kInitialBufferSize);
    for (;;) {
        DWORD bytesNeeded = 0;
        auto* record = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(config.data());
        if (QueryServiceConfigA(service.get(), record, static_cast<DWORD>(config.size()),
                                &bytesNeeded)) {
            info.DisplayName = record->lpDisplayName ? record->lpDisplayName : "";
            info.StartType = record->dwStartType;
            break;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || bytesNeeded <= config.size()) {
            ReportLastError();
            break;
        }
        config.resize(bytesNeeded);
    }
    QueryCurrentState(service.get(), &info.State);
    return info;
}

bool SetServiceAutoStart(const std::string& serviceName, bool autoStart) {
    SetLastError(kNoErrorCode);
    win::unique_schandle manager = OpenServiceManager();
    if (!manager) {
        return false;
    }
    unique_sclock lock(LockServiceDatabase(manager.get()));
    if (!lock) {
        ReportLastError();
        return false;
    }
    // Declared after the lock, so it closes before the lock is released.
    win::unique_schandle service(
        OpenServiceA(manager.get(), serviceName.c_str(), SERVICE_ALL_ACCESS));
    if (!service) {
        ReportLastError();
        return false;
    }
    const DWORD startType = autoStart ? SERVICE_AUTO_START : SERVICE_DEMAND_START;
    if (!ChangeServiceConfigA(service.get(), SERVICE_NO_CHANGE, startType, SERVICE_NO_CHANGE,
                              nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr)) {
        ReportLastError();
        return false;
    }
    return true;
}

std::vector<std::string> ServiceStartArgs() {
    std::vector<std::string> args;
    for (int i = 3; i < __argc; ++i) {
        args.emplace_back(__argv[i]);
    }
    return args;
}

bool IssueServiceAction(SC_HANDLE service, TServiceAction action) {
    BOOL issued = FALSE;
    if (action == saStart) {
        const std::vector<std::string> args = ServiceStartArgs();
        std::vector<const char*> pointers;
        for (const std::string& arg : args) {
            pointers.push_back(arg.c_str());
        }
        issued = StartServiceA(service, static_cast<DWORD>(pointers.size()),
                               pointers.empty() ? nullptr : pointers.data());
    } else {
        const DWORD control = action == saStop    ? SERVICE_CONTROL_STOP
                              : action == saPause ? SERVICE_CONTROL_PAUSE
                                                  : SERVICE_CONTROL_CONTINUE;
        SERVICE_STATUS status = {};
        issued = ControlService(service, control, &status);
    }
    if (!issued) {
        ReportLastError();
    }
    return issued != FALSE;
}

bool QueryCurrentState(SC_HANDLE service, int* state) {
    SERVICE_STATUS status = {};
    if (!QueryServiceStatus(service, &status)) {
        return false;
    }
    *state = static_cast<int>(status.dwCurrentState);
    return true;
}
