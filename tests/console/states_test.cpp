// Every state a service can be in, as the window shows it: list word, status
// line, buttons and picture.
#include <gtest/gtest.h>

#include <functional>

#include "console_session.h"
#include "quorcon_ids.h"
#include "state_table.h"

namespace console_test {
namespace {

const DWORD kLongPendingMs = 60000;

struct StateCase {
    const char* name;
    // Brings the service into the state, before the console starts.
    std::function<bool(const TestService&)> prepare;
    const char* listWord;
    const char* statusWord;
    bool start, pause, stop;
    int picture;
};

bool Running(const TestService& s) {
    return s.StartAndWait(SERVICE_RUNNING);
}
bool Paused(const TestService& s) {
    return Running(s) && s.ControlAndWait(SERVICE_CONTROL_PAUSE, SERVICE_PAUSED);
}

const StateCase kStates[] = {
    {"stopped", [](const TestService&) { return true; }, "STOPPED", "Stopped", true, false, false,
     kPictureStopped},
    {"running", Running, "STARTED", "Running", false, true, true, kPictureRunning},
    {"paused", Paused, "PAUSED", "Paused", true, false, true, kPicturePaused},
    {"start pending",
     [](const TestService& s) {
         return s.Set("StartPendingMs", kLongPendingMs) && s.StartAndWait(SERVICE_START_PENDING);
     },
     "STARTING", "Start pending", false, false, false, kPictureOther},
    {"stop pending",
     [](const TestService& s) {
         return s.Set("StopPendingMs", kLongPendingMs) && Running(s) &&
                s.ControlAndWait(SERVICE_CONTROL_STOP, SERVICE_STOP_PENDING);
     },
     "STOPPING", "Stop pending", false, false, false, kPictureOther},
    {"pause pending",
     [](const TestService& s) {
         return s.Set("PausePendingMs", kLongPendingMs) && Running(s) &&
                s.ControlAndWait(SERVICE_CONTROL_PAUSE, SERVICE_PAUSE_PENDING);
     },
     "PAUSING", "Pause pending", false, false, false, kPictureOther},
    {"continue pending",
     [](const TestService& s) {
         return s.Set("ContinuePendingMs", kLongPendingMs) && Paused(s) &&
                s.ControlAndWait(SERVICE_CONTROL_CONTINUE, SERVICE_CONTINUE_PENDING);
     },
     "RESTARTING", "Continue pending", false, false, false, kPictureOther},
};

TEST(ConsoleStates, EachStateShowsItsRowOfTheTable) {
    ClearStoredSettings();
    for (const StateCase& c : kStates) {
        SCOPED_TRACE(c.name);
        TestService service("qc_state", "QC State Service");
        ASSERT_TRUE(service.Installed());
        ASSERT_TRUE(c.prepare(service));
        SetConfiguredServices("qc_state");
        Console console;
        ASSERT_TRUE(console.WaitForMainWindow());
        EXPECT_EQ(std::vector<std::string>{std::string("QC State Service: ") + c.listWord},
                  console.Items());
        EXPECT_EQ(Console::StatusFor("qc_state", c.statusWord), console.Status());
        EXPECT_EQ(c.start, console.Enabled(IDC_START));
        EXPECT_EQ(c.pause, console.Enabled(IDC_PAUSE));
        EXPECT_EQ(c.stop, console.Enabled(IDC_STOP));
        EXPECT_TRUE(console.Enabled(IDC_SERVICES));
        EXPECT_TRUE(console.Enabled(IDC_AUTOSTART));
        EXPECT_EQ(c.picture, console.ShownPicture());
        EXPECT_TRUE(console.Close());
    }
}

TEST(ConsoleStates, NoServiceDisablesEverything) {
    ClearStoredSettings();
    SetConfiguredServices("qc_no_such_service");
    Console console;
    ASSERT_TRUE(console.WaitForMainWindow());
    EXPECT_TRUE(console.Items().empty());
    EXPECT_EQ(-1, console.Selection());
    EXPECT_EQ("Unknown server - Unknown service - Unknown state", console.Status());
    for (int id : {IDC_SERVICES, IDC_START, IDC_PAUSE, IDC_STOP, IDC_AUTOSTART}) {
        EXPECT_FALSE(console.Enabled(id)) << "control " << id;
    }
    EXPECT_TRUE(console.Enabled(IDC_REFRESH));
    EXPECT_EQ(kPictureOther, console.ShownPicture());

    // A refresh keeps the no-service case.
    ASSERT_TRUE(console.ClickAndWait(IDC_REFRESH));
    EXPECT_EQ("Unknown server - Unknown service - Unknown state", console.Status());
    EXPECT_TRUE(console.Close());
}

} // namespace
} // namespace console_test
