// Start/continue, pause and stop as the user issues them, and the error box
// of a refused command.
#include <gtest/gtest.h>

#include "console_session.h"
#include "quorcon_ids.h"

namespace console_test {
namespace {

struct ArgumentsCase {
    const char* commandLine;
    std::vector<std::string> received;
};

TEST(ConsoleCommands, StartHandsOnParametersFromTheThirdOn) {
    const ArgumentsCase cases[] = {
        {"", {}},
        {"one two", {}},
        {"one two three", {"three"}},
        {"one two three four five", {"three", "four", "five"}},
        {"one two \"with blank\" last", {"with blank", "last"}},
    };
    ClearStoredSettings();
    for (const ArgumentsCase& c : cases) {
        SCOPED_TRACE(c.commandLine);
        TestService service("qc_args", "QC Arguments");
        ASSERT_TRUE(service.Installed());
        SetConfiguredServices("qc_args");
        Console console(c.commandLine);
        ASSERT_TRUE(console.WaitForMainWindow());
        ASSERT_TRUE(console.ClickAndWait(IDC_START));
        EXPECT_EQ(Console::StatusFor("qc_args", "Running"), console.Status());
        std::vector<std::string> received;
        ASSERT_TRUE(e2e::ReadServiceStartArguments("qc_args", &received));
        EXPECT_EQ(c.received, received);
        EXPECT_TRUE(console.Close());
    }
}

// Each command returns only after its wait; its refresh shows the new state
// at once, although the service takes its time for every change.
TEST(ConsoleCommands, PauseContinueStopAndStartEachWaitAndRefresh) {
    TestService service("qc_cycle", "QC Cycle");
    ASSERT_TRUE(service.Installed());
    for (const char* option :
         {"StartPendingMs", "PausePendingMs", "ContinuePendingMs", "StopPendingMs"}) {
        ASSERT_TRUE(service.Set(option, 400));
    }
    ASSERT_TRUE(service.StartAndWait(SERVICE_RUNNING));
    SetConfiguredServices("qc_cycle");
    ClearStoredSettings();
    Console console;
    ASSERT_TRUE(console.WaitForMainWindow());

    struct Step {
        int button;
        DWORD state;
        const char* listWord;
        const char* statusWord;
    } steps[] = {
        {IDC_PAUSE, SERVICE_PAUSED, "PAUSED", "Paused"},
        // Start/Continue on a paused service continues it.
        {IDC_START, SERVICE_RUNNING, "STARTED", "Running"},
        {IDC_STOP, SERVICE_STOPPED, "STOPPED", "Stopped"},
        {IDC_START, SERVICE_RUNNING, "STARTED", "Running"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.statusWord);
        ASSERT_TRUE(console.ClickAndWait(step.button));
        EXPECT_EQ(step.state, e2e::QueryServiceState("qc_cycle"));
        EXPECT_EQ(Console::StatusFor("qc_cycle", step.statusWord), console.Status());
        EXPECT_EQ(std::vector<std::string>{std::string("QC Cycle: ") + step.listWord},
                  console.Items());
    }
    EXPECT_TRUE(console.Close());
}

struct RefusalCase {
    const char* name;
    // Makes the service refuse the command; returns the error code the SCM
    // gives for it, learnt by asking it directly.
    DWORD (*prepare)(const TestService&);
    int button;
    const char* statusWord;
};

DWORD RefuseStop(const TestService& service) {
    if (!service.Set("RefuseStop", 1) || !service.StartAndWait(SERVICE_RUNNING) ||
        e2e::ControlServiceByName(service.Name(), SERVICE_CONTROL_STOP)) {
        return 0;
    }
    return GetLastError();
}

DWORD RefuseStart(const TestService& service) {
    if (!service.SetStartType(SERVICE_DISABLED) || e2e::StartServiceByName(service.Name())) {
        return 0;
    }
    return GetLastError();
}

TEST(ConsoleCommands, RefusedCommandShowsOneErrorBoxWithTheSystemsText) {
    const RefusalCase cases[] = {
        {"stop refused", RefuseStop, IDC_STOP, "Running"},
        {"start refused", RefuseStart, IDC_START, "Stopped"},
    };
    ClearStoredSettings();
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        TestService service("qc_refuse", "QC Refuse");
        ASSERT_TRUE(service.Installed());
        const DWORD code = c.prepare(service);
        ASSERT_NE(0u, code);
        SetConfiguredServices("qc_refuse");
        Console console;
        ASSERT_TRUE(console.WaitForMainWindow());
        e2e::Click(console.Control(c.button));
        e2e::MessageBoxInfo box = AnswerNextBox(console);
        EXPECT_EQ("Quorvel", box.caption);
        EXPECT_EQ(ErrorBoxText(code), box.text);
        // One box per failure, and no wait after a refused command.
        e2e::MessageBoxInfo second;
        EXPECT_FALSE(e2e::WaitForMessageBox(console.Pid(), 1000, &second)) << second.text;
        EXPECT_TRUE(console.WaitForStatus(Console::StatusFor("qc_refuse", c.statusWord), 2000))
            << console.Status();
        EXPECT_TRUE(console.Close());
    }
}

} // namespace
} // namespace console_test
