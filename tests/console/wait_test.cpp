// Every way out of the wait after a command: the target state, the user's
// cancel (button, Esc, the wait window's close box), a service that settles
// elsewhere, and closing the main window.
#include <gtest/gtest.h>

#include "common/win_handle.h"
#include "console_session.h"
#include "quorcon_ids.h"

namespace console_test {
namespace {

const char kWaitClass[] = "TdlgServices";
const char kWaitCaption[] = "Wait service action";

struct CancelCase {
    const char* name;
    void (*cancel)(HWND waitWindow);
};

const CancelCase kCancels[] = {
    {"Cancel button", [](HWND wait) { e2e::Click(e2e::FindControl(wait, IDCANCEL)); }},
    {"Esc",
     [](HWND wait) { PostMessageA(e2e::FindControl(wait, IDCANCEL), WM_KEYDOWN, VK_ESCAPE, 0); }},
    {"close box", [](HWND wait) { PostMessageA(wait, WM_CLOSE, 0, 0); }},
};

TEST(ConsoleWait, WaitWindowCancelsAndTheNextWaitRunsToItsEnd) {
    ClearStoredSettings();
    for (const CancelCase& c : kCancels) {
        SCOPED_TRACE(c.name);
        TestService service("qc_wait_cancel", "QC Wait Cancel");
        ASSERT_TRUE(service.Installed());
        ASSERT_TRUE(service.Set("StartPendingMs", 3000));
        SetConfiguredServices("qc_wait_cancel");
        Console console;
        ASSERT_TRUE(console.WaitForMainWindow());

        e2e::Click(console.Control(IDC_START));
        HWND wait = e2e::WaitForTopLevelWindow(console.Pid(), kWaitClass, kWaitCaption, 2500);
        ASSERT_NE(nullptr, wait);
        EXPECT_TRUE(e2e::IsEnabled(e2e::FindControl(wait, IDCANCEL)));
        EXPECT_EQ(SERVICE_START_PENDING, e2e::QueryServiceState("qc_wait_cancel"));
        c.cancel(wait);
        // The wait ends long before the service would have run, and the
        // refresh after it shows the state of the moment.
        EXPECT_TRUE(
            console.WaitForStatus(Console::StatusFor("qc_wait_cancel", "Start pending"), 1500))
            << console.Status();
        for (int i = 0; i < 50 && IsWindowVisible(wait); ++i) {
            e2e::Sleep(20);
        }
        EXPECT_FALSE(IsWindowVisible(wait));
        EXPECT_EQ(SERVICE_START_PENDING, e2e::QueryServiceState("qc_wait_cancel"));

        // The cancel belonged to that wait only: the next one waits for its target.
        ASSERT_TRUE(e2e::WaitForServiceState("qc_wait_cancel", SERVICE_RUNNING, kStateMs));
        ASSERT_TRUE(console.ClickAndWait(IDC_REFRESH));
        ASSERT_TRUE(service.Set("StopPendingMs", 800));
        ASSERT_TRUE(console.ClickAndWait(IDC_STOP));
        EXPECT_EQ(Console::StatusFor("qc_wait_cancel", "Stopped"), console.Status());
        EXPECT_TRUE(console.Close());
    }
}

TEST(ConsoleWait, StartThatFallsBackToStoppedEndsTheWait) {
    ClearStoredSettings();
    // Without pending time the console may never see the start pending.
    for (DWORD pendingMs : {0u, 600u}) {
        SCOPED_TRACE("pending " + std::to_string(pendingMs) + " ms");
        TestService service("qc_wait_fail", "QC Wait Fail");
        ASSERT_TRUE(service.Installed());
        ASSERT_TRUE(service.Set("StartPendingMs", pendingMs));
        ASSERT_TRUE(service.Set("FailStart", 1066));
        SetConfiguredServices("qc_wait_fail");
        Console console;
        ASSERT_TRUE(console.WaitForMainWindow());
        ASSERT_TRUE(console.ClickAndWait(IDC_START, 10000));
        EXPECT_EQ(Console::StatusFor("qc_wait_fail", "Stopped"), console.Status());
        EXPECT_TRUE(console.Enabled(IDC_START));
        EXPECT_TRUE(console.Close());
    }
}

TEST(ConsoleWait, ClosingTheWindowEndsTheWaitAndTheProgram) {
    ClearStoredSettings();
    TestService service("qc_wait_close", "QC Wait Close");
    ASSERT_TRUE(service.Installed());
    ASSERT_TRUE(service.Set("StartPendingMs", 30000));
    SetConfiguredServices("qc_wait_close");
    Console console;
    ASSERT_TRUE(console.WaitForMainWindow());
    e2e::Click(console.Control(IDC_START));
    ASSERT_NE(nullptr, e2e::WaitForTopLevelWindow(console.Pid(), kWaitClass, kWaitCaption, 2500));
    const DWORD start = GetTickCount();
    EXPECT_TRUE(console.Close());
    EXPECT_LT(GetTickCount() - start, 5000u);
    // It ended through its normal path: the settings were saved.
    win::unique_hkey key;
    EXPECT_EQ(ERROR_SUCCESS,
              RegOpenKeyExA(HKEY_CURRENT_USER, kStoredSettingsKey, 0, KEY_READ, key.put()));
    EXPECT_EQ(
        0, RegQueryValueExA(key.get(), "cbServices_ItemIndex", nullptr, nullptr, nullptr, nullptr));
}

TEST(ConsoleWait, ControlsStayUsableDuringAWait) {
    ClearStoredSettings();
    TestService slow("qc_wait_slow", "QC Wait Slow");
    TestService other("qc_wait_other", "QC Wait Other");
    ASSERT_TRUE(slow.Installed() && other.Installed());
    ASSERT_TRUE(slow.Set("StartPendingMs", 2000));
    SetConfiguredServices("qc_wait_slow,qc_wait_other");
    Console console;
    ASSERT_TRUE(console.WaitForMainWindow());
    e2e::Click(console.Control(IDC_START));
    ASSERT_NE(nullptr, e2e::WaitForTopLevelWindow(console.Pid(), kWaitClass, kWaitCaption, 2500));
    // The window answers and handles a selection while it waits.
    e2e::SelectComboItem(console.Control(IDC_SERVICES), 1, 2000);
    EXPECT_EQ(Console::StatusFor("qc_wait_other", "Stopped"), console.Status());
    // The outer wait still ends at its target.
    EXPECT_TRUE(e2e::WaitForServiceState("qc_wait_slow", SERVICE_RUNNING, kStateMs));
    EXPECT_TRUE(console.WaitForStatus(Console::StatusFor("qc_wait_other", "Stopped")));
    EXPECT_TRUE(console.Close());
}

} // namespace
} // namespace console_test
