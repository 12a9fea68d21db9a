#include "core/log_format.h"

#include "core/text_compare.h"

#include <cstring>

bool IsSessionLine(const char* line) {
    return std::strncmp(line, "*** ", 4) == 0;
}

bool IsAnsiSession(const char* sessionLine) {
    return sessionLine[4] == ' ';
}

bool IsTitleLine(const char* line) {
    return std::strncmp(line, "Title:", 6) == 0;
}

const char* TitleText(const char* titleLine) {
    // A bare "Title:" has no separator byte to step over.
    return titleLine[6] != '\0' ? titleLine + 7 : titleLine + 6;
}

bool IsWholeLine(const char* line, const char* text) {
    return CompareNoCase(line, text) == 0;
}

std::int32_t ReadLogNumber(const char* field) {
    constexpr std::int32_t largest = 2147483647;
    std::int32_t value = 0;
    for (; *field >= '0' && *field <= '9'; ++field) {
        std::int32_t digit = *field - '0';
        value = value > (largest - digit) / 10 ? largest : value * 10 + digit;
    }
    return value;
}
