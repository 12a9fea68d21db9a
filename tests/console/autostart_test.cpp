// The auto-start box: the user's clicks switch the start type, a refused
// switch puts the box back, and the program's own ticks never reach the SCM.
#include <gtest/gtest.h>

#include "common/win_handle.h"
#include "console_session.h"
#include "quorcon_ids.h"

namespace console_test {
namespace {

struct SwitchCase {
    const char* name;
    DWORD before;    // start type when the console starts
    DWORD meanwhile; // start type set behind the console's back, or 0
    bool tickedBefore;
    DWORD after;
};

TEST(ConsoleAutoStart, ClickSwitchesBetweenAutomaticAndDemandStart) {
    const SwitchCase cases[] = {
        {"demand to automatic", SERVICE_DEMAND_START, 0, false, SERVICE_AUTO_START},
        {"automatic to demand", SERVICE_AUTO_START, 0, true, SERVICE_DEMAND_START},
        {"disabled to automatic", SERVICE_DISABLED, 0, false, SERVICE_AUTO_START},
        {"disabled meanwhile, off gives demand", SERVICE_AUTO_START, SERVICE_DISABLED, true,
         SERVICE_DEMAND_START},
    };
    ClearStoredSettings();
    for (const SwitchCase& c : cases) {
        SCOPED_TRACE(c.name);
        TestService service("qc_auto", "QC Auto");
        ASSERT_TRUE(service.Installed());
        ASSERT_TRUE(service.SetStartType(c.before));
        SetConfiguredServices("qc_auto");
        Console console;
        ASSERT_TRUE(console.WaitForMainWindow());
        HWND box = console.Control(IDC_AUTOSTART);
        EXPECT_TRUE(e2e::IsEnabled(box));
        EXPECT_EQ(c.tickedBefore, e2e::IsChecked(box));
        if (c.meanwhile != 0) {
            ASSERT_TRUE(service.SetStartType(c.meanwhile));
        }
        ASSERT_TRUE(e2e::ClickAndWait(box, 10000));
        EXPECT_EQ(!c.tickedBefore, e2e::IsChecked(box));
        EXPECT_EQ(c.after, service.StartType());
        EXPECT_TRUE(console.Close());
    }
}

TEST(ConsoleAutoStart, RefusedSwitchPutsTheBoxBackAndTheNextClickTriesAgain) {
    ClearStoredSettings();
    TestService service("qc_auto_refused", "QC Auto Refused");
    ASSERT_TRUE(service.Installed());
    SetConfiguredServices("qc_auto_refused");
    Console console;
    ASSERT_TRUE(console.WaitForMainWindow());

    // The service goes away behind the console's back; the code the SCM then
    // gives is learnt by asking it directly.
    ASSERT_TRUE(e2e::RemoveService("qc_auto_refused"));
    win::unique_schandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    ASSERT_FALSE(OpenServiceA(manager.get(), "qc_auto_refused", SERVICE_ALL_ACCESS));
    const DWORD code = GetLastError();

    HWND box = console.Control(IDC_AUTOSTART);
    e2e::Click(box);
    e2e::MessageBoxInfo error = AnswerNextBox(console);
    EXPECT_EQ("Quorvel", error.caption);
    EXPECT_EQ(ErrorBoxText(code), error.text);
    e2e::Sleep(200);
    EXPECT_FALSE(e2e::IsChecked(box));

    ASSERT_TRUE(e2e::InstallService("qc_auto_refused", "QC Auto Refused", TestServicePath()));
    ASSERT_TRUE(e2e::ClickAndWait(box, 10000));
    EXPECT_TRUE(e2e::IsChecked(box));
    EXPECT_EQ(static_cast<DWORD>(SERVICE_AUTO_START), service.StartType());
    EXPECT_TRUE(console.Close());
}

// A switch made by the console on its own would turn a disabled service into
// a demand-start one when it clears the tick for it.
TEST(ConsoleAutoStart, ProgramsOwnTicksNeverSwitchTheService) {
    ClearStoredSettings();
    TestService automatic("qc_auto_own_a", "QC Own Automatic");
    TestService disabled("qc_auto_own_d", "QC Own Disabled");
    ASSERT_TRUE(automatic.Installed() && disabled.Installed());
    ASSERT_TRUE(automatic.SetStartType(SERVICE_AUTO_START));
    ASSERT_TRUE(disabled.SetStartType(SERVICE_DISABLED));
    SetConfiguredServices("qc_auto_own_a,qc_auto_own_d");

    Console console;
    ASSERT_TRUE(console.WaitForMainWindow());
    HWND box = console.Control(IDC_AUTOSTART);
    EXPECT_TRUE(e2e::IsChecked(box));
    e2e::SelectComboItem(console.Control(IDC_SERVICES), 1);
    EXPECT_FALSE(e2e::IsChecked(box));
    e2e::SelectComboItem(console.Control(IDC_SERVICES), 0);
    EXPECT_TRUE(e2e::IsChecked(box));
    e2e::SelectComboItem(console.Control(IDC_SERVICES), 1);
    ASSERT_TRUE(console.ClickAndWait(IDC_REFRESH));
    EXPECT_FALSE(e2e::IsChecked(box));
    e2e::MessageBoxInfo unexpected;
    EXPECT_FALSE(e2e::WaitForMessageBox(console.Pid(), 500, &unexpected)) << unexpected.text;
    EXPECT_EQ(static_cast<DWORD>(SERVICE_AUTO_START), automatic.StartType());
    EXPECT_EQ(static_cast<DWORD>(SERVICE_DISABLED), disabled.StartType());
    EXPECT_TRUE(console.Close());
}

} // namespace
} // namespace console_test
