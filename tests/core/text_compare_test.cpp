#include "core/text_compare.h"

#include <gtest/gtest.h>

namespace {

int Sign(int value) {
    return (value > 0) - (value < 0);
}

struct OrderCase {
    const char* a;
    const char* b;
    int sign; // of compare(a, b)
};

TEST(CompareFromEndTest, FoldsAsciiLettersComparesFromTheEndAndPutsTheLongerFirst) {
    const OrderCase cases[] = {
        {"C:\\APP\\A.DLL", "c:\\app\\a.dll", 0},
        {"B.DLL", "AB.DLL", 1}, // one ends the other: the longer sorts first
        {"AB.DLL", "B.DLL", -1},
        {"C:\\X\\B.DLL", "C:\\X\\AB.DLL", 1},
        {"X\\A.DLL", "Y\\A.DLL", -1}, // decided at the first character
        {"abc", "abd", -1},
        {"a", "[", -1},      // folded to upper case: 'A' (65) before '[' (91)
        {"\xe9", "\xc9", 1}, // only ASCII letters are folded; bytes count unsigned
        {"\x80", "a", 1},
        {"", "", 0},
        {"", "a", 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.sign, Sign(CompareFromEnd(c.a, c.b))) << c.a << " / " << c.b;
    }
}

TEST(CompareNoCaseTest, FoldsAsciiLettersComparesFromTheStart) {
    const OrderCase cases[] = {
        {"Software\\Vell", "SOFTWARE\\VELL", 0},
        {"abc", "abd", -1},
        {"ab", "abc", -1},
        {"abc", "ab", 1},
        {"", "", 0},
        {"a", "[", -1},
        {"\xe9", "\xc9", 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.sign, Sign(CompareNoCase(c.a, c.b))) << c.a << " / " << c.b;
    }
    EXPECT_TRUE(StartsWithNoCase("Made Dir: C:\\", "MADE DIR: "));
    EXPECT_FALSE(StartsWithNoCase("Made", "Made Dir: "));
    EXPECT_TRUE(StartsWithNoCase("anything", ""));
}

} // namespace
