#include "core/records.h"

#include "common/safe_text.h"

std::size_t AppendToTextBlock(char* block, std::size_t size, std::size_t used, const char* text) {
    // Room for at least one character, its zero byte and the closing empty text.
    if (size < 3 || used > size - 3) {
        if (size > used) {
            block[used] = '\0';
        }
        return used;
    }
    std::size_t length = SafeCopy(block + used, size - used - 1, text);
    used += length + 1;
    block[used] = '\0';
    return used;
}
