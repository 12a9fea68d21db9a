#pragma once
// What reading the install log yields besides the record lists: the sessions,
// the header values and the facts the rest of the run asks about. Every value
// starts at 0, empty or nullptr ("none").

#include "core/records.h"

#include <cstdint>

// The latest session seen; after the log is read, the number of its last session.
extern Session sessionNumber;

// Entry n: the last "Source: " text of session n, or nullptr. Index 0 stays
// empty; sessions beyond the table have no source entry.
constexpr int SessionSourceCount = 1024;
extern char* sessionSources[SessionSourceCount];

// Where the latest session's "*** " line begins in the log; 0 for a log of one
// session. A rollback cuts the log here.
extern std::int32_t lastSessionOffset;

extern char productTitle[256];
extern char mifName[128];
extern char manufacturer[128];
extern char productName[128];
extern char versionNumber[128];
extern char serialNumber[128];
extern char* perUserId; // nullptr: installed for every user
extern int deleteInUseFiles;
extern int restorePointEnabled;
extern char* subSystemName;
extern std::int32_t subSystemSelected;
extern int hasBackups;    // a rollback is possible
extern int sourceHasPipe; // some "Source: " line held a vertical bar

// The log's directory in short form with a trailing backslash, cut back to the
// highest created directory that contains it.
extern char installDirectory[256];

// For the progress display while the log is read.
extern std::int32_t logBytesTotal;
extern std::int32_t logBytesRead;
