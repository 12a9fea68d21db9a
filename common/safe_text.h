#pragma once
// The one way to copy text into a fixed-size buffer: cut to fit and always
// terminate. Every fixed text of both programs is filled through these.

#include <cstddef>

// Copies at most size - 1 bytes of source (stopping at its terminator) into
// dest and terminates it. Returns the number of bytes copied. A size of 0
// writes nothing.
std::size_t SafeCopy(char* dest, std::size_t size, const char* source);

// Appends source to the text in dest without passing size; returns the new length.
std::size_t SafeAppend(char* dest, std::size_t size, const char* source);

template <std::size_t N> std::size_t SafeCopy(char (&dest)[N], const char* source) {
    return SafeCopy(dest, N, source);
}

template <std::size_t N> std::size_t SafeAppend(char (&dest)[N], const char* source) {
    return SafeAppend(dest, N, source);
}
