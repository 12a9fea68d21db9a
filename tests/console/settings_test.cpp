// The configured service list and the settings the window keeps between runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <utility>

#include "common/win_handle.h"
#include "console_session.h"
#include "quorcon_ids.h"

namespace console_test {
namespace {

const char kNotDefined[] = "Services not defined 'HKCU\\SOFTWARE\\Orvalinth\\Quorvel' - Services";

void CheckNoServiceWindow(const Console& console) {
    EXPECT_TRUE(console.Items().empty());
    EXPECT_EQ("Unknown server - Unknown service - Unknown state", console.Status());
    for (int id : {IDC_SERVICES, IDC_START, IDC_PAUSE, IDC_STOP, IDC_AUTOSTART}) {
        EXPECT_FALSE(console.Enabled(id)) << "control " << id;
    }
}

struct ServicesValueCase {
    const char* name;
    void (*write)();
    bool message;
};

void WriteDword() {
    DeleteConfiguredServices();
    win::unique_hkey key;
    RegCreateKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\Orvalinth\\Quorvel", 0, nullptr, 0, KEY_SET_VALUE,
                    nullptr, key.put(), nullptr);
    DWORD value = 1;
    RegSetValueExA(key.get(), "Services", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                   sizeof value);
}

TEST(ConsoleSettings, UndefinedServicesGiveTheMessageAndAnEmptyList) {
    const ServicesValueCase cases[] = {
        {"missing", DeleteConfiguredServices, true},
        {"empty", [] { SetConfiguredServices(""); }, true},
        {"not text", WriteDword, true},
        // Not empty, although it names nothing: no message.
        {"separators only", [] { SetConfiguredServices(";,,;"); }, false},
    };
    for (const ServicesValueCase& c : cases) {
        SCOPED_TRACE(c.name);
        ClearStoredSettings();
        c.write();
        Console console;
        ASSERT_TRUE(console.Started());
        if (c.message) {
            e2e::MessageBoxInfo box = AnswerNextBox(console);
            EXPECT_EQ("Quorvel", box.caption);
            EXPECT_EQ(kNotDefined, box.text);
        }
        ASSERT_TRUE(console.WaitForMainWindow());
        CheckNoServiceWindow(console);
        e2e::MessageBoxInfo unexpected;
        EXPECT_FALSE(e2e::WaitForMessageBox(console.Pid(), 300, &unexpected)) << unexpected.text;
        EXPECT_TRUE(console.Close());
    }
}

using Values = std::vector<std::pair<std::string, std::string>>;

Values ReadStoredValues() {
    Values values;
    win::unique_hkey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kStoredSettingsKey, 0, KEY_READ, key.put()) !=
        ERROR_SUCCESS) {
        return values;
    }
    for (DWORD index = 0;; ++index) {
        char name[256] = {};
        char data[1024] = {};
        DWORD nameSize = sizeof name;
        DWORD dataSize = sizeof data - 1;
        DWORD type = 0;
        if (RegEnumValueA(key.get(), index, name, &nameSize, nullptr, &type,
                          reinterpret_cast<BYTE*>(data), &dataSize) != ERROR_SUCCESS) {
            break;
        }
        values.emplace_back(name, type == REG_SZ ? data : "(not text)");
    }
    return values;
}

void WriteStoredValues(const Values& values) {
    ClearStoredSettings();
    win::unique_hkey key;
    RegCreateKeyExA(HKEY_CURRENT_USER, kStoredSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                    key.put(), nullptr);
    for (const auto& [name, text] : values) {
        RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1));
    }
}

std::string ScreenSuffix() {
    return "(" + std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "x" +
           std::to_string(GetSystemMetrics(SM_CYSCREEN)) + ")";
}

std::string FourNumbers(LONG a, LONG b, LONG c, LONG d) {
    return std::to_string(a) + "," + std::to_string(b) + "," + std::to_string(c) + "," +
           std::to_string(d);
}

TEST(ConsoleSettings, ExitWritesEveryValueAsTextInOrder) {
    ClearStoredSettings();
    SetConfiguredServices("qc_no_such_service");
    Console console;
    ASSERT_TRUE(console.WaitForMainWindow());
    // The computer's name fills the empty server field.
    EXPECT_EQ(ComputerName(), e2e::GetText(console.Control(IDC_SERVER)));
    ASSERT_TRUE(SetWindowPos(console.Window(), nullptr, 100, 120, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
    e2e::Sleep(100);
    RECT frame = {};
    GetWindowRect(console.Window(), &frame);
    ASSERT_TRUE(console.Close());

    HDC screen = GetDC(nullptr);
    const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    // Wine enumerates values by name, not in the order they were written, so
    // the order is left to the store's own tests; here every value and its text.
    const Values values = ReadStoredValues();
    const std::map<std::string, std::string> stored(values.begin(), values.end());
    const std::string normPos = FourNumbers(frame.left, frame.top, frame.right, frame.bottom);
    ASSERT_EQ(11u, values.size());
    const std::string minMaxPos = stored.count("MinMaxPos") ? stored.at("MinMaxPos") : "";
    EXPECT_EQ(3, std::count(minMaxPos.begin(), minMaxPos.end(), ',')) << minMaxPos;
    const std::map<std::string, std::string> expected = {
        {"FormVersion", "0"},
        {"Flags", "0"},
        {"ShowCmd", "1"},
        {"PixelsPerInch", std::to_string(pixelsPerInch)},
        {"MinMaxPos" + ScreenSuffix(), minMaxPos},
        {"MinMaxPos", minMaxPos},
        {"NormPos" + ScreenSuffix(), normPos},
        {"NormPos", normPos},
        {"Visible", "0"},
        {"elServer_Text", ComputerName()},
        {"cbServices_ItemIndex", "-1"},
    };
    EXPECT_EQ(expected, stored);
}

TEST(ConsoleSettings, ServerPositionAndSelectionComeBackAtTheNextStart) {
    TestService one("qc_set_one", "QC One");
    TestService two("qc_set_two", "QC Two");
    TestService three("qc_set_three", "QC Three");
    ASSERT_TRUE(one.Installed() && two.Installed() && three.Installed());
    SetConfiguredServices("qc_set_one,qc_set_two,qc_set_three");
    ClearStoredSettings();
    // Another spelling of this computer: the same services, a visible difference.
    std::string server = ComputerName();
    for (char& c : server) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    {
        Console console;
        ASSERT_TRUE(console.WaitForMainWindow());
        SendMessageA(console.Control(IDC_SERVER), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(server.c_str()));
        e2e::SelectComboItem(console.Control(IDC_SERVICES), 2);
        SetWindowPos(console.Window(), nullptr, 150, 160, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        e2e::Sleep(100);
        ASSERT_TRUE(console.Close());
    }
    Console console;
    ASSERT_TRUE(console.WaitForMainWindow());
    EXPECT_EQ(server, e2e::GetText(console.Control(IDC_SERVER)));
    EXPECT_EQ(2, console.Selection());
    EXPECT_EQ(server + " - qc_set_three - Stopped", console.Status());
    RECT frame = {};
    GetWindowRect(console.Window(), &frame);
    EXPECT_EQ(150, frame.left);
    EXPECT_EQ(160, frame.top);
    EXPECT_TRUE(console.Close());
}

TEST(ConsoleSettings, StoredIndexSelectsAnEntryOfTheRefilledList) {
    TestService one("qc_idx_one", "QC One");
    TestService two("qc_idx_two", "QC Two");
    TestService three("qc_idx_three", "QC Three");
    ASSERT_TRUE(one.Installed() && two.Installed() && three.Installed());
    SetConfiguredServices("qc_idx_one,qc_idx_two,qc_idx_three");
    const std::pair<const char*, int> cases[] = {{"1", 1}, {"2", 2}, {"7", 2}, {"-1", 0}, {"x", 0}};
    for (const auto& [stored, selected] : cases) {
        SCOPED_TRACE(stored);
        WriteStoredValues({{"cbServices_ItemIndex", stored}});
        Console console;
        ASSERT_TRUE(console.WaitForMainWindow());
        EXPECT_EQ(selected, console.Selection());
        EXPECT_TRUE(console.Close());
    }
}

struct PositionCase {
    const char* name;
    Values values;
    POINT expected;
};

TEST(ConsoleSettings, PositionPerScreenSizeAndPixelDensity) {
    SetConfiguredServices("qc_no_such_service");
    const std::string sized = "NormPos" + ScreenSuffix();
    HDC screen = GetDC(nullptr);
    const std::string pixelsPerInch = std::to_string(GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    const POINT designed = {604, 238};
    const PositionCase cases[] = {
        {"sized first", {{"NormPos", "300,310,0,0"}, {sized, "200,210,0,0"}}, {200, 210}},
        {"plain for a size never seen",
         {{"NormPos", "300,310,0,0"}, {"NormPos(1x1)", "5,5,0,0"}},
         {300, 310}},
        {"same density",
         {{"NormPos", "300,310,0,0"}, {"PixelsPerInch", pixelsPerInch}},
         {300, 310}},
        {"another density", {{"NormPos", "300,310,0,0"}, {"PixelsPerInch", "1"}}, designed},
        {"newer form version", {{"NormPos", "300,310,0,0"}, {"FormVersion", "-1"}}, designed},
        {"missing numbers keep the designed place", {{"NormPos", "x,250"}}, {604, 250}},
        {"nothing stored", {}, designed},
    };
    for (const PositionCase& c : cases) {
        SCOPED_TRACE(c.name);
        WriteStoredValues(c.values);
        Console console;
        ASSERT_TRUE(console.WaitForMainWindow());
        RECT frame = {};
        GetWindowRect(console.Window(), &frame);
        EXPECT_EQ(c.expected.x, frame.left);
        EXPECT_EQ(c.expected.y, frame.top);
        // The border is fixed: the stored size never applies.
        RECT client = {};
        GetClientRect(console.Window(), &client);
        EXPECT_EQ(265, client.right);
        EXPECT_EQ(252, client.bottom);
        EXPECT_TRUE(console.Close());
    }
}

} // namespace
} // namespace console_test

namespace console_test {
namespace {

// The settings key is named after the running program file, so a renamed
// copy keeps its own settings.
TEST(ConsoleSettings, RenamedCopyKeepsItsOwnSettings) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    const std::string copy = std::string(folder) + "qc_renamed.exe";
    ASSERT_TRUE(CopyFileA(QuorconPath().c_str(), copy.c_str(), FALSE)) << GetLastError();
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\qc_renamed\\SOFTWARE\\Orvalinth\\Services");
    SetConfiguredServices("qc_no_such_service");
    ClearStoredSettings();
    {
        e2e::Program program = e2e::Program::Start(copy, "");
        HWND window = e2e::WaitForTopLevelWindow(program.Pid(), "TfrmMain", "Quorvel", kWindowMs);
        ASSERT_NE(nullptr, window);
        PostMessageA(window, WM_CLOSE, 0, 0);
        DWORD exitCode = 1;
        EXPECT_TRUE(program.WaitForExit(kWindowMs, &exitCode));
        EXPECT_EQ(0u, exitCode);
    }
    win::unique_hkey key;
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER,
                                           "Software\\qc_renamed\\SOFTWARE\\Orvalinth\\Services", 0,
                                           KEY_READ, key.put()));
    win::unique_hkey original;
    EXPECT_NE(ERROR_SUCCESS,
              RegOpenKeyExA(HKEY_CURRENT_USER, kStoredSettingsKey, 0, KEY_READ, original.put()));
    DeleteFileA(copy.c_str());
}

} // namespace
} // namespace console_test
