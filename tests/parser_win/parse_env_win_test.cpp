// The Windows side of the parser: a real log read from a real folder, with
// the system and private files, short and long forms, shared-file counts,
// Start Menu folders, the administrator check, the code pages, the progress
// bar and the fatal message box as Wine provides them.

#include "core/parse_env_win.h"
#include "core/parse_results.h"
#include "core/parser.h"
#include "core/record_lists.h"
#include "core/run_windows.h"

#include "parse_dump.h"

#include "common/win_handle.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <thread>
#include <vector>

namespace {

std::string TempFolder(const char* name) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + name + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    win::unique_hfile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file) << path;
    DWORD written = 0;
    WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::string ShortForm(const std::string& path) {
    char shortPath[MAX_PATH];
    GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
    return shortPath;
}

std::string SystemDirectoryPath() {
    char directory[MAX_PATH];
    GetSystemDirectoryA(directory, sizeof directory);
    return directory;
}

// A plain top-level window that stands in for the background window.
HWND CreatePlainWindow(const char* caption) {
    return CreateWindowExA(0, "STATIC", caption, WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

TEST(WindowsParseEnvironmentTest, ReadsARealLogAgainstTheRealSystem) {
    std::string product = TempFolder("Parser Product Folder ");
    std::string data = product + "\\Data";
    CreateDirectoryA(data.c_str(), nullptr);
    std::string privateFile = product + "\\a long private name.dll";
    std::string systemFile = SystemDirectoryPath() + "\\prsparse" +
                             std::to_string(GetCurrentProcessId() % 1000) + ".dll";
    WriteBytes(privateFile, "x");
    WriteBytes(systemFile, "x");
    // The log names the private file by its short form, as old installers did.
    WriteBytes(data + "\\INSTALL.LOG", "*** Session\r\nTitle: Real INSTALLATION\r\n"
                                       "User Rights: Admin\r\n"
                                       "Made Dir: " +
                                           product +
                                           "\r\n"
                                           "File Copy: " +
                                           ShortForm(privateFile) +
                                           "\r\n"
                                           "File Copy: " +
                                           systemFile +
                                           "\r\n"
                                           "File Copy: " +
                                           product +
                                           "\\GONE.DLL|3\r\n"
                                           "Self-Register: " +
                                           privateFile + "\r\n");
    ResetParseResults();
    backgroundWindow = CreatePlainWindow("before");
    startupProgressWindow = nullptr;
    WindowsParseEnvironment env;

    ASSERT_EQ(0, ParseInstallLog((data + "\\INSTALL.LOG").c_str(), installDirectory, env));

    EXPECT_EQ(ShortForm(product) + "\\", installDirectory);
    ASSERT_EQ(1, Directories.count);
    EXPECT_EQ(product + "\\", Directories.items[0]->path);
    ASSERT_EQ(1, PrivateFiles.count);
    EXPECT_EQ(ShortForm(privateFile), PrivateFiles.items[0]->path);
    EXPECT_EQ(1, PrivateFiles.items[0]->selfRegisterSession) << "compared in long form";
    ASSERT_EQ(1, SystemFiles.count);
    EXPECT_EQ(systemFile, SystemFiles.items[0]->path);
    ASSERT_EQ(1, RepairFiles.count);
    EXPECT_STREQ("3", RepairFiles.items[0]->repairInfo);
    char caption[64];
    GetWindowTextA(backgroundWindow, caption, sizeof caption);
    EXPECT_STREQ("Real", caption);

    DestroyWindow(backgroundWindow);
    DeleteFileA(systemFile.c_str());
    DeleteFileA(privateFile.c_str());
    DeleteFileA((data + "\\INSTALL.LOG").c_str());
    RemoveDirectoryA(data.c_str());
    RemoveDirectoryA(product.c_str());
}

TEST(WindowsParseEnvironmentTest, AsksTheFileSystem) {
    std::string folder = TempFolder("parserfs");
    std::string file = folder + "\\a very long file name.txt";
    WriteBytes(file, "x");
    WindowsParseEnvironment env;

    EXPECT_TRUE(env.FileExists(file.c_str()));
    EXPECT_FALSE(env.FileExists((folder + "\\missing.txt").c_str()));
    EXPECT_FALSE(env.IsRemovableDrive('C'));

    char path[260];
    lstrcpyA(path, ShortForm(file).c_str());
    ASSERT_NE(file, path);
    env.NormalizePath(path, sizeof path, true);
    EXPECT_EQ(file, path);
    env.NormalizePath(path, sizeof path, false);
    EXPECT_EQ(ShortForm(file), path);

    char directory[260];
    env.SystemDirectory(directory, sizeof directory);
    EXPECT_EQ(SystemDirectoryPath(), directory);
    env.WindowsDirectory(directory, 4);
    EXPECT_STREQ("", directory) << "a directory that does not fit is not cut";

    DeleteFileA(file.c_str());
    RemoveDirectoryA(folder.c_str());
}

TEST(WindowsParseEnvironmentTest, ReadsTheRegistry) {
    const char sharedKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
    std::string counted = "C:\\parser-test-" + std::to_string(GetCurrentProcessId()) + ".dll";
    win::unique_hkey shared;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, sharedKey, 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, shared.put(), nullptr));
    DWORD one = 1;
    RegSetValueExA(shared.get(), counted.c_str(), 0, REG_DWORD, reinterpret_cast<BYTE*>(&one),
                   sizeof one);
    WindowsParseEnvironment env;
    EXPECT_TRUE(env.IsCountedSharedFile(counted.c_str()));
    EXPECT_FALSE(env.IsCountedSharedFile((counted + ".other").c_str()));
    RegDeleteValueA(shared.get(), counted.c_str());

    // Wine fills the Shell Folders key as programs ask for the folders.
    char expected[MAX_PATH];
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, expected, CSIDL_STARTMENU, TRUE));
    char folder[256] = "unchanged";
    ASSERT_TRUE(env.ReadStartMenuFolder(false, folder, sizeof folder));
    EXPECT_STREQ(expected, folder);
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, expected, CSIDL_COMMON_STARTMENU, TRUE));
    ASSERT_TRUE(env.ReadStartMenuFolder(true, folder, sizeof folder));
    EXPECT_STREQ(expected, folder);
}

TEST(WindowsParseEnvironmentTest, ChecksRightsAndCodePages) {
    WindowsParseEnvironment env;
    EXPECT_TRUE(env.MayManageServices()) << "the test prefix's user is an administrator";

    if (GetOEMCP() == 437 && GetACP() == 1252) {
        char text[] = "\x81"
                      "ber \x94l";
        env.ConvertOemToAnsi(text);
        EXPECT_STREQ("\xFC"
                     "ber \xF6l",
                     text);
    }
    const char ascii[] = "a|";
    EXPECT_EQ(ascii + 1, env.NextCharacter(ascii));
    EXPECT_EQ(ascii + 2, env.NextCharacter(ascii + 2));
}

// What the progress dialog was asked to paint.
std::vector<RECT> paintedAreas;
std::vector<BOOL> paintErased;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        paintedAreas.push_back(paint.rcPaint);
        paintErased.push_back(paint.fErase);
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(WindowsParseEnvironmentTest, RepaintsOnlyTheBarAndClosesTheDialog) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = RecordingProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "ParserProgressTest";
    RegisterClassA(&windowClass);
    HWND dialog =
        CreateWindowExA(0, "ParserProgressTest", "Progress", WS_POPUP | WS_VISIBLE, 10, 10, 300,
                        120, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, dialog);
    CreateWindowExA(0, "STATIC", "", WS_CHILD, 14, 38, 260, 20, dialog,
                    reinterpret_cast<HMENU>(3830), GetModuleHandleA(nullptr), nullptr);
    UpdateWindow(dialog);
    paintedAreas.clear();
    paintErased.clear();
    startupProgressWindow = dialog;
    WindowsParseEnvironment env;

    ASSERT_TRUE(env.ProgressShown());
    env.RepaintProgressBar();

    ASSERT_EQ(1u, paintedAreas.size()) << "painted at once";
    EXPECT_EQ(14, paintedAreas[0].left);
    EXPECT_EQ(38, paintedAreas[0].top);
    EXPECT_EQ(274, paintedAreas[0].right);
    EXPECT_EQ(58, paintedAreas[0].bottom);
    EXPECT_FALSE(paintErased[0]);

    env.CloseProgress();
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_FALSE(env.ProgressShown());
}

struct SeenBox {
    std::string caption;
    std::string text;
    bool hasCancel = true;
};

// Answers the first message box owned by `owner` with OK, after noting it.
void AnswerMessageBox(HWND owner, SeenBox& seen) {
    for (int attempt = 0; attempt < 500; ++attempt) {
        HWND box = nullptr;
        while ((box = FindWindowExA(nullptr, box, "#32770", nullptr)) != nullptr) {
            if (GetWindow(box, GW_OWNER) == owner) {
                char text[512];
                GetWindowTextA(box, text, sizeof text);
                seen.caption = text;
                for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
                     child = GetWindow(child, GW_HWNDNEXT)) {
                    char className[16];
                    GetClassNameA(child, className, sizeof className);
                    GetWindowTextA(child, text, sizeof text);
                    if (lstrcmpiA(className, "Static") == 0 && lstrlenA(text) > 0) {
                        seen.text = text;
                    }
                }
                seen.hasCancel = GetDlgItem(box, IDCANCEL) != nullptr;
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                return;
            }
        }
        Sleep(20);
    }
}

struct FatalCase {
    const char* log; // nullptr: no log file at all
    const char* text;
    const char* caption;
};

TEST(WindowsParseEnvironmentTest, ShowsTheFatalConditions) {
    const FatalCase cases[] = {
        {nullptr, "Could not open INSTALL.LOG file.", "Vell Uninstall"},
        {"not a log\r\nTitle: x\r\n", "Invalid INSTALL.LOG file.", "Vell Uninstall"},
    };
    std::string folder = TempFolder("parserfatal");
    for (const FatalCase& test : cases) {
        std::string log = folder + "\\INSTALL.LOG";
        DeleteFileA(log.c_str());
        if (test.log != nullptr) {
            WriteBytes(log, test.log);
        }
        ResetParseResults();
        backgroundWindow = CreatePlainWindow("background");
        startupProgressWindow = CreatePlainWindow("progress");
        HWND progress = startupProgressWindow;
        WindowsParseEnvironment env;
        SeenBox seen;
        std::thread answer(AnswerMessageBox, backgroundWindow, std::ref(seen));

        EXPECT_EQ(1, ParseInstallLog(log.c_str(), installDirectory, env));
        answer.join();

        EXPECT_EQ(test.text, seen.text);
        EXPECT_EQ(test.caption, seen.caption);
        EXPECT_FALSE(seen.hasCancel);
        EXPECT_FALSE(IsWindow(progress)) << "the progress dialog goes first";
        EXPECT_EQ(nullptr, startupProgressWindow);
        EXPECT_TRUE(DeleteFileA(log.c_str()) || test.log == nullptr) << "the log is closed";
        DestroyWindow(backgroundWindow);
    }
    RemoveDirectoryA(folder.c_str());
}

TEST(WindowsParseEnvironmentTest, ShowsTheRightsMessage) {
    backgroundWindow = CreatePlainWindow("background");
    WindowsParseEnvironment env;
    SeenBox seen;
    std::thread answer(AnswerMessageBox, backgroundWindow, std::ref(seen));
    env.ShowError(67, 25);
    answer.join();
    EXPECT_EQ("This software was installed under an account with administrator rights. You should "
              "log onto an account with administrator rights to uninstall this software.",
              seen.text);
    EXPECT_EQ("Uninstall", seen.caption);
    DestroyWindow(backgroundWindow);
}

} // namespace
