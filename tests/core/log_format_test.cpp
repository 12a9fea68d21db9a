#include "core/log_format.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct FieldCase {
    const char* line;
    const char* keyword;
    const char* field; // nullptr: no match
};

TEST(KeywordFieldTest, MatchesTheLineStartWithoutCaseAndGivesTheRestUntrimmed) {
    const FieldCase cases[] = {
        {"File Copy: C:\\APP\\A.DLL", LogKeyword::FileCopy, "C:\\APP\\A.DLL"},
        {"FILE COPY: c:\\app\\a.dll ", LogKeyword::FileCopy, "c:\\app\\a.dll "},
        {"File Copy:C:\\A.DLL", LogKeyword::FileCopy, nullptr}, // the blank is part of it
        {"File Cop", LogKeyword::FileCopy, nullptr},
        {" File Copy: C:\\A.DLL", LogKeyword::FileCopy, nullptr},
        {"RegDB Val: ", LogKeyword::RegistryValue, ""},
        {"INI Sect: Boot", LogKeyword::IniLine, "Sect: Boot"},
        {"SubSystem: BDE 5", LogKeyword::SubSystem, "DE 5"},
        {"SubSystem: XDE", LogKeyword::SubSystem, nullptr},
        {"System Restore: Enabled and more", LogKeyword::SystemRestore, " and more"},
    };
    for (const auto& c : cases) {
        const char* field = KeywordField(c.line, c.keyword);
        if (c.field == nullptr) {
            EXPECT_EQ(nullptr, field) << c.line;
        } else {
            ASSERT_NE(nullptr, field) << c.line;
            EXPECT_STREQ(c.field, field) << c.line;
        }
    }
}

TEST(LogLineTest, WholeLineKeywordsMustMatchTheWholeLine) {
    EXPECT_TRUE(IsWholeLine("non-system file:", LogKeyword::NonSystemFile));
    EXPECT_TRUE(IsWholeLine("SHARED DLL COUNTER IGNORED:", LogKeyword::SharedCounterIgnored));
    EXPECT_FALSE(IsWholeLine("Non-System File: ", LogKeyword::NonSystemFile));
    EXPECT_FALSE(IsWholeLine("User Rights: Administrator", LogKeyword::UserRightsAdmin));
    EXPECT_FALSE(IsWholeLine("User Rights: Admi", LogKeyword::UserRightsAdmin));
}

TEST(LogLineTest, SessionAndTitleLinesAreCaseExactAndTheFifthByteChoosesAnsi) {
    EXPECT_TRUE(IsSessionLine("*** Installation started 1999"));
    EXPECT_TRUE(IsSessionLine("*** "));
    EXPECT_FALSE(IsSessionLine("***"));
    EXPECT_FALSE(IsSessionLine("**** "));
    EXPECT_TRUE(IsAnsiSession("***  Installation started"));
    EXPECT_FALSE(IsAnsiSession("*** Installation started"));
    EXPECT_FALSE(IsAnsiSession("*** ")); // the fifth byte is the terminator

    EXPECT_TRUE(IsTitleLine("Title: Product"));
    EXPECT_TRUE(IsTitleLine("Title:"));
    EXPECT_FALSE(IsTitleLine("TITLE: Product"));
    EXPECT_FALSE(IsTitleLine("Title"));
    EXPECT_STREQ("Product X", TitleText("Title: Product X"));
    EXPECT_STREQ("roduct", TitleText("Title:Product")); // the seventh byte is a separator
    EXPECT_STREQ("", TitleText("Title:"));              // nothing to step over
}

TEST(LogLineTest, NumbersAreTheLeadingDecimalDigits) {
    const struct {
        const char* field;
        std::int32_t value;
    } cases[] = {
        {"2", 2},
        {"42abc", 42},
        {"", 0},
        {"x1", 0},
        {"-3", 0},
        {" 7", 0},
        {"2147483647", 2147483647},
        {"2147483648", 2147483647},
        {"99999999999999999999", 2147483647},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.value, ReadLogNumber(c.field)) << "\"" << c.field << "\"";
    }
}

} // namespace
