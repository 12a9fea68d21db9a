#pragma once
// When the wait after a service command ends. Besides the target state and
// the user's cancel, a wait also ends when the service settles in another
// state: a start that falls back to stopped, a pause the service ignores.
// Without that, a service that never reaches the target would hold the
// console in its wait forever.

enum class WaitStep {
    Continue,
    ReachedTarget,
    Settled,   // not pending and not the target: the service will not get there
    Cancelled, // the user cancelled, or the window is closing
};

class ServiceWaitTracker {
public:
    // A service that is not pending may simply not have reported its new
    // pending state yet; only after this long in such a state, without having
    // been seen pending, does it count as settled.
    static constexpr unsigned kSettleGraceMs = 500;

    explicit ServiceWaitTracker(int targetState) : targetState_(targetState) {}

    // One poll at `elapsedMs` since the command. `queried` is false when the
    // status query failed; that poll then decides nothing.
    WaitStep Poll(bool cancelled, bool queried, int state, unsigned elapsedMs);

private:
    int targetState_;
    bool sawPending_ = false;
    bool sawOther_ = false;
    unsigned otherSinceMs_ = 0;
};
