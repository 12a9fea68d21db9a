#include "service_wait.h"

#include "state_table.h"

WaitStep ServiceWaitTracker::Poll(bool cancelled, bool queried, int state, unsigned elapsedMs) {
    if (cancelled) {
        return WaitStep::Cancelled;
    }
    if (!queried) {
        return WaitStep::Continue;
    }
    if (state == targetState_) {
        return WaitStep::ReachedTarget;
    }
    if (IsPendingState(state)) {
        sawPending_ = true;
        sawOther_ = false;
        return WaitStep::Continue;
    }
    if (sawPending_) {
        return WaitStep::Settled;
    }
    if (!sawOther_) {
        sawOther_ = true;
        otherSinceMs_ = elapsedMs;
    }
    return elapsedMs - otherSinceMs_ >= kSettleGraceMs ? WaitStep::Settled : WaitStep::Continue;
}
