#pragma once
// The path normalisation behind NormalizePath, over a small view of the file
// system so that its text handling can be tested without one.

#include <cstddef>

class PathLookup {
public:
    struct EntryNames {
        char longName[260];
        char shortName[14]; // empty when the entry has no separate short name
    };

    virtual ~PathLookup() = default;
    // The current directory; false when it cannot be had or does not fit.
    virtual bool CurrentDirectory(char* buffer, std::size_t size) const = 0;
    // The names of the first entry a directory search for `path` returns;
    // false when there is none.
    virtual bool FindEntry(const char* path, EntryNames& names) const = 0;
};

// NormalizePath (files.h) with the file system seen through `lookup`.
void NormalizePathWith(const PathLookup& lookup, char* path, std::size_t size, bool toLong);
