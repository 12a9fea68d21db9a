// The shipped programs as built: their resources, and a first start of each
// beside a running service.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/win_handle.h"
#include "e2e.h"

namespace {

const DWORD kSettleMs = 10000;

// A text value of HKEY_CURRENT_USER set for one test; the previous value,
// or its absence, comes back afterwards.
class ScopedUserValue {
public:
    ScopedUserValue(const char* keyName, const char* valueName, const std::string& text)
        : valueName_(valueName) {
        if (RegCreateKeyExA(HKEY_CURRENT_USER, keyName, 0, nullptr, 0,
                            KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, key_.put(),
                            nullptr) != ERROR_SUCCESS) {
            return;
        }
        DWORD size = 0;
        if (RegQueryValueExA(key_.get(), valueName, nullptr, &previousType_, nullptr, &size) ==
            ERROR_SUCCESS) {
            previous_.resize(size);
            RegQueryValueExA(key_.get(), valueName, nullptr, &previousType_, previous_.data(),
                             &size);
            hadPrevious_ = true;
        }
        set_ = RegSetValueExA(key_.get(), valueName, 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
    }
    ScopedUserValue(const ScopedUserValue&) = delete;
    ScopedUserValue& operator=(const ScopedUserValue&) = delete;
    ~ScopedUserValue() {
        if (!set_) {
            return;
        }
        if (hadPrevious_) {
            RegSetValueExA(key_.get(), valueName_.c_str(), 0, previousType_, previous_.data(),
                           static_cast<DWORD>(previous_.size()));
        } else {
            RegDeleteValueA(key_.get(), valueName_.c_str());
        }
    }
    bool Set() const { return set_; }

private:
    win::unique_hkey key_;
    std::string valueName_;
    bool set_ = false;
    bool hadPrevious_ = false;
    DWORD previousType_ = 0;
    std::vector<BYTE> previous_;
};

std::string QueryVersionString(const std::vector<char>& data, const char* block, const char* name) {
    std::string path = std::string("\\StringFileInfo\\") + block + "\\" + name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), path.c_str(), &value, &length) || value == nullptr) {
        return "<missing>";
    }
    return static_cast<const char*>(value);
}

TEST(ProgramsTest, ConsoleVersionResource) {
    std::string exe = e2e::WindowsPath(QUORCON_EXE);
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &handle);
    ASSERT_GT(size, 0u) << GetLastError();
    std::vector<char> data(size);
    ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, size, data.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_GE(length, sizeof *fixed);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(MAKELONG(0, 2)));
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, static_cast<DWORD>(MAKELONG(0, 2)));
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(length, 2 * sizeof(WORD)) << "exactly one translation";
    EXPECT_EQ(translation[0], 0x0419);
    EXPECT_EQ(translation[1], 1251);

    // The string table is found through the translation entry, as readers of
    // the resource look it up.
    char block[9];
    std::snprintf(block, sizeof block, "%04x%04x", translation[0], translation[1]);
    EXPECT_EQ(QueryVersionString(data, block, "FileVersion"), "2.0.0.0");
    EXPECT_EQ(QueryVersionString(data, block, "ProductVersion"), "2.0.0.0");
    EXPECT_EQ(QueryVersionString(data, block, "ProductName"), "Quorvel");
    EXPECT_EQ(QueryVersionString(data, block, "InternalName"), "Quorvel");
}

TEST(ProgramsTest, UninstallerEmbedsTheRestartProgram) {
    win::unique_hmodule module(
        LoadLibraryExA(e2e::WindowsPath(SWEEPBACK_EXE).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(module) << GetLastError();
    HRSRC found = FindResourceA(module.get(), MAKEINTRESOURCEA(30202), MAKEINTRESOURCEA(300));
    ASSERT_NE(found, nullptr) << GetLastError();
    DWORD size = SizeofResource(module.get(), found);
    const auto* bytes =
        static_cast<const unsigned char*>(LockResource(LoadResource(module.get(), found)));
    ASSERT_NE(bytes, nullptr);

    ASSERT_GE(size, sizeof(IMAGE_DOS_HEADER));
    IMAGE_DOS_HEADER dos;
    std::memcpy(&dos, bytes, sizeof dos);
    EXPECT_EQ(dos.e_magic, IMAGE_DOS_SIGNATURE);
    ASSERT_GT(dos.e_lfanew, 0);
    ASSERT_LE(static_cast<DWORD>(dos.e_lfanew) + sizeof(DWORD) + sizeof(IMAGE_FILE_HEADER), size);
    EXPECT_EQ(std::memcmp(bytes + dos.e_lfanew, "PE\0\0", 4), 0);
    IMAGE_FILE_HEADER file;
    std::memcpy(&file, bytes + dos.e_lfanew + sizeof(DWORD), sizeof file);
#ifdef _WIN64
    EXPECT_EQ(file.Machine, IMAGE_FILE_MACHINE_AMD64);
#else
    EXPECT_EQ(file.Machine, IMAGE_FILE_MACHINE_I386);
#endif

    // Byte for byte the restart program of this build.
    std::ifstream built(e2e::WindowsPath(RESTART_PROGRAM_EXE), std::ios::binary);
    std::vector<unsigned char> expected((std::istreambuf_iterator<char>(built)),
                                        std::istreambuf_iterator<char>());
    EXPECT_TRUE(std::vector<unsigned char>(bytes, bytes + size) == expected)
        << "resource " << size << " bytes, restart program " << expected.size() << " bytes";
}

// The icon of the program file and of the background window's class.
TEST(ProgramsTest, UninstallerCarriesItsIconInBothSizes) {
    win::unique_hmodule module(
        LoadLibraryExA(e2e::WindowsPath(SWEEPBACK_EXE).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(module) << GetLastError();
    for (int size : {32, 16}) {
        SCOPED_TRACE(size);
        HICON icon = static_cast<HICON>(
            LoadImageA(module.get(), MAKEINTRESOURCEA(101), IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr) << GetLastError();
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP colour = {};
        ASSERT_TRUE(info.hbmColor != nullptr && GetObjectA(info.hbmColor, sizeof colour, &colour));
        EXPECT_EQ(colour.bmWidth, size);
        EXPECT_EQ(colour.bmHeight, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

// The path every console test walks: a test service running with its start
// arguments, the console's window up and closed again, the uninstaller run.
TEST(ProgramsTest, ServiceConsoleAndUninstallerStartAndEnd) {
    e2e::ScopedService scoped("fx_chain", "Foundation chain", e2e::WindowsPath(TESTSVC_EXE));
    ASSERT_TRUE(scoped.Installed());
    const std::string& service = scoped.Name();
    const std::vector<std::string> arguments = {"first", "second"};
    ASSERT_TRUE(e2e::StartServiceByName(service, arguments)) << GetLastError();
    EXPECT_TRUE(e2e::WaitForServiceState(service, SERVICE_RUNNING, kSettleMs));
    EXPECT_EQ(e2e::QueryServiceState(service), static_cast<DWORD>(SERVICE_RUNNING));
    std::vector<std::string> recorded;
    EXPECT_TRUE(e2e::ReadServiceStartArguments(service, &recorded));
    EXPECT_EQ(recorded, arguments);

    // The console offers only the services configured for it; unconfigured
    // it would warn first.
    ScopedUserValue configured("SOFTWARE\\Orvalinth\\Quorvel", "Services", service);
    ASSERT_TRUE(configured.Set());
    e2e::Program console = e2e::Program::Start(e2e::WindowsPath(QUORCON_EXE), "");
    ASSERT_TRUE(console.Started()) << GetLastError();
    HWND window = e2e::WaitForTopLevelWindow(console.Pid(), "TfrmMain", "Quorvel", kSettleMs);
    ASSERT_NE(window, nullptr);
    e2e::MessageBoxInfo box;
    EXPECT_FALSE(e2e::WaitForMessageBox(console.Pid(), 500, &box)) << box.text;
    RECT client = {};
    ASSERT_TRUE(GetClientRect(window, &client));
    EXPECT_EQ(client.right - client.left, 265);
    EXPECT_EQ(client.bottom - client.top, 252);
    LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_NE(style & WS_SYSMENU, 0);
    EXPECT_NE(style & WS_MINIMIZEBOX, 0);
    EXPECT_EQ(style & WS_THICKFRAME, 0);
    EXPECT_EQ(style & WS_MAXIMIZEBOX, 0);
    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD exitCode = 1;
    EXPECT_TRUE(console.WaitForExit(kSettleMs, &exitCode));
    EXPECT_EQ(exitCode, 0u);

    // With no log beside it the uninstaller asks for one in the open-file
    // dialog; a user who cancels that ends the run.
    e2e::Program uninstaller = e2e::Program::Start(e2e::WindowsPath(SWEEPBACK_EXE), "");
    ASSERT_TRUE(uninstaller.Started()) << GetLastError();
    exitCode = 1;
    bool ended = false;
    DWORD start = GetTickCount();
    while (!(ended = uninstaller.WaitForExit(50, &exitCode)) &&
           GetTickCount() - start < kSettleMs) {
        if (e2e::WaitForMessageBox(uninstaller.Pid(), 0, &box)) {
            EXPECT_TRUE(e2e::AnswerMessageBox(box, IDCANCEL)) << box.caption;
        }
    }
    EXPECT_TRUE(ended);
    EXPECT_EQ(exitCode, 0u);
}

} // namespace
