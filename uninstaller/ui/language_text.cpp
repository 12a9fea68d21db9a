#include "ui/language_text.h"

#include <cstring>
#include <string>

void ReplaceSign(char* text, std::size_t size, char sign, const char* replacement,
                 LeadByteTest isLeadByte) {
    if (size == 0) {
        return;
    }
    // Replacements may lengthen the text, so read from a copy of it.
    const std::string source(text, strnlen(text, size));
    const std::size_t replacementLength = std::strlen(replacement);
    const std::size_t limit = size - 1;
    std::size_t length = 0;
    for (std::size_t i = 0; i < source.size();) {
        const unsigned char byte = static_cast<unsigned char>(source[i]);
        // A lead byte cut off at the end of the text stands alone.
        const std::size_t width = isLeadByte(byte) && i + 1 < source.size() ? 2 : 1;
        const bool isSign = width == 1 && source[i] == sign;
        const char* piece = isSign ? replacement : source.data() + i;
        const std::size_t pieceLength = isSign ? replacementLength : width;
        if (length + pieceLength > limit) {
            break;
        }
        std::memcpy(text + length, piece, pieceLength);
        length += pieceLength;
        i += width;
    }
    text[length] = '\0';
}

void ExpandLanguageText(char* text, std::size_t size, LeadByteTest isLeadByte) {
    ReplaceSign(text, size, '|', "\r\n", isLeadByte);
    ReplaceSign(text, size, '~', " ", isLeadByte);
}
