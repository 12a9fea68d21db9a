#include "memory_env.h"

#include "core/text_compare.h"

#include "common/safe_text.h"

#include <algorithm>
#include <cstring>

namespace {

bool Contains(const std::vector<std::string>& texts, const char* text) {
    return std::any_of(texts.begin(), texts.end(), [text](const std::string& candidate) {
        return CompareNoCase(candidate.c_str(), text) == 0;
    });
}

// A few letters of code page 437 and where they stand in code page 1252;
// enough to tell a converted field from an unconverted one.
unsigned char OemLetterToAnsi(unsigned char byte) {
    static const unsigned char table[][2] = {
        {0x81, 0xFC}, {0x82, 0xE9}, {0x84, 0xE4}, {0x8E, 0xC4},
        {0x94, 0xF6}, {0x99, 0xD6}, {0x9A, 0xDC}, {0xE1, 0xDF},
    };
    for (const auto& pair : table) {
        if (pair[0] == byte) {
            return pair[1];
        }
    }
    return byte;
}

} // namespace

LogByteSource* MemoryParseEnvironment::OpenLog(const char*) {
    if (!logExists) {
        return nullptr;
    }
    source_ = std::make_unique<MemoryByteSource>(logBytes.data(), logBytes.size());
    logOpen = true;
    return source_.get();
}

std::int32_t MemoryParseEnvironment::LogSize() {
    return static_cast<std::int32_t>(logBytes.size());
}

void MemoryParseEnvironment::CloseLog() {
    logOpen = false;
}

bool MemoryParseEnvironment::IsRemovableDrive(char letter) {
    return removableDrives.find(letter) != std::string::npos;
}

void MemoryParseEnvironment::WindowsDirectory(char* buffer, std::size_t size) {
    SafeCopy(buffer, size, windowsDirectory.c_str());
}

void MemoryParseEnvironment::SystemDirectory(char* buffer, std::size_t size) {
    SafeCopy(buffer, size, systemDirectory.c_str());
}

bool MemoryParseEnvironment::FileExists(const char* path) {
    return Contains(files, path);
}

void MemoryParseEnvironment::NormalizePath(char* path, std::size_t size, bool toLong) {
    ++pathNormalizations;
    if (toLong && std::strchr(path, '~') == nullptr) {
        return;
    }
    for (const auto& [longForm, shortForm] : pathForms) {
        const std::string& from = toLong ? shortForm : longForm;
        const std::string& to = toLong ? longForm : shortForm;
        if (StartsWithNoCase(path, from.c_str())) {
            std::string result = to + (path + from.size());
            SafeCopy(path, size, result.c_str());
            return;
        }
    }
}

bool MemoryParseEnvironment::IsCountedSharedFile(const char* path) {
    return Contains(sharedFiles, path);
}

bool MemoryParseEnvironment::ReadStartMenuFolder(bool allUsers, char* buffer, std::size_t size) {
    const std::string& value = allUsers ? commonStartMenu : startMenu;
    if (value.empty()) {
        return false;
    }
    SafeCopy(buffer, size, value.c_str());
    return true;
}

bool MemoryParseEnvironment::MayManageServices() {
    events.push_back("rights-check");
    return mayManageServices;
}

void MemoryParseEnvironment::ConvertOemToAnsi(char* text) {
    for (; *text != '\0'; ++text) {
        *text = static_cast<char>(OemLetterToAnsi(static_cast<unsigned char>(*text)));
    }
}

const char* MemoryParseEnvironment::NextCharacter(const char* text) {
    if (*text == '\0') {
        return text;
    }
    if (leadBytes.find(*text) != std::string::npos && text[1] != '\0') {
        return text + 2;
    }
    return text + 1;
}

bool MemoryParseEnvironment::ProgressShown() {
    return progressShown;
}

void MemoryParseEnvironment::RepaintProgressBar() {
    ++progressRepaints;
}

void MemoryParseEnvironment::CloseProgress() {
    progressShown = false;
    events.push_back("close-progress");
}

void MemoryParseEnvironment::ShowError(int textId, int captionId) {
    events.push_back("error " + std::to_string(textId) + " " + std::to_string(captionId));
}

void MemoryParseEnvironment::SetBackgroundCaption(const char* title) {
    events.push_back(std::string("caption [") + title + "]");
}
