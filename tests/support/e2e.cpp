#include "e2e.h"

#include <commctrl.h>

#include <cstring>
#include <fstream>
#include <utility>

#include "common/win_handle.h"

namespace e2e {

namespace {

// How long a control of another process may take to answer a query before
// the test reads it as empty instead of hanging on a busy program.
const DWORD kAnswerMs = 5000;
const DWORD kPollMs = 20;
// The static that holds a message box's text (Windows and Wine alike).
const int kMessageTextId = 0xFFFF;

// Polls `condition` with messages pumped in between; true as soon as it holds.
template <typename Condition> bool WaitUntil(DWORD timeoutMs, Condition condition) {
    DWORD start = GetTickCount();
    for (;;) {
        if (condition()) {
            return true;
        }
        if (GetTickCount() - start >= timeoutMs) {
            return false;
        }
        Sleep(kPollMs);
    }
}

bool SendA(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result,
           DWORD timeoutMs = kAnswerMs) {
    return SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, timeoutMs, result) !=
           0;
}

// Wine packs list texts for another process only in their UTF-16 form.
bool SendW(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result) {
    return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kAnswerMs, result) !=
           0;
}

std::string ToAnsi(const std::wstring& wide) {
    if (wide.empty()) {
        return {};
    }
    int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                   0, nullptr, nullptr);
    std::string text(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &text[0], size,
                        nullptr, nullptr);
    return text;
}

std::string ClassName(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// A top-level window's caption, read without a message: the searches must
// not stall on a program that is busy in a handler.
std::string Caption(HWND window) {
    char caption[512] = {};
    GetWindowTextA(window, caption, sizeof caption);
    return caption;
}

struct TopLevelSearch {
    DWORD pid;
    const char* className;
    const char* caption;
    HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<TopLevelSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->pid || !IsWindowVisible(window)) {
        return TRUE;
    }
    if (search->className != nullptr && ClassName(window) != search->className) {
        return TRUE;
    }
    if (search->caption != nullptr && Caption(window) != search->caption) {
        return TRUE;
    }
    search->found = window;
    return FALSE;
}

HWND FindTopLevelWindow(DWORD pid, const char* className, const char* caption) {
    TopLevelSearch search = {pid, className, caption, nullptr};
    EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct ControlSearch {
    int id;
    HWND found;
};

BOOL CALLBACK MatchControlId(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<ControlSearch*>(param);
    if (GetDlgCtrlID(window) != search->id) {
        return TRUE;
    }
    search->found = window;
    return FALSE;
}

// Memory in another process, for messages whose buffers the system does
// not carry across processes (the common controls' own messages).
class RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, size_t size)
        : process_(process), address_(VirtualAllocEx(process, nullptr, size,
                                                     MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    ~RemoteBuffer() {
        if (address_ != nullptr) {
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        }
    }
    void* Address() const { return address_; }

private:
    HANDLE process_;
    void* address_;
};

win::unique_schandle OpenManager() {
    return win::unique_schandle(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
}

win::unique_schandle OpenNamedService(const std::string& name, DWORD access) {
    win::unique_schandle manager = OpenManager();
    if (!manager) {
        return {};
    }
    return win::unique_schandle(OpenServiceA(manager.get(), name.c_str(), access));
}

bool WaitForState(SC_HANDLE service, DWORD state, DWORD timeoutMs) {
    return WaitUntil(timeoutMs, [&] {
        SERVICE_STATUS status = {};
        return QueryServiceStatus(service, &status) && status.dwCurrentState == state;
    });
}

// Ends the service's process from outside and waits for it to go.
void TerminateServiceProcess(SC_HANDLE service) {
    SERVICE_STATUS_PROCESS status = {};
    DWORD needed = 0;
    if (!QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status),
                              sizeof status, &needed) ||
        status.dwProcessId == 0) {
        return;
    }
    win::unique_handle process(
        OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, status.dwProcessId));
    if (process) {
        TerminateProcess(process.get(), 1);
        WaitForSingleObject(process.get(), kAnswerMs);
    }
}

// A test service ends at once on its own end control, in any state it can
// take controls in. In a pending state the SCM passes no controls on, and
// its process is ended from outside instead; Wine's SCM then keeps showing
// the pending state until the service is deleted.
void EndService(SC_HANDLE service) {
    SERVICE_STATUS status = {};
    if (!QueryServiceStatus(service, &status) || status.dwCurrentState == SERVICE_STOPPED) {
        return;
    }
    if (ControlService(service, kEndTestServiceControl, &status) &&
        WaitForState(service, SERVICE_STOPPED, 10000)) {
        return;
    }
    TerminateServiceProcess(service);
}

} // namespace

Program::Program(Program&& other) noexcept
    : process_(std::exchange(other.process_, nullptr)), pid_(std::exchange(other.pid_, 0)) {}

Program& Program::operator=(Program&& other) noexcept {
    if (this != &other) {
        Terminate();
        process_ = std::exchange(other.process_, nullptr);
        pid_ = std::exchange(other.pid_, 0);
    }
    return *this;
}

Program::~Program() {
    Terminate();
}

Program Program::Start(const std::string& exePath, const std::string& arguments,
                       const std::string& workingDirectory) {
    std::string commandLine = "\"" + exePath + "\"";
    if (!arguments.empty()) {
        commandLine += " " + arguments;
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    Program program;
    // Wine now and then fails a start with ERROR_INTERNAL_ERROR before any of
    // the new process's code has run, so starting it again is safe. Any other
    // failure is the caller's to see.
    const int kAttempts = 3;
    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
        if (CreateProcessA(exePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                           workingDirectory.empty() ? nullptr : workingDirectory.c_str(), &startup,
                           &info)) {
            CloseHandle(info.hThread);
            program.process_ = info.hProcess;
            program.pid_ = info.dwProcessId;
            break;
        }
        if (GetLastError() != ERROR_INTERNAL_ERROR || attempt == kAttempts) {
            break;
        }
        Sleep(100);
    }
    return program;
}

bool Program::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
    if (process_ == nullptr || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) {
        return false;
    }
    if (exitCode != nullptr) {
        GetExitCodeProcess(process_, exitCode);
    }
    return true;
}

void Program::Terminate() {
    if (process_ == nullptr) {
        return;
    }
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, kAnswerMs);
    }
    CloseHandle(process_);
    process_ = nullptr;
    pid_ = 0;
}

HWND WaitForTopLevelWindow(DWORD pid, const char* className, const char* caption, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil(timeoutMs, [&] {
        found = FindTopLevelWindow(pid, className, caption);
        return found != nullptr;
    });
    return found;
}

HWND FindControl(HWND parent, int id) {
    ControlSearch search = {id, nullptr};
    EnumChildWindows(parent, MatchControlId, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Click(HWND button) {
    PostMessageA(button, BM_CLICK, 0, 0);
}

bool ClickAndWait(HWND button, DWORD timeoutMs) {
    DWORD_PTR result = 0;
    return SendA(button, BM_CLICK, 0, 0, &result, timeoutMs);
}

bool SelectComboItem(HWND combo, int index, DWORD timeoutMs) {
    DWORD_PTR selected = 0;
    if (!SendA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0, &selected, timeoutMs) ||
        static_cast<int>(selected) != index) {
        return false;
    }
    DWORD_PTR result = 0;
    WPARAM command = MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE);
    return SendA(GetParent(combo), WM_COMMAND, command, reinterpret_cast<LPARAM>(combo), &result,
                 timeoutMs);
}

std::string GetText(HWND window) {
    DWORD_PTR length = 0;
    if (!SendA(window, WM_GETTEXTLENGTH, 0, 0, &length)) {
        return {};
    }
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), &copied)) {
        return {};
    }
    text.resize(std::strlen(text.c_str()));
    return text;
}

bool SetText(HWND window, const std::string& text) {
    DWORD_PTR result = 0;
    return SendA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), &result) &&
           result == TRUE;
}

std::vector<std::string> GetComboItems(HWND combo) {
    std::vector<std::string> items;
    DWORD_PTR count = 0;
    if (!SendW(combo, CB_GETCOUNT, 0, 0, &count) || static_cast<LRESULT>(count) == CB_ERR) {
        return items;
    }
    for (WPARAM index = 0; index < count; ++index) {
        DWORD_PTR length = 0;
        if (!SendW(combo, CB_GETLBTEXTLEN, index, 0, &length) ||
            static_cast<LRESULT>(length) == CB_ERR) {
            items.emplace_back();
            continue;
        }
        std::wstring text(length + 1, L'\0');
        DWORD_PTR copied = 0;
        SendW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&text[0]), &copied);
        text.resize(std::wcslen(text.c_str()));
        items.push_back(ToAnsi(text));
    }
    return items;
}

int GetComboSelection(HWND combo) {
    DWORD_PTR selection = 0;
    if (!SendA(combo, CB_GETCURSEL, 0, 0, &selection)) {
        return CB_ERR;
    }
    return static_cast<int>(selection);
}

std::string GetStatusBarText(HWND statusBar, int part) {
    DWORD pid = 0;
    GetWindowThreadProcessId(statusBar, &pid);
    win::unique_handle process(
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
    DWORD_PTR lengthAndType = 0;
    if (!process ||
        !SendA(statusBar, SB_GETTEXTLENGTHA, static_cast<WPARAM>(part), 0, &lengthAndType)) {
        return {};
    }
    size_t size = LOWORD(lengthAndType) + 1;
    RemoteBuffer buffer(process.get(), size);
    DWORD_PTR ignored = 0;
    if (buffer.Address() == nullptr ||
        !SendA(statusBar, SB_GETTEXTA, static_cast<WPARAM>(part),
               reinterpret_cast<LPARAM>(buffer.Address()), &ignored)) {
        return {};
    }
    std::string text(size, '\0');
    SIZE_T read = 0;
    if (!ReadProcessMemory(process.get(), buffer.Address(), &text[0], size, &read)) {
        return {};
    }
    text.resize(strnlen(text.c_str(), read));
    return text;
}

bool IsEnabled(HWND window) {
    return IsWindowEnabled(window) != FALSE;
}

bool IsChecked(HWND checkBox) {
    DWORD_PTR state = 0;
    return SendA(checkBox, BM_GETCHECK, 0, 0, &state) && state == BST_CHECKED;
}

bool WaitForMessageBox(DWORD pid, DWORD timeoutMs, MessageBoxInfo* box) {
    HWND window = WaitForTopLevelWindow(pid, "#32770", nullptr, timeoutMs);
    if (window == nullptr) {
        return false;
    }
    box->window = window;
    box->caption = Caption(window);
    HWND text = GetDlgItem(window, kMessageTextId);
    box->text = text != nullptr ? GetText(text) : std::string();
    return true;
}

bool AnswerMessageBox(const MessageBoxInfo& box, int buttonId, DWORD timeoutMs) {
    HWND button = GetDlgItem(box.window, buttonId);
    PostMessageA(box.window, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
    return WaitUntil(timeoutMs, [&] { return !IsWindow(box.window); });
}

bool SaveScreenshot(HWND window, const std::string& bmpPath) {
    RECT frame = {};
    if (!GetWindowRect(window, &frame)) {
        return false;
    }
    // The picture is taken from the screen: bring the window up and let its
    // program paint it first.
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    DWORD_PTR ignored = 0;
    SendA(window, WM_NULL, 0, 0, &ignored);
    Sleep(200);

    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    if (width <= 0 || height <= 0) {
        return false;
    }
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height; // bottom-up, as BMP files store rows
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    header.biSizeImage = stride * static_cast<DWORD>(height);

    HDC screen = GetDC(nullptr);
    if (screen == nullptr) {
        return false;
    }
    void* bits = nullptr;
    win::unique_hgdiobj bitmap(CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header),
                                                DIB_RGB_COLORS, &bits, nullptr, 0));
    win::unique_hdc memory(CreateCompatibleDC(screen));
    bool copied = false;
    if (bitmap && memory) {
        HGDIOBJ previous = SelectObject(memory.get(), bitmap.get());
        copied = BitBlt(memory.get(), 0, 0, width, height, screen, frame.left, frame.top,
                        SRCCOPY) != FALSE;
        GdiFlush();
        SelectObject(memory.get(), previous);
    }
    ReleaseDC(nullptr, screen);
    if (!copied) {
        return false;
    }

    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + header.biSizeImage;
    std::ofstream out(bmpPath, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(static_cast<const char*>(bits), header.biSizeImage);
    return static_cast<bool>(out);
}

void Sleep(DWORD ms) {
    DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms) {
            return;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
    }
}

bool InstallService(const std::string& name, const std::string& displayName,
                    const std::string& exePath) {
    if (!RemoveService(name)) {
        return false;
    }
    win::unique_schandle manager = OpenManager();
    if (!manager) {
        return false;
    }
    std::string binaryPath = "\"" + exePath + "\"";
    win::unique_schandle service(
        CreateServiceA(manager.get(), name.c_str(), displayName.c_str(), SERVICE_ALL_ACCESS,
                       SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                       binaryPath.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr));
    return static_cast<bool>(service);
}

ScopedService::ScopedService(std::string name, const std::string& displayName,
                             const std::string& exePath)
    : name_(std::move(name)), installed_(InstallService(name_, displayName, exePath)) {}

ScopedService::~ScopedService() {
    if (installed_) {
        RemoveService(name_);
    }
}

bool RemoveService(const std::string& name) {
    {
        win::unique_schandle service = OpenNamedService(name, SERVICE_ALL_ACCESS);
        if (!service) {
            return GetLastError() == ERROR_SERVICE_DOES_NOT_EXIST;
        }
        // Deleted even when it could not be ended: the SCM removes it once
        // its process is gone, which the wait below allows for. On a loaded
        // machine that can take a while.
        EndService(service.get());
        if (!DeleteService(service.get()) && GetLastError() != ERROR_SERVICE_MARKED_FOR_DELETE) {
            return false;
        }
    }
    // The options and records of a test service must not outlive it: a
    // service created again under this name starts from defaults.
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, TestServiceParametersKey(name).c_str());
    return WaitUntil(30000, [&] {
        win::unique_schandle service = OpenNamedService(name, SERVICE_QUERY_STATUS);
        return !service && GetLastError() == ERROR_SERVICE_DOES_NOT_EXIST;
    });
}

bool StartServiceByName(const std::string& name, const std::vector<std::string>& arguments) {
    win::unique_schandle service = OpenNamedService(name, SERVICE_START);
    if (!service) {
        return false;
    }
    std::vector<const char*> pointers;
    for (const std::string& argument : arguments) {
        pointers.push_back(argument.c_str());
    }
    return StartServiceA(service.get(), static_cast<DWORD>(pointers.size()),
                         pointers.empty() ? nullptr : pointers.data()) != FALSE;
}

bool ControlServiceByName(const std::string& name, DWORD control) {
    win::unique_schandle service =
        OpenNamedService(name, SERVICE_STOP | SERVICE_PAUSE_CONTINUE |
                                   SERVICE_USER_DEFINED_CONTROL | SERVICE_INTERROGATE);
    if (!service) {
        return false;
    }
    SERVICE_STATUS status = {};
    return ControlService(service.get(), control, &status) != FALSE;
}

bool QueryServiceStatusByName(const std::string& name, SERVICE_STATUS* status) {
    win::unique_schandle service = OpenNamedService(name, SERVICE_QUERY_STATUS);
    return service && QueryServiceStatus(service.get(), status);
}

DWORD QueryServiceState(const std::string& name) {
    SERVICE_STATUS status = {};
    return QueryServiceStatusByName(name, &status) ? status.dwCurrentState : 0;
}

bool WaitForServiceState(const std::string& name, DWORD state, DWORD timeoutMs) {
    win::unique_schandle service = OpenNamedService(name, SERVICE_QUERY_STATUS);
    return service && WaitForState(service.get(), state, timeoutMs);
}

bool SetServiceParameter(const std::string& name, const std::string& valueName, DWORD value) {
    win::unique_hkey key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, TestServiceParametersKey(name).c_str(), 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, key.put(), nullptr) != ERROR_SUCCESS) {
        return false;
    }
    return RegSetValueExA(key.get(), valueName.c_str(), 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&value), sizeof value) == ERROR_SUCCESS;
}

bool ReadServiceStartArguments(const std::string& name, std::vector<std::string>* arguments) {
    win::unique_hkey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, TestServiceParametersKey(name).c_str(), 0,
                      KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) {
        return false;
    }
    DWORD count = 0;
    DWORD size = sizeof count;
    DWORD type = 0;
    if (RegQueryValueExA(key.get(), "LastArgCount", nullptr, &type, reinterpret_cast<BYTE*>(&count),
                         &size) != ERROR_SUCCESS ||
        type != REG_DWORD) {
        return false;
    }
    size = 0;
    if (RegQueryValueExA(key.get(), "LastArgs", nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_MULTI_SZ) {
        return false;
    }
    // Two spare zeros: the list reads as ended even if the stored data is not.
    std::string data(size + 2, '\0');
    if (RegQueryValueExA(key.get(), "LastArgs", nullptr, &type, reinterpret_cast<BYTE*>(&data[0]),
                         &size) != ERROR_SUCCESS) {
        return false;
    }
    // The count, not the first empty string, ends the list: an empty
    // argument is recorded as such.
    arguments->clear();
    size_t offset = 0;
    for (DWORD index = 0; index < count && offset < size; ++index) {
        std::string argument(data.c_str() + offset);
        offset += argument.size() + 1;
        arguments->push_back(std::move(argument));
    }
    return arguments->size() == count;
}

std::string ProgramDirectory() {
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string directory(path, length);
    return directory.substr(0, directory.find_last_of('\\') + 1);
}

std::string WindowsPath(const std::string& unixPath) {
    if (unixPath.empty() || unixPath[0] != '/') {
        return unixPath;
    }
    std::string path = "Z:" + unixPath;
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

} // namespace e2e
