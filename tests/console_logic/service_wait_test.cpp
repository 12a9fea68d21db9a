#include "service_wait.h"

#include "state_table.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Poll {
    unsigned atMs;
    bool queried;
    int state;
};

// Feeds the polls in order and returns the first step that is not Continue,
// with the time of its poll.
std::pair<WaitStep, unsigned> RunPolls(int target, const std::vector<Poll>& polls,
                                       unsigned cancelAtMs = ~0u) {
    ServiceWaitTracker tracker(target);
    for (const Poll& poll : polls) {
        WaitStep step = tracker.Poll(poll.atMs >= cancelAtMs, poll.queried, poll.state, poll.atMs);
        if (step != WaitStep::Continue) {
            return {step, poll.atMs};
        }
    }
    return {WaitStep::Continue, 0};
}

TEST(ServiceWait, EndsAtTheTarget) {
    auto [step, at] =
        RunPolls(kStateRunning, {{10, true, kStateStartPending}, {20, true, kStateRunning}});
    EXPECT_EQ(WaitStep::ReachedTarget, step);
    EXPECT_EQ(20u, at);
}

TEST(ServiceWait, FallbackAfterPendingEndsAtOnce) {
    auto [step, at] = RunPolls(kStateRunning, {{10, true, kStateStartPending},
                                               {20, true, kStateStartPending},
                                               {30, true, kStateStopped}});
    EXPECT_EQ(WaitStep::Settled, step);
    EXPECT_EQ(30u, at);
}

TEST(ServiceWait, OtherStateWithoutPendingEndsOnlyAfterTheGrace) {
    const unsigned grace = ServiceWaitTracker::kSettleGraceMs;
    // Running after a stop command: the service may not have said "stop
    // pending" yet, so it gets the grace before the wait gives up.
    auto [step, at] = RunPolls(kStateStopped, {{10, true, kStateRunning},
                                               {10 + grace - 1, true, kStateRunning},
                                               {10 + grace, true, kStateRunning}});
    EXPECT_EQ(WaitStep::Settled, step);
    EXPECT_EQ(10 + grace, at);

    // It turned pending within the grace, so the wait goes on to the target.
    auto late = RunPolls(kStateStopped, {{10, true, kStateRunning},
                                         {grace, true, kStateStopPending},
                                         {3 * grace, true, kStateStopPending},
                                         {4 * grace, true, kStateStopped}});
    EXPECT_EQ(WaitStep::ReachedTarget, late.first);
}

TEST(ServiceWait, FailedQueriesDecideNothing) {
    const unsigned grace = ServiceWaitTracker::kSettleGraceMs;
    auto [step, at] = RunPolls(kStatePaused, {{10, false, 0},
                                              {10 + 2 * grace, false, kStateRunning},
                                              {20 + 2 * grace, true, kStatePaused}});
    EXPECT_EQ(WaitStep::ReachedTarget, step);
    EXPECT_EQ(20 + 2 * grace, at);
}

TEST(ServiceWait, CancelEndsAnyWait) {
    auto [step, at] = RunPolls(
        kStateRunning,
        {{10, true, kStateStartPending}, {20, true, kStateStartPending}, {30, true, kStateRunning}},
        20);
    EXPECT_EQ(WaitStep::Cancelled, step);
    EXPECT_EQ(20u, at);
}

} // namespace
