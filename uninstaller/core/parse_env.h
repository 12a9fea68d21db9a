#pragma once
// Everything the log parser asks of the system, in one small interface. The
// parser's rules stay pure logic over bytes: the Windows implementation
// (MakeWindowsParseEnvironment) answers from the real file system, registry,
// Service Control Manager and windows; tests answer from memory.

#include "core/log_reader.h"

#include <cstddef>
#include <cstdint>

class ParseEnvironment {
public:
    virtual ~ParseEnvironment() = default;

    // The install log's bytes, or nullptr when it cannot be opened for
    // reading. The source stays valid until CloseLog, which does nothing
    // when no log is open.
    virtual LogByteSource* OpenLog(const char* path) = 0;
    virtual std::int32_t LogSize() = 0;
    virtual void CloseLog() = 0;

    // Whether the root directory of drive `letter` is on a removable drive.
    virtual bool IsRemovableDrive(char letter) = 0;
    // The Windows and System directories, without a trailing backslash.
    virtual void WindowsDirectory(char* buffer, std::size_t size) = 0;
    virtual void SystemDirectory(char* buffer, std::size_t size) = 0;
    virtual bool FileExists(const char* path) = 0;
    // Rewrites `path` in place to its short (8.3) form, or with `toLong` to its
    // long form when it holds a '~'; the result stays within `size` bytes.
    virtual void NormalizePath(char* path, std::size_t size, bool toLong) = 0;

    // Whether the machine's shared-file counts have an entry for `path`.
    virtual bool IsCountedSharedFile(const char* path) = 0;
    // The current user's ("Start Menu") or, with `allUsers`, the machine's
    // ("Common Start Menu") Start Menu folder. False when it cannot be read;
    // the buffer is then left as it was.
    virtual bool ReadStartMenuFolder(bool allUsers, char* buffer, std::size_t size) = 0;
    // Whether this user may open the local Service Control Manager with full access.
    virtual bool MayManageServices() = 0;

    // Converts a text from the OEM to the ANSI code page in place.
    virtual void ConvertOemToAnsi(char* text) = 0;
    // The next character of a text in the ANSI code page (steps over both
    // bytes of a double-byte character, never past the terminator).
    virtual const char* NextCharacter(const char* text) = 0;

    // The start-up progress dialog, while it exists.
    virtual bool ProgressShown() = 0;
    virtual void RepaintProgressBar() = 0;
    virtual void CloseProgress() = 0;
    // A modal message box with an OK button only, owned by the background window.
    virtual void ShowError(int textId, int captionId) = 0;
    virtual void SetBackgroundCaption(const char* title) = 0;
};
