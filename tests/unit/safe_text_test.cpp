#include "common/safe_text.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct CopyCase {
    const char* source;
    std::size_t size;
    const char* expected;
};

TEST(SafeCopyTest, CutsAndAlwaysTerminatesWithoutWritingPastTheBuffer) {
    const CopyCase cases[] = {
        {"abc", 8, "abc"}, {"abcdefgh", 8, "abcdefg"}, {"abc", 1, ""},
        {"", 4, ""},       {nullptr, 4, ""},
    };
    for (const auto& c : cases) {
        char buffer[16];
        std::memset(buffer, 0xcc, sizeof buffer);
        SafeCopy(buffer, c.size, c.source);
        EXPECT_STREQ(c.expected, buffer) << "size " << c.size;
        for (std::size_t i = c.size; i < sizeof buffer; ++i) {
            EXPECT_EQ(static_cast<char>(0xcc), buffer[i]) << "byte " << i << " written";
        }
    }
}

TEST(SafeCopyTest, ZeroSizeWritesNothing) {
    char byte = 'x';
    EXPECT_EQ(0u, SafeCopy(&byte, 0, "abc"));
    EXPECT_EQ('x', byte);
}

TEST(SafeAppendTest, AppendsWithinTheBufferAndHandlesAnUnterminatedOne) {
    char buffer[6] = "ab";
    EXPECT_EQ(5u, SafeAppend(buffer, "cdefg"));
    EXPECT_STREQ("abcde", buffer);

    char full[4] = {'w', 'x', 'y', 'z'};
    EXPECT_EQ(3u, SafeAppend(full, "q"));
    EXPECT_STREQ("wxy", full);
}

} // namespace
