#include "service_list.h"

#include <gtest/gtest.h>

#include <cctype>

namespace {

using Names = std::vector<std::string>;

TEST(ServiceList, ParsingSplitsAtCommasAndSemicolons) {
    struct Case {
        const char* text;
        Names names;
    } cases[] = {
        {"", {}},
        {",;,;", {}},
        {"One", {"One"}},
        {"One,,Two;", {"One", "Two"}},
        {";One", {"One"}},
        {"A;B,C", {"A", "B", "C"}},
        {" One , Two", {" One ", " Two"}},
        {"Dup,dup,Dup", {"Dup", "dup", "Dup"}},
        {" ", {" "}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.names, ParseServiceList(c.text));
    }
}

std::string AsciiUpper(const std::string& text) {
    std::string upper = text;
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return upper;
}

Names KeyNames(const std::vector<EnumeratedService>& entries) {
    Names names;
    for (const EnumeratedService& entry : entries) {
        names.push_back(entry.serviceName);
    }
    return names;
}

const std::vector<EnumeratedService> kPortion = {
    {"Alpha", "Beta", 1},
    {"beta", "Alpha Display", 4},
    {"Gamma", "Gamma", 7},
};

TEST(ServiceList, OnlyConfiguredKeyNamesInConfiguredOrder) {
    std::vector<EnumeratedService> entries;
    TakeConfiguredServices({"GAMMA", "Missing", "alpha", "Alpha Display", " beta"}, kPortion,
                           AsciiUpper, &entries);
    // Display names never match, blanks are part of a name.
    EXPECT_EQ((Names{"Gamma", "Alpha"}), KeyNames(entries));
    EXPECT_EQ("Gamma", entries[0].displayName);
    EXPECT_EQ(7, entries[0].state);
}

TEST(ServiceList, NameConfiguredTwiceGivesTwoEntries) {
    std::vector<EnumeratedService> entries;
    TakeConfiguredServices({"beta", "Beta"}, kPortion, AsciiUpper, &entries);
    EXPECT_EQ((Names{"beta", "beta"}), KeyNames(entries));
}

TEST(ServiceList, LaterPortionsFollowEarlierOnes) {
    std::vector<EnumeratedService> entries;
    const Names configured = {"Zed", "Gamma", "Alpha"};
    TakeConfiguredServices(configured, kPortion, AsciiUpper, &entries);
    TakeConfiguredServices(configured, {{"Zed", "Zed", 1}, {"Alpha", "Again", 1}}, AsciiUpper,
                           &entries);
    EXPECT_EQ((Names{"Gamma", "Alpha", "Zed", "Alpha"}), KeyNames(entries));
}

TEST(ServiceList, SelectionAfterRefillAlwaysPicksAnEntryOfANonEmptyList) {
    struct Case {
        int previous, count, selected;
    } cases[] = {
        {-1, 0, -1}, {3, 0, -1}, {-1, 3, 0}, {0, 3, 0}, {2, 3, 2}, {3, 3, 2}, {50, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.previous) + " of " + std::to_string(c.count));
        EXPECT_EQ(c.selected, SelectionAfterRefill(c.previous, c.count));
    }
}

} // namespace

namespace {

struct EnumerationCase {
    const char* what;
    EnumerationAnswer answer;
    bool take;
    EnumerationStep::Next next;
    std::size_t size;
};

TEST(ServiceList, EnumerationStepsFollowTheManagersAnswers) {
    const EnumerationCase cases[] = {
        {"success takes the portion", {true, 0, 0, 7, 0, 1024}, true, EnumerationStep::Done, 0},
        {"more data with an advanced resume handle",
         {false, 234, 3000, 0, 11, 1024},
         true,
         EnumerationStep::Retry,
         3000},
        {"more data asking for less room keeps the buffer",
         {false, 234, 500, 11, 20, 3000},
         true,
         EnumerationStep::Retry,
         3000},
        {"more data without moving the resume handle repeats itself",
         {false, 234, 2020, 0, 0, 1024},
         false,
         EnumerationStep::Retry,
         2020},
        {"more data with no progress at all",
         {false, 234, 1024, 5, 5, 1024},
         false,
         EnumerationStep::Fail,
         1024},
        {"insufficient buffer doubles",
         {false, 122, 0, 0, 0, 1024},
         false,
         EnumerationStep::Retry,
         2048},
        {"insufficient buffer stops growing",
         {false, 122, 0, 0, 0, kMaxEnumerationBuffer},
         false,
         EnumerationStep::Fail,
         0},
        {"access denied", {false, 5, 0, 0, 0, 1024}, false, EnumerationStep::Fail, 0},
    };
    for (const EnumerationCase& c : cases) {
        SCOPED_TRACE(c.what);
        EnumerationStep step = NextEnumerationStep(c.answer);
        EXPECT_EQ(c.take, step.takePortion);
        EXPECT_EQ(c.next, step.next);
        if (step.next == EnumerationStep::Retry) {
            EXPECT_EQ(c.size, step.bufferSize);
        }
    }
}

} // namespace
