#include "core/text_compare.h"

#include <cstring>

int CompareFromEnd(const char* a, const char* b) {
    return CompareFromEnd(a, std::strlen(a), b, std::strlen(b));
}

int CompareFromEnd(const char* a, std::size_t aLength, const char* b, std::size_t bLength) {
    while (aLength > 0 && bLength > 0) {
        --aLength;
        --bLength;
        int difference = FoldedByte(a[aLength]) - FoldedByte(b[bLength]);
        if (difference != 0) {
            return difference;
        }
    }
    if (aLength == bLength) {
        return 0;
    }
    return aLength > 0 ? -1 : 1;
}

std::uint64_t FoldedEnding(const char* text, std::size_t length) {
    std::uint64_t ending = 0;
    for (int i = 0; i < 8; ++i) {
        ending <<= 8;
        if (static_cast<std::size_t>(i) < length) {
            ending |= static_cast<std::uint64_t>(FoldedByte(text[length - 1 - i]));
        }
    }
    return ending;
}

std::uint64_t FoldedOpening(const char* text) {
    std::uint64_t opening = 0;
    bool ended = false;
    for (int i = 0; i < 8; ++i) {
        ended = ended || text[i] == '\0';
        opening = opening << 8 | (ended ? 0 : static_cast<std::uint64_t>(FoldedByte(text[i])));
    }
    return opening;
}

int CompareNoCase(const char* a, const char* b) {
    for (std::size_t i = 0;; ++i) {
        int difference = FoldedByte(a[i]) - FoldedByte(b[i]);
        if (difference != 0 || a[i] == '\0') {
            return difference;
        }
    }
}
