#pragma once
// The parser's view of the running system: the log file, drives, the file
// system, the registry, the Service Control Manager, the code pages and the
// start-up windows (backgroundWindow, startupProgressWindow).

#include "core/log_file_win.h"
#include "core/parse_env.h"

#include <memory>

class WindowsParseEnvironment : public ParseEnvironment {
public:
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
    std::unique_ptr<LogFileSource> log_;
};
