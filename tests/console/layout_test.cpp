// The main window's controls where the design puts them, in its tab order.
#include <gtest/gtest.h>

#include "console_session.h"
#include "quorcon_ids.h"

namespace console_test {
namespace {

struct Place {
    int id;
    int left, top, width, height;
};

// Client pixels. The check box may be wider where the system's substituted
// font needs it; it is never narrower.
const Place kPlaces[] = {
    {IDC_SERVER, 80, 16, 169, 21},        {IDC_SERVICES, 80, 46, 169, 21},
    {IDC_REFRESH, 80, 74, 169, 21},       {IDC_START, 102, 112, 27, 24},
    {IDC_PAUSE, 102, 144, 27, 24},        {IDC_STOP, 102, 176, 27, 24},
    {IDC_STATE_PICTURE, 16, 112, 55, 64}, {IDC_STATUSBAR, 0, 234, 265, 18},
    {IDC_AUTOSTART, 8, 212, 179, 17},
};

TEST(ConsoleLayout, ControlsSitWhereDesignedInTabOrder) {
    ClearStoredSettings();
    SetConfiguredServices("qc_no_such_service");
    Console console;
    ASSERT_TRUE(console.WaitForMainWindow());
    for (const Place& place : kPlaces) {
        SCOPED_TRACE("control " + std::to_string(place.id));
        HWND control = console.Control(place.id);
        ASSERT_NE(nullptr, control);
        RECT rect = {};
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, console.Window(), reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(place.left, rect.left);
        EXPECT_EQ(place.top, rect.top);
        if (place.id == IDC_AUTOSTART) {
            EXPECT_GE(rect.right - rect.left, place.width);
            EXPECT_LE(rect.right, 265);
        } else {
            EXPECT_EQ(place.width, rect.right - rect.left);
        }
        EXPECT_EQ(place.height, rect.bottom - rect.top);
    }

    std::vector<int> tabOrder;
    for (HWND child = GetWindow(console.Window(), GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongA(child, GWL_STYLE) & WS_TABSTOP) != 0) {
            tabOrder.push_back(GetDlgCtrlID(child));
        }
    }
    const std::vector<int> expected = {IDC_SERVER, IDC_SERVICES, IDC_REFRESH,  IDC_START,
                                       IDC_PAUSE,  IDC_STOP,     IDC_AUTOSTART};
    EXPECT_EQ(expected, tabOrder);

    // Each label's accelerator belongs to the button right after it.
    for (auto [label, button] : {std::pair<int, int>{IDC_LABEL_START, IDC_START},
                                 {IDC_LABEL_PAUSE, IDC_PAUSE},
                                 {IDC_LABEL_STOP, IDC_STOP}}) {
        EXPECT_EQ(console.Control(button), GetWindow(console.Control(label), GW_HWNDNEXT));
    }
    EXPECT_EQ("&Start/Continue", e2e::GetText(console.Control(IDC_LABEL_START)));
    EXPECT_EQ("&Pause", e2e::GetText(console.Control(IDC_LABEL_PAUSE)));
    EXPECT_EQ("St&op", e2e::GetText(console.Control(IDC_LABEL_STOP)));
    EXPECT_TRUE(console.Close());
}

// Which control of the console has the keyboard focus, once `expected` has
// it or after a second.
HWND FocusAfter(const Console& console, HWND expected) {
    const DWORD thread = GetWindowThreadProcessId(console.Window(), nullptr);
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    for (int i = 0; i < 50; ++i) {
        e2e::Sleep(20);
        if (GetGUIThreadInfo(thread, &info) && info.hwndFocus == expected) {
            break;
        }
    }
    return info.hwndFocus;
}

// Tab walks the controls; Alt and a label's letter moves the focus to the
// label's button.
TEST(ConsoleLayout, KeyboardMovesTheFocus) {
    TestService service("qc_layout_keys", "QC Keys");
    ASSERT_TRUE(service.Installed());
    ASSERT_TRUE(service.StartAndWait(SERVICE_RUNNING));
    ClearStoredSettings();
    SetConfiguredServices("qc_layout_keys");
    Console console;
    ASSERT_TRUE(console.WaitForMainWindow());
    PostMessageA(console.Window(), WM_NEXTDLGCTL,
                 reinterpret_cast<WPARAM>(console.Control(IDC_SERVER)), TRUE);
    EXPECT_EQ(console.Control(IDC_SERVER), FocusAfter(console, console.Control(IDC_SERVER)));
    PostMessageA(console.Control(IDC_SERVER), WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(console.Control(IDC_SERVICES), FocusAfter(console, console.Control(IDC_SERVICES)));
    // Start/Continue is disabled for a running service: its accelerator has
    // nothing to focus, so only Pause and Stop are tried.
    for (auto [key, button] : {std::pair<char, int>{'p', IDC_PAUSE}, {'o', IDC_STOP}}) {
        SCOPED_TRACE(std::string(1, key));
        PostMessageA(console.Control(IDC_SERVER), WM_SYSCHAR, static_cast<WPARAM>(key), 1 << 29);
        EXPECT_EQ(console.Control(button), FocusAfter(console, console.Control(button)));
    }
    // Stop, pressed from the keyboard, disables itself: the focus moves on
    // to the next control that takes it.
    PostMessageA(console.Control(IDC_STOP), WM_KEYDOWN, VK_SPACE, 0);
    PostMessageA(console.Control(IDC_STOP), WM_KEYUP, VK_SPACE, 0xC0000001);
    EXPECT_TRUE(console.WaitForStatus(Console::StatusFor("qc_layout_keys", "Stopped")));
    EXPECT_EQ(console.Control(IDC_AUTOSTART), FocusAfter(console, console.Control(IDC_AUTOSTART)));
    EXPECT_TRUE(console.Close());
}

} // namespace
} // namespace console_test
