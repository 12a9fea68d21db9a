#include "state_table.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct StateCase {
    int state;
    const char* listWord;
    const char* statusWord;
    bool start, pause, stop;
    int picture;
};

const StateCase kStateCases[] = {
    {1, "Stopped", "Stopped", true, false, false, kPictureStopped},
    {2, "Starting", "Start pending", false, false, false, kPictureOther},
    {3, "Stopping", "Stop pending", false, false, false, kPictureOther},
    {4, "Started", "Running", false, true, true, kPictureRunning},
    {5, "Restarting", "Continue pending", false, false, false, kPictureOther},
    {6, "Pausing", "Pause pending", false, false, false, kPictureOther},
    {7, "Paused", "Paused", true, false, true, kPicturePaused},
    {-1, "", "Unknown state", false, false, false, kPictureOther},
    {0, "", "Unknown state", false, false, false, kPictureOther},
    {8, "", "Unknown state", false, false, false, kPictureOther},
    {100, "", "Unknown state", false, false, false, kPictureOther},
};

TEST(StateTable, EveryStateHasItsWordsButtonsAndPicture) {
    for (const StateCase& c : kStateCases) {
        SCOPED_TRACE("state " + std::to_string(c.state));
        const StateRow& row = StateRowFor(c.state);
        EXPECT_STREQ(c.listWord, row.listWord);
        EXPECT_STREQ(c.statusWord, row.statusWord);
        EXPECT_EQ(c.start, row.startEnabled);
        EXPECT_EQ(c.pause, row.pauseEnabled);
        EXPECT_EQ(c.stop, row.stopEnabled);
        EXPECT_EQ(c.picture, row.picture);
        EXPECT_EQ(c.state >= 2 && c.state <= 6 && c.state != 4, IsPendingState(c.state));
    }
}

TEST(StateTable, StateLineNamesServerServiceAndState) {
    EXPECT_EQ("srv - Svc - Running", FormatStateLine("srv", "Svc", 4));
    EXPECT_EQ("local - Svc - Paused", FormatStateLine("", "Svc", 7));
    EXPECT_EQ("Unknown server - Unknown service - Unknown state",
              FormatStateLine("Unknown server", "", 100));
    // Kept exactly as typed: no backslashes added or blanks trimmed.
    EXPECT_EQ("\\\\ host  - Svc - Unknown state", FormatStateLine("\\\\ host ", "Svc", -1));
}

TEST(StateTable, ErrorMessageDropsTrailingBreaksAndStops) {
    const std::string prefix = "Error trying to peform the specified action.\rError Message: ";
    struct Case {
        const char* systemText;
        const char* shown;
    } cases[] = {
        {"Access denied.\r\n", "Access denied."},
        {"Service not active. . \r\n\t", "Service not active."},
        {"Ends in words", "Ends in words."},
        {"...\r\n", "."},
        {"", "."},
        // Characters above 127 are letters of the code page, never blanks.
        {"Caf\xe9\r\n", "Caf\xe9."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.systemText);
        EXPECT_EQ(prefix + c.shown, FormatServiceErrorMessage(c.systemText));
    }
}

} // namespace
