#include "common/safe_text.h"

#include <cstring>

std::size_t SafeCopy(char* dest, std::size_t size, const char* source) {
    if (size == 0) {
        return 0;
    }
    std::size_t n = 0;
    if (source != nullptr) {
        n = strnlen(source, size - 1);
        std::memmove(dest, source, n); // the source may lie within dest
    }
    dest[n] = '\0';
    return n;
}

std::size_t SafeAppend(char* dest, std::size_t size, const char* source) {
    if (size == 0) {
        return 0;
    }
    std::size_t used = strnlen(dest, size);
    if (used == size) { // not terminated: treat the buffer as full
        dest[size - 1] = '\0';
        return size - 1;
    }
    return used + SafeCopy(dest + used, size - used, source);
}
