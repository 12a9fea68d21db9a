#pragma once
// What the window shows for each service state: the list word, the status
// word, which commands make sense and which picture stands for it.

#include <string>

// Service state codes as the Service Control Manager reports them.
enum ServiceStateCode {
    kStateStopped = 1,
    kStateStartPending = 2,
    kStateStopPending = 3,
    kStateRunning = 4,
    kStateContinuePending = 5,
    kStatePausePending = 6,
    kStatePaused = 7,
    // No state could be read.
    kStateUnread = -1,
    // The window shows no service at all.
    kStateNoService = 100,
};

// Indexes of the state pictures.
enum StatePicture {
    kPictureRunning = 0,
    kPictureStopped = 1,
    kPicturePaused = 2,
    kPictureSpare = 3,
    kPictureOther = 4,
    kStatePictureCount = 5,
};

struct StateRow {
    const char* listWord;   // shown upper-cased after the display name; "" for none
    const char* statusWord; // shown as written in the status line
    // Whether each command applies, before the list's own emptiness is considered.
    bool startEnabled;
    bool pauseEnabled;
    bool stopEnabled;
    int picture;
};

// The row for any state code; codes outside 1 to 7 share one "unknown" row.
const StateRow& StateRowFor(int state);

bool IsPendingState(int state);

// "server - service - state word", with "local" for an empty server and
// "Unknown service" for an empty service.
std::string FormatStateLine(const std::string& server, const std::string& service, int state);

// The error box text around the system's message for an error code. Trailing
// blanks, line breaks and full stops of the system text are dropped, since the
// box adds its own full stop.
std::string FormatServiceErrorMessage(const std::string& systemText);
