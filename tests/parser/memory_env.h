#pragma once
// The parser's view of the system, held in memory: the tests set up the
// files, drives, registry values and answers the parser will meet, and read
// back what it asked for and showed.

#include "core/parse_env.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

class MemoryParseEnvironment : public ParseEnvironment {
public:
    // The world the parser meets.
    std::string logBytes;
    bool logExists = true;
    std::string windowsDirectory = "C:\\WINDOWS";
    std::string systemDirectory = "C:\\WINDOWS\\SYSTEM";
    std::string removableDrives; // drive letters
    std::vector<std::string> files;
    std::vector<std::string> sharedFiles;
    // (long, short) forms of path prefixes, as the file system would give them.
    std::vector<std::pair<std::string, std::string>> pathForms;
    std::string startMenu;       // empty: the value is missing
    std::string commonStartMenu; // empty: the value is missing
    bool mayManageServices = true;
    bool progressShown = true;
    // Bytes that open a two-byte character in the ANSI code page.
    std::string leadBytes;

    // What the parser did, in order: "caption [..]", "rights-check",
    // "close-progress", "error <text> <caption>".
    std::vector<std::string> events;
    int progressRepaints = 0;
    int pathNormalizations = 0;
    bool logOpen = false;

    LogByteSource* OpenLog(const char* path) override;
    std::int32_t LogSize() override;
    void CloseLog() override;
    bool IsRemovableDrive(char letter) override;
    void WindowsDirectory(char* buffer, std::size_t size) override;
    void SystemDirectory(char* buffer, std::size_t size) override;
    bool FileExists(const char* path) override;
    void NormalizePath(char* path, std::size_t size, bool toLong) override;
    bool IsCountedSharedFile(const char* path) override;
    bool ReadStartMenuFolder(bool allUsers, char* buffer, std::size_t size) override;
    bool MayManageServices() override;
    void ConvertOemToAnsi(char* text) override;
    const char* NextCharacter(const char* text) override;
    bool ProgressShown() override;
    void RepaintProgressBar() override;
    void CloseProgress() override;
    void ShowError(int textId, int captionId) override;
    void SetBackgroundCaption(const char* title) override;

private:
    std::unique_ptr<MemoryByteSource> source_;
};
