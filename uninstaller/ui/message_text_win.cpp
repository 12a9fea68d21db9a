#include "ui/message_text.h"

#include <windows.h>

#include <cstdio>

#include "core/run_state.h"
#include "ui/language_text.h"

namespace {

// The profile reader strips blanks and cannot tell a missing key from an
// empty one by its answer alone, so a missing key answers with a character
// no translator writes.
constexpr char kMissingKeyMark = '\x7f';
const char kMissingKeyDefault[] = {kMissingKeyMark, '\0'};

bool IsCodePageLeadByte(unsigned char byte) {
    return IsDBCSLeadByte(byte) != FALSE;
}

void LoadBuiltInText(int number, char* buffer, int size) {
    // Whatever LoadStringA leaves behind when the string is missing, the
    // answer is an empty text, never the missing-key mark.
    buffer[0] = '\0';
    // String ids are 16-bit: a larger number would alias a real text.
    if (number < 1 || number > 0xFFFF) {
        return;
    }
    LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(number), buffer, size);
}

} // namespace

void LoadMessageText(int number, char* buffer, int size) {
    if (buffer == nullptr || size <= 0) {
        return;
    }
    if (settingsPath[0] == '\0') {
        LoadBuiltInText(number, buffer, size);
        return;
    }
    char key[16];
    std::snprintf(key, sizeof key, "Msg%d", number);
    DWORD length = GetPrivateProfileStringA("Language", key, kMissingKeyDefault, buffer,
                                            static_cast<DWORD>(size), settingsPath);
    if (length == 1 && buffer[0] == kMissingKeyMark) {
        LoadBuiltInText(number, buffer, size);
        return;
    }
    ExpandLanguageText(buffer, static_cast<std::size_t>(size), IsCodePageLeadByte);
}
