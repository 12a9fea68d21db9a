#pragma once
// Case-blind text comparisons of the install log's keys and keywords. Only the
// ASCII letters are folded: the log's keywords are ASCII, and a comparison
// that needs no code page gives the same answer on every system.

#include <cstddef>
#include <cstdint>

// Compares a and b from their last characters towards their first, letters
// folded to upper case. The first differing position decides by the
// difference of the folded byte values; when one text ends the other, the
// longer one sorts first. Paths of one directory differ near their ends, so
// they are told apart after a few characters.
int CompareFromEnd(const char* a, const char* b);

// The same with the lengths of a and b already known: the duplicate index
// compares one searched key with many stored ones and measures each text once.
int CompareFromEnd(const char* a, std::size_t aLength, const char* b, std::size_t bLength);

// The last eight characters of text (length bytes long), letters folded, the
// last character in the top byte and zero bytes where the text is shorter.
// Where two endings differ, their first differing byte from the top is the
// first position at which CompareFromEnd finds the texts differ, or the end
// of the shorter text.
std::uint64_t FoldedEnding(const char* text, std::size_t length);

// The first eight characters of text, letters folded, the first character in
// the top byte and zero bytes from the text's end on: two such numbers order
// as CompareNoCase orders the texts' first eight characters.
std::uint64_t FoldedOpening(const char* text);

// Compares a and b from their first characters, letters folded to upper case:
// negative, zero or positive as a sorts before, equal to or after b.
int CompareNoCase(const char* a, const char* b);

// The byte value of c, an ASCII lower-case letter folded to upper case.
inline int FoldedByte(char c) {
    auto byte = static_cast<unsigned char>(c);
    return (byte >= 'a' && byte <= 'z') ? byte - ('a' - 'A') : byte;
}

// Whether text begins with prefix, letters folded to upper case. Inline: the
// parser tries keyword after keyword on every line, most of them failing at
// the first byte, where a call would cost more than the comparison.
inline bool StartsWithNoCase(const char* text, const char* prefix) {
    for (std::size_t i = 0; prefix[i] != '\0'; ++i) {
        if (FoldedByte(text[i]) != FoldedByte(prefix[i])) {
            return false;
        }
    }
    return true;
}
