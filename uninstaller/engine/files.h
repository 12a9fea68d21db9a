#pragma once
// The uninstaller's file-system operations: normalising paths, deleting one
// file (at the next restart when it is in use), removing an installed file
// with the help viewer's index files, and removing directory trees. None of
// them shows a message; results are 0 for done, non-zero for not done.

#include <cstddef>

// Rewrites the path in `path` (a buffer of `size` bytes) in place.
// toLong false: every existing component in its short (8.3) form, for
// blank-free command lines. toLong true: the long form, but only when the
// path holds a '~'. A relative name without a backslash gets the current
// directory in front, a leading drive letter is made upper case, components
// that do not exist (or hold wildcards) stay as written, an empty path stays
// empty. The result always
// fits `size`: a component whose other form would not fit stays as written.
void NormalizePath(char* path, std::size_t size, bool toLong);

template <std::size_t N> void NormalizePath(char (&path)[N], bool toLong) {
    NormalizePath(path, N, toLong);
}

// Deletes the file now (returns 0) or not (non-zero). A file that cannot be
// deleted is scheduled for deletion at the next restart when the log allowed
// it ("Delete in-use files: On"), except the uninstaller's own program file;
// asking for that file sets selfDeleted.
int DeleteFileOrSchedule(const char* path);

// Clears the file's attributes and deletes it; for a help file (".HLP") also
// the ".GID" and ".FTS" index files beside it.
void RemoveInstalledFile(const char* path);

// Removes one empty directory; 0 when it went, non-zero when not.
int RemoveDirectoryEntry(const char* path);

// Removes the directory tree at `path`. A last component with '*' or '?' is
// a file pattern that applies at every level. withFiles false: only the
// directories that are empty go, deepest first. withFiles true: the files
// that match the pattern go first. Sub-directories whose names begin with a
// dot, and linked ones (junctions, symbolic links), are never entered.
// Called on a drive root, the Windows directory, the System directory or the
// Program Files directory it does nothing at all, not even in their
// sub-directories.
void RemoveDirectoryTree(const char* path, bool withFiles);
