// The test service through the real SCM: the behaviours other areas' tests
// build on (pending states, failed starts, refused stops, recorded start
// arguments) and the library's service helpers around them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e.h"

namespace {

const DWORD kSettleMs = 10000;
// Long enough to be seen by polling, short enough to keep the suite quick.
const DWORD kPendingMs = 500;

std::string TestServiceExe() {
    return e2e::WindowsPath(TESTSVC_EXE);
}

// Each test has a service of its own, named after the test, and removes it.
class TestServiceTest : public testing::Test {
protected:
    void SetUp() override {
        name_ = std::string("fx_") + testing::UnitTest::GetInstance()->current_test_info()->name();
        ASSERT_TRUE(e2e::InstallService(name_, "Foundation " + name_, TestServiceExe()))
            << GetLastError();
    }
    void TearDown() override { EXPECT_TRUE(e2e::RemoveService(name_)); }

    // The states the service passes through, each change once, until it
    // reaches `last` (or the time is up).
    std::vector<DWORD> StatesUntil(DWORD last, DWORD timeoutMs = kSettleMs) const {
        std::vector<DWORD> states;
        DWORD start = GetTickCount();
        while (GetTickCount() - start < timeoutMs) {
            DWORD state = e2e::QueryServiceState(name_);
            if (states.empty() || states.back() != state) {
                states.push_back(state);
            }
            if (state == last) {
                break;
            }
            ::Sleep(10);
        }
        return states;
    }

    void StartAndWaitRunning(const std::vector<std::string>& arguments = {}) {
        ASSERT_TRUE(e2e::StartServiceByName(name_, arguments)) << GetLastError();
        ASSERT_TRUE(e2e::WaitForServiceState(name_, SERVICE_RUNNING, kSettleMs));
    }

    std::string name_;
};

TEST_F(TestServiceTest, RecordsItsStartArguments) {
    struct Case {
        std::vector<std::string> arguments;
    };
    const Case cases[] = {
        {{}},
        {{"alpha", "two words", "/StopPendingMs=0", "last"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.size());
        StartAndWaitRunning(c.arguments);
        std::vector<std::string> recorded = {"stale"};
        EXPECT_TRUE(e2e::ReadServiceStartArguments(name_, &recorded));
        EXPECT_EQ(recorded, c.arguments);
        ASSERT_TRUE(e2e::ControlServiceByName(name_, SERVICE_CONTROL_STOP));
        ASSERT_TRUE(e2e::WaitForServiceState(name_, SERVICE_STOPPED, kSettleMs));
    }
}

TEST_F(TestServiceTest, StaysStartPendingThenRuns) {
    ASSERT_TRUE(e2e::SetServiceParameter(name_, "StartPendingMs", kPendingMs));
    DWORD start = GetTickCount();
    ASSERT_TRUE(e2e::StartServiceByName(name_));

    // The wait hint and a rising checkpoint tell a waiting caller the start goes on.
    DWORD firstCheckPoint = 0;
    DWORD lastCheckPoint = 0;
    SERVICE_STATUS status = {};
    while (e2e::QueryServiceStatusByName(name_, &status) &&
           status.dwCurrentState == SERVICE_START_PENDING && GetTickCount() - start < kSettleMs) {
        EXPECT_GT(status.dwWaitHint, 0u);
        if (firstCheckPoint == 0) {
            firstCheckPoint = status.dwCheckPoint;
        }
        lastCheckPoint = status.dwCheckPoint;
        ::Sleep(10);
    }
    EXPECT_EQ(status.dwCurrentState, static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_GE(GetTickCount() - start, kPendingMs - 100);
    EXPECT_GT(lastCheckPoint, firstCheckPoint);
    EXPECT_EQ(status.dwControlsAccepted,
              static_cast<DWORD>(SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_PAUSE_CONTINUE));
}

// Pause, continue and stop read their pending time when the control
// arrives: the values are set only after the service runs.
TEST_F(TestServiceTest, PausesContinuesAndStopsThroughPendingStates) {
    StartAndWaitRunning();
    struct Step {
        const char* option;
        DWORD control;
        DWORD pending;
        DWORD target;
    };
    const Step steps[] = {
        {"PausePendingMs", SERVICE_CONTROL_PAUSE, SERVICE_PAUSE_PENDING, SERVICE_PAUSED},
        {"ContinuePendingMs", SERVICE_CONTROL_CONTINUE, SERVICE_CONTINUE_PENDING, SERVICE_RUNNING},
        {"StopPendingMs", SERVICE_CONTROL_STOP, SERVICE_STOP_PENDING, SERVICE_STOPPED},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.option);
        ASSERT_TRUE(e2e::SetServiceParameter(name_, step.option, kPendingMs));
        ASSERT_TRUE(e2e::ControlServiceByName(name_, step.control)) << GetLastError();
        EXPECT_EQ(StatesUntil(step.target), (std::vector<DWORD>{step.pending, step.target}));
    }
}

// A start that falls back to stopped: StartService itself succeeds, the
// service then ends with the chosen exit code.
TEST_F(TestServiceTest, FailedStartFallsBackToStopped) {
    struct Case {
        DWORD registryValue;
        std::vector<std::string> arguments;
        DWORD exitCode; // 0: the start succeeds
    };
    const Case cases[] = {
        {42, {}, 42},
        {0, {"/FailStart=7"}, 7},
        {42, {"/failstart=0"}, 0}, // the argument wins, whatever its case
    };
    ASSERT_TRUE(e2e::SetServiceParameter(name_, "StartPendingMs", 200));
    for (size_t index = 0; index < std::size(cases); ++index) {
        const Case& c = cases[index];
        SCOPED_TRACE(index);
        ASSERT_TRUE(e2e::SetServiceParameter(name_, "FailStart", c.registryValue));
        ASSERT_TRUE(e2e::StartServiceByName(name_, c.arguments)) << GetLastError();
        DWORD target = c.exitCode == 0 ? SERVICE_RUNNING : SERVICE_STOPPED;
        EXPECT_EQ(StatesUntil(target), (std::vector<DWORD>{SERVICE_START_PENDING, target}));
        SERVICE_STATUS status = {};
        ASSERT_TRUE(e2e::QueryServiceStatusByName(name_, &status));
        EXPECT_EQ(status.dwWin32ExitCode, c.exitCode);
        std::vector<std::string> recorded;
        EXPECT_TRUE(e2e::ReadServiceStartArguments(name_, &recorded));
        EXPECT_EQ(recorded, c.arguments);
        if (target == SERVICE_RUNNING) {
            ASSERT_TRUE(e2e::ControlServiceByName(name_, SERVICE_CONTROL_STOP));
            ASSERT_TRUE(e2e::WaitForServiceState(name_, SERVICE_STOPPED, kSettleMs));
        }
    }
}

TEST_F(TestServiceTest, RefusedStopLeavesItRunningYetRemovable) {
    ASSERT_TRUE(e2e::SetServiceParameter(name_, "RefuseStop", 1));
    StartAndWaitRunning();
    SERVICE_STATUS status = {};
    ASSERT_TRUE(e2e::QueryServiceStatusByName(name_, &status));
    EXPECT_EQ(status.dwControlsAccepted, static_cast<DWORD>(SERVICE_ACCEPT_PAUSE_CONTINUE));

    SetLastError(0xdeadbeef);
    EXPECT_FALSE(e2e::ControlServiceByName(name_, SERVICE_CONTROL_STOP));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_SERVICE_CONTROL));
    e2e::Sleep(200);
    EXPECT_EQ(e2e::QueryServiceState(name_), static_cast<DWORD>(SERVICE_RUNNING));

    EXPECT_TRUE(e2e::RemoveService(name_));
    EXPECT_EQ(e2e::QueryServiceState(name_), 0u);
}

// In a pending state the SCM passes no controls on; removal must still end
// the service, and quickly.
TEST_F(TestServiceTest, RemovalEndsAServiceStuckPending) {
    ASSERT_TRUE(e2e::SetServiceParameter(name_, "StartPendingMs", 120000));
    ASSERT_TRUE(e2e::StartServiceByName(name_));
    ASSERT_TRUE(e2e::WaitForServiceState(name_, SERVICE_START_PENDING, kSettleMs));
    DWORD start = GetTickCount();
    EXPECT_TRUE(e2e::RemoveService(name_));
    EXPECT_LT(GetTickCount() - start, 20000u);
    EXPECT_EQ(e2e::QueryServiceState(name_), 0u);
}

} // namespace
