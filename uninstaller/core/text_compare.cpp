#include "core/text_compare.h"

#include <cstring>

namespace {

int FoldedByte(char c) {
    unsigned char byte = static_cast<unsigned char>(c);
    return (byte >= 'a' && byte <= 'z') ? byte - ('a' - 'A') : byte;
}

} // namespace

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

int CompareNoCase(const char* a, const char* b) {
    for (std::size_t i = 0;; ++i) {
        int difference = FoldedByte(a[i]) - FoldedByte(b[i]);
        if (difference != 0 || a[i] == '\0') {
            return difference;
        }
    }
}

bool StartsWithNoCase(const char* text, const char* prefix) {
    for (std::size_t i = 0; prefix[i] != '\0'; ++i) {
        if (FoldedByte(text[i]) != FoldedByte(prefix[i])) {
            return false;
        }
    }
    return true;
}
