#include "engine/files.h"
#include "engine/files_path.h"

#include "core/parse_results.h"
#include "core/run_state.h"
#include "status/platform.h"
#include "status/platform_win.h"

#include "common/safe_text.h"
#include "common/win_handle.h"

#include <shlobj.h>

#include <cstring>
#include <initializer_list>

namespace {

// The records hold paths of up to 259 characters, as many as the system's
// ANSI file functions take. A longer path is not touched at all rather than
// cut into a path that names some other file.
constexpr std::size_t kPathSize = MAX_PATH;
using PathText = char[kPathSize];

bool FitsPathText(const char* path) {
    return strnlen(path, kPathSize) < kPathSize;
}

// Joins the parts into `out`; false when the whole would not fit.
bool JoinPath(PathText& out, std::initializer_list<const char*> parts) {
    out[0] = '\0';
    std::size_t wanted = 0;
    std::size_t length = 0;
    for (const char* part : parts) {
        wanted += std::strlen(part);
        length = SafeAppend(out, part);
    }
    return length == wanted;
}

// The entries of one directory search, one at a time.
class DirectorySearch {
public:
    // False when nothing matches `pattern`.
    bool Open(const char* pattern) {
        search_.reset(FindFirstFileA(pattern, &entry_));
        return static_cast<bool>(search_);
    }
    bool Next() { return FindNextFileA(search_.get(), &entry_) != FALSE; }
    const char* Name() const { return entry_.cFileName; }
    // Empty when the entry has no separate short name.
    const char* ShortName() const { return entry_.cAlternateFileName; }
    bool IsDirectory() const { return (entry_.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    // A junction or symbolic link: it leads somewhere else.
    bool IsLink() const { return (entry_.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }

private:
    WIN32_FIND_DATAA entry_ = {};
    win::unique_hfind search_;
};

class SystemPathLookup : public PathLookup {
public:
    bool CurrentDirectory(char* buffer, std::size_t size) const override {
        DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(size), buffer);
        return length > 0 && length < size;
    }

    bool FindEntry(const char* path, EntryNames& names) const override {
        DirectorySearch search;
        if (!search.Open(path)) {
            return false;
        }
        SafeCopy(names.longName, search.Name());
        SafeCopy(names.shortName, search.ShortName());
        return true;
    }
};

void NotifyShell(LONG event, const char* path) {
    if (hasNewShell && shellChangeNotify != nullptr) {
        shellChangeNotify(event, SHCNF_PATHA, path, nullptr);
    }
}

bool IsOwnProgramFile(const char* longPath) {
    return ownProgramPath[0] != '\0' && lstrcmpiA(longPath, ownProgramPath) == 0;
}

// The directory as the system resolves it, long form, without trailing
// backslashes, so that "C:\WINDOWS\", "C:\Windows\." and a short name all
// compare equal to the Windows directory. Falls back to the text as given.
void CanonicalDirectory(const char* directory, PathText& canonical) {
    DWORD length = GetFullPathNameA(directory, kPathSize, canonical, nullptr);
    if (length == 0 || length >= kPathSize) {
        SafeCopy(canonical, directory);
    }
    NormalizePath(canonical, true);
    std::size_t end = std::strlen(canonical);
    while (end > 0 && canonical[end - 1] == '\\') {
        canonical[--end] = '\0';
    }
}

// "C:", "\\server" or "\\server\share" once trailing backslashes are gone.
bool IsRootDirectory(const char* canonical) {
    if (std::strncmp(canonical, "\\\\", 2) == 0) {
        const char* share = std::strchr(canonical + 2, '\\');
        return share == nullptr || std::strchr(share + 1, '\\') == nullptr;
    }
    return std::strlen(canonical) < 4;
}

bool IsProtectedDirectory(const char* directory) {
    if (std::strlen(directory) < 4) {
        return true;
    }
    PathText canonical;
    CanonicalDirectory(directory, canonical);
    if (IsRootDirectory(canonical)) {
        return true;
    }
    PathText windowsDirectory = "";
    PathText systemDirectory = "";
    GetWindowsDirectoryA(windowsDirectory, kPathSize);
    GetSystemDirectoryA(systemDirectory, kPathSize);
    for (const char* protectedDirectory :
         {static_cast<const char*>(windowsDirectory), static_cast<const char*>(systemDirectory),
          static_cast<const char*>(programFilesDir)}) {
        if (protectedDirectory[0] == '\0') {
            continue;
        }
        PathText protectedCanonical;
        CanonicalDirectory(protectedDirectory, protectedCanonical);
        if (lstrcmpiA(canonical, protectedCanonical) == 0) {
            return true;
        }
    }
    return false;
}

} // namespace

void NormalizePath(char* path, std::size_t size, bool toLong) {
    NormalizePathWith(SystemPathLookup(), path, size, toLong);
}

int DeleteFileOrSchedule(const char* path) {
    if (!FitsPathText(path)) {
        return 1;
    }
    PathText longPath;
    SafeCopy(longPath, path);
    NormalizePath(longPath, true);
    if (IsOwnProgramFile(longPath)) {
        selfDeleted = 1;
    }
    if (DeleteFileA(path)) {
        NotifyShell(SHCNE_DELETE, path);
        return 0;
    }
    // The run driver's cleanup run removes the program's own file.
    if (!deleteInUseFiles || IsOwnProgramFile(longPath)) {
        return 1;
    }
    if (isWindowsNT) {
        ScheduleDeleteAtRestart(path);
    } else {
        // WININIT.INI is carried out before long names exist.
        NormalizePath(longPath, false);
        ScheduleDeleteAtRestart(longPath);
    }
    return 1;
}

void RemoveInstalledFile(const char* path) {
    SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    DeleteFileOrSchedule(path);
    // The help viewer builds its index files beside the help file.
    std::size_t length = strnlen(path, kPathSize);
    if (length >= kPathSize || length <= 4 || lstrcmpiA(path + length - 4, ".HLP") != 0) {
        return;
    }
    PathText companion;
    for (const char* extension : {"GID", "FTS"}) {
        SafeCopy(companion, path);
        SafeCopy(companion + length - 3, 4, extension);
        DeleteFileOrSchedule(companion);
    }
}

int RemoveDirectoryEntry(const char* path) {
    SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    if (!RemoveDirectoryA(path)) {
        return 1;
    }
    NotifyShell(SHCNE_RMDIR, path);
    return 0;
}

void RemoveDirectoryTree(const char* path, bool withFiles) {
    if (!FitsPathText(path)) {
        return;
    }
    PathText directory;
    SafeCopy(directory, path);
    PathText pattern = "\\*.*";
    if (std::strpbrk(directory, "*?") != nullptr) {
        char* lastBackslash = std::strrchr(directory, '\\');
        if (lastBackslash == nullptr) {
            return; // a bare pattern names no directory
        }
        SafeCopy(pattern, lastBackslash);
        *lastBackslash = '\0';
    }
    if (IsProtectedDirectory(directory)) {
        return;
    }
    PathText search;
    PathText entryPath;
    DirectorySearch entries;
    if (JoinPath(search, {directory, "\\*.*"}) && entries.Open(search)) {
        do {
            // A linked folder is left alone: what it leads to was never
            // part of this tree.
            if (entries.IsDirectory() && !entries.IsLink() && entries.Name()[0] != '.' &&
                JoinPath(entryPath, {directory, "\\", entries.Name(), pattern})) {
                RemoveDirectoryTree(entryPath, withFiles);
            }
        } while (entries.Next());
    }
    if (withFiles && JoinPath(search, {directory, pattern}) && entries.Open(search)) {
        do {
            if (!entries.IsDirectory() && JoinPath(entryPath, {directory, "\\", entries.Name()})) {
                SetFileAttributesA(entryPath, FILE_ATTRIBUTE_NORMAL);
                DeleteFileOrSchedule(entryPath);
            }
        } while (entries.Next());
    }
    RemoveDirectoryEntry(directory);
}
