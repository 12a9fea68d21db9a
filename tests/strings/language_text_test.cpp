#include "ui/language_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

bool NoLeadBytes(unsigned char) {
    return false;
}

// Shift-JIS lead bytes: their second byte may be "|" (0x7C) or "~" (0x7E).
bool ShiftJisLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

struct Case {
    const char* name;
    std::string text; // without terminator when it fills the whole size
    std::size_t size;
    LeadByteTest isLeadByte;
    std::string expected;
};

TEST(LanguageTextTest, SubstitutesSignsAndStaysWithinSize) {
    const Case cases[] = {
        {"bar between words", "first|second", 64, NoLeadBytes, "first\r\nsecond"},
        {"leading tildes", "~~two blanks", 64, NoLeadBytes, "  two blanks"},
        {"trailing tilde", "end~", 64, NoLeadBytes, "end "},
        {"mixed, bar last", "a|b~c|", 64, NoLeadBytes, "a\r\nb c\r\n"},
        {"other signs stay", "^x\\y", 64, NoLeadBytes, "^x\\y"},
        {"empty", "", 64, NoLeadBytes, ""},
        {"expansion fills exactly", "abc|def", 8, NoLeadBytes, "abc\r\nde"},
        {"no lone CR at the cut", "ab|c", 4, NoLeadBytes, "ab"},
        {"bars only", "||||", 4, NoLeadBytes, "\r\n"},
        {"size one", "", 1, NoLeadBytes, ""},
        {"unterminated input", "a|bc", 4, NoLeadBytes, "a\r\n"},
        {"second bytes are not signs", "\x83|\x83~", 64, ShiftJisLeadByte, "\x83|\x83~"},
        {"signs after a double-byte character", "\x83\x40|~", 64, ShiftJisLeadByte,
         "\x83\x40\r\n "},
        {"double-byte character not split", "a|\x83\x40", 5, ShiftJisLeadByte, "a\r\n"},
        {"lone lead byte at the end kept", "ab\x83", 64, ShiftJisLeadByte, "ab\x83"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_LE(c.text.size(), c.size);
        // Guard bytes after `size` catch any write past the caller's buffer.
        std::vector<char> buffer(c.size + 16, '\xcc');
        std::memcpy(buffer.data(), c.text.data(), c.text.size());
        if (c.text.size() < c.size) {
            buffer[c.text.size()] = '\0';
        }
        ExpandLanguageText(buffer.data(), c.size, c.isLeadByte);
        EXPECT_EQ(c.expected, std::string(buffer.data()));
        for (std::size_t i = c.size; i < buffer.size(); ++i) {
            ASSERT_EQ('\xcc', buffer[i]) << "byte " << i << " written";
        }
    }
}

} // namespace
