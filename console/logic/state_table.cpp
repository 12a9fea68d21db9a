#include "state_table.h"

namespace {

const StateRow kRows[] = {
    {"Stopped", "Stopped", true, false, false, kPictureStopped},
    {"Starting", "Start pending", false, false, false, kPictureOther},
    {"Stopping", "Stop pending", false, false, false, kPictureOther},
    {"Started", "Running", false, true, true, kPictureRunning},
    {"Restarting", "Continue pending", false, false, false, kPictureOther},
    {"Pausing", "Pause pending", false, false, false, kPictureOther},
    {"Paused", "Paused", true, false, true, kPicturePaused},
};

const StateRow kUnknownRow = {"", "Unknown state", false, false, false, kPictureOther};

} // namespace

const StateRow& StateRowFor(int state) {
    if (state < kStateStopped || state > kStatePaused) {
        return kUnknownRow;
    }
    return kRows[state - kStateStopped];
}

bool IsPendingState(int state) {
    return state == kStateStartPending || state == kStateStopPending ||
           state == kStateContinuePending || state == kStatePausePending;
}

std::string FormatStateLine(const std::string& server, const std::string& service, int state) {
    return (server.empty() ? std::string("local") : server) + " - " +
           (service.empty() ? std::string("Unknown service") : service) + " - " +
           StateRowFor(state).statusWord;
}

std::string FormatServiceErrorMessage(const std::string& systemText) {
    std::string text = systemText;
    while (!text.empty() && (static_cast<unsigned char>(text.back()) <= 32 || text.back() == '.')) {
        text.pop_back();
    }
    return "Error trying to peform the specified action.\rError Message: " + text + ".";
}
