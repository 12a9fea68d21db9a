// Which services the list offers, in which order and with which texts.
#include <gtest/gtest.h>

#include "common/win_handle.h"
#include "console_session.h"
#include "quorcon_ids.h"

namespace console_test {
namespace {

// Whether the computer's services need more than `size` bytes to enumerate.
bool EnumerationExceeds(DWORD size) {
    win::unique_schandle manager(OpenSCManagerA(nullptr, nullptr, GENERIC_READ | GENERIC_EXECUTE));
    std::vector<BYTE> buffer(size);
    DWORD needed = 0;
    DWORD count = 0;
    DWORD resume = 0;
    return !EnumServicesStatusA(manager.get(), 0x13F, SERVICE_STATE_ALL,
                                reinterpret_cast<ENUM_SERVICE_STATUSA*>(buffer.data()), size,
                                &needed, &count, &resume);
}

TEST(ConsoleListing, OnlyConfiguredKeyNamesInConfiguredOrder) {
    TestService beta("qc_list_beta", "QC List Beta");
    TestService alpha("qc_list_alpha", "QC List Alpha");
    // Sorted last among many services: it comes after the first 1,024 bytes.
    TestService late("zz_qc_list_late", "Late Service");
    ASSERT_TRUE(beta.Installed() && alpha.Installed() && late.Installed());
    ASSERT_TRUE(alpha.StartAndWait(SERVICE_RUNNING));
    ASSERT_TRUE(EnumerationExceeds(1024));

    // Letter case of key names does not matter; a display name, a name with a
    // leading blank and an unknown name give nothing; a duplicate lists twice.
    SetConfiguredServices(";zz_qc_list_late;QC_LIST_BETA,,qc_list_missing;QC List Alpha; "
                          "qc_list_alpha,qc_list_alpha;qc_list_beta;");
    ClearStoredSettings();
    Console console;
    ASSERT_TRUE(console.WaitForMainWindow());
    const std::vector<std::string> expected = {
        "Late Service: STOPPED",
        "QC List Beta: STOPPED",
        "QC List Alpha: STARTED",
        "QC List Beta: STOPPED",
    };
    EXPECT_EQ(expected, console.Items());
    EXPECT_EQ(0, console.Selection());
    EXPECT_EQ(Console::StatusFor("zz_qc_list_late", "Stopped"), console.Status());

    // The status line names the key name, not the display name.
    e2e::SelectComboItem(console.Control(IDC_SERVICES), 1);
    EXPECT_EQ(Console::StatusFor("qc_list_beta", "Stopped"), console.Status());
    EXPECT_TRUE(console.Close());
}

TEST(ConsoleListing, RefreshShowsStateChangesMadeElsewhere) {
    TestService service("qc_list_refresh", "QC Refresh");
    ASSERT_TRUE(service.Installed());
    SetConfiguredServices("qc_list_refresh");
    ClearStoredSettings();
    Console console;
    ASSERT_TRUE(console.WaitForMainWindow());
    EXPECT_EQ(std::vector<std::string>{"QC Refresh: STOPPED"}, console.Items());

    ASSERT_TRUE(service.StartAndWait(SERVICE_RUNNING));
    // The window does not poll by itself.
    EXPECT_EQ(Console::StatusFor("qc_list_refresh", "Stopped"), console.Status());
    ASSERT_TRUE(console.ClickAndWait(IDC_REFRESH));
    EXPECT_EQ(std::vector<std::string>{"QC Refresh: STARTED"}, console.Items());
    EXPECT_EQ(Console::StatusFor("qc_list_refresh", "Running"), console.Status());
    EXPECT_TRUE(console.Close());
}

} // namespace
} // namespace console_test

namespace console_test {
namespace {

// The server field goes to the manager exactly as typed, once it loses the
// focus; an empty field is the local computer.
TEST(ConsoleListing, ServerFieldIsTakenAsTyped) {
    TestService service("qc_list_server", "QC Server");
    ASSERT_TRUE(service.Installed());
    SetConfiguredServices("qc_list_server");
    ClearStoredSettings();
    const std::pair<std::string, std::string> cases[] = {
        {"", "local"},
        {"\\\\" + ComputerName(), "\\\\" + ComputerName()},
    };
    Console console;
    ASSERT_TRUE(console.WaitForMainWindow());
    for (const auto& [typed, shown] : cases) {
        SCOPED_TRACE(shown);
        HWND server = console.Control(IDC_SERVER);
        SendMessageA(server, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
        SendMessageA(server, WM_KILLFOCUS, 0, 0);
        ASSERT_TRUE(console.ClickAndWait(IDC_START));
        EXPECT_EQ(shown + " - qc_list_server - Running", console.Status());
        ASSERT_TRUE(console.ClickAndWait(IDC_STOP));
        EXPECT_EQ(shown + " - qc_list_server - Stopped", console.Status());
    }
    EXPECT_TRUE(console.Close());
}

} // namespace
} // namespace console_test
