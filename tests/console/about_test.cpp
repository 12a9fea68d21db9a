// The system menu's about box and the ordinary system commands.
#include <gtest/gtest.h>

#include <cstdio>

#include "console_session.h"
#include "quorcon_ids.h"

namespace console_test {
namespace {

struct VersionTexts {
    std::string product, version, copyright, comments;
};

// What the about box must show, read from the program file by the test itself.
VersionTexts ReadVersionTexts(const std::string& path) {
    DWORD ignored = 0;
    std::vector<char> data(GetFileVersionInfoSizeA(path.c_str(), &ignored));
    GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(data.size()), data.data());
    WORD* translation = nullptr;
    UINT length = 0;
    VerQueryValueA(data.data(), "\\VarFileInfo\\Translation",
                   reinterpret_cast<void**>(&translation), &length);
    char block[64];
    std::snprintf(block, sizeof block, "\\StringFileInfo\\%04x%04x\\", translation[0],
                  translation[1]);
    auto text = [&](const char* name) {
        char* value = nullptr;
        UINT size = 0;
        std::string path = std::string(block) + name;
        return VerQueryValueA(data.data(), path.c_str(), reinterpret_cast<void**>(&value), &size)
                   ? std::string(value)
                   : std::string();
    };
    return {text("ProductName"), text("FileVersion"), text("LegalCopyright"), text("Comments")};
}

struct CloseCase {
    const char* name;
    void (*close)(HWND box);
};

const CloseCase kCloses[] = {
    {"OK", [](HWND box) { e2e::Click(e2e::FindControl(box, IDOK)); }},
    {"Esc", [](HWND box) { PostMessageA(e2e::FindControl(box, IDOK), WM_KEYDOWN, VK_ESCAPE, 0); }},
    {"close box", [](HWND box) { PostMessageA(box, WM_CLOSE, 0, 0); }},
};

TEST(ConsoleAbout, SystemMenuOpensTheAboutBoxWithTheVersionTexts) {
    ClearStoredSettings();
    SetConfiguredServices("qc_no_such_service");
    const VersionTexts expected = ReadVersionTexts(QuorconPath());
    ASSERT_EQ("Quorvel", expected.product);
    ASSERT_EQ("2.0.0.0", expected.version);
    Console console;
    ASSERT_TRUE(console.WaitForMainWindow());
    RECT owner = {};
    GetWindowRect(console.Window(), &owner);
    // Opened again and again, it reads its texts afresh each time.
    for (const CloseCase& c : kCloses) {
        SCOPED_TRACE(c.name);
        PostMessageA(console.Window(), WM_SYSCOMMAND, IDM_ABOUT, 0);
        HWND box = e2e::WaitForTopLevelWindow(console.Pid(), "#32770", "About", kWindowMs);
        ASSERT_NE(nullptr, box);
        EXPECT_EQ(expected.product, e2e::GetText(e2e::FindControl(box, IDC_ABOUT_NAME)));
        EXPECT_EQ(expected.version, e2e::GetText(e2e::FindControl(box, IDC_ABOUT_VERSION)));
        EXPECT_EQ(expected.copyright, e2e::GetText(e2e::FindControl(box, IDC_ABOUT_COPYRIGHT)));
        EXPECT_EQ(expected.comments, e2e::GetText(e2e::FindControl(box, IDC_ABOUT_COMMENTS)));
        EXPECT_EQ("&OK", e2e::GetText(e2e::FindControl(box, IDOK)));
        RECT client = {};
        GetClientRect(box, &client);
        EXPECT_EQ(294, client.right);
        EXPECT_EQ(132, client.bottom);
        RECT frame = {};
        GetWindowRect(box, &frame);
        EXPECT_NEAR((owner.left + owner.right) / 2, (frame.left + frame.right) / 2, 1);
        EXPECT_NEAR((owner.top + owner.bottom) / 2, (frame.top + frame.bottom) / 2, 1);
        // Modal: the main window waits.
        EXPECT_FALSE(IsWindowEnabled(console.Window()));
        c.close(box);
        for (int i = 0; i < 100 && IsWindow(box); ++i) {
            e2e::Sleep(20);
        }
        EXPECT_FALSE(IsWindow(box));
        EXPECT_TRUE(IsWindowEnabled(console.Window()));
    }
    EXPECT_TRUE(console.Close());
}

TEST(ConsoleAbout, OtherSystemCommandsBehaveAsUsual) {
    ClearStoredSettings();
    SetConfiguredServices("qc_no_such_service");
    Console console;
    ASSERT_TRUE(console.WaitForMainWindow());
    PostMessageA(console.Window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    e2e::Sleep(300);
    EXPECT_TRUE(IsIconic(console.Window()));
    PostMessageA(console.Window(), WM_SYSCOMMAND, SC_RESTORE, 0);
    e2e::Sleep(300);
    EXPECT_FALSE(IsIconic(console.Window()));
    PostMessageA(console.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    DWORD exitCode = 1;
    EXPECT_TRUE(console.Program().WaitForExit(kWindowMs, &exitCode));
    EXPECT_EQ(0u, exitCode);
}

} // namespace
} // namespace console_test
