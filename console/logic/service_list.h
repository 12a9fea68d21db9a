#pragma once
// The configured service names and how they select and order the services of
// an enumeration.

#include <string>
#include <vector>

// Splits the administrator's list at commas and semicolons. Runs of separators
// count as one and no empty name is taken; blanks belong to the names and
// duplicates stay.
std::vector<std::string> ParseServiceList(const std::string& text);

// One service as the enumeration reports it.
struct EnumeratedService {
    std::string serviceName;
    std::string displayName;
    int state = 0;
};

// Upper-cases a whole text by the user's locale.
using UpperCaseFunction = std::string (*)(const std::string&);

// Appends to `entries` the services of one enumeration portion whose key names
// are configured: in configured order, each configured name once per match
// (so a name configured twice gives two entries), key names compared after
// upper-casing both sides. Display names never match.
void TakeConfiguredServices(const std::vector<std::string>& configured,
                            const std::vector<EnumeratedService>& portion,
                            UpperCaseFunction upperCase, std::vector<EnumeratedService>* entries);

// One answer of the service enumeration, and what to do with it. The
// enumeration hands out services in portions: "more data" with a resume
// handle that points past the portion delivered. Some managers (Wine's)
// answer "more data" without moving the resume handle, so that the next call
// would deliver the same services again, or "insufficient buffer" with records
// not filled in and no size; those portions are not taken, and the call is
// repeated with a larger buffer.
struct EnumerationAnswer {
    bool succeeded = false;
    unsigned long error = 0;
    unsigned long bytesNeeded = 0;
    unsigned long resumeBefore = 0;
    unsigned long resumeAfter = 0;
    std::size_t bufferSize = 0;
};

struct EnumerationStep {
    enum Next { Done, Retry, Fail };
    bool takePortion = false;
    Next next = Fail;
    std::size_t bufferSize = 0; // for Retry
};

// The largest buffer the enumeration grows to without a size from the manager.
constexpr std::size_t kMaxEnumerationBuffer = 1024 * 1024;

EnumerationStep NextEnumerationStep(const EnumerationAnswer& answer);

// The entry to select after the list was refilled with `count` entries, given
// the index selected before (-1 for none): that index when it still exists,
// the last entry when it is beyond the new end, the first when there was none;
// -1 only for an empty list.
int SelectionAfterRefill(int previousIndex, int count);
