#pragma once
// The log parser's own parts, shared by its three sources: parser.cpp (the
// main loop, the header lines and the fatal conditions), parser_files.cpp
// (files and directories) and parser_settings.cpp (registry, INI files,
// services, programs and icons).

#include "core/log_reader.h"
#include "core/parse_env.h"
#include "core/record_lists.h"
#include "core/text_compare.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

namespace log_parsing {

constexpr std::size_t PathSize = 260;

enum class FileRecordKind { Copy, ShellLink, Overwrite };

// A key or path that does not fit its field is not cut: a cut path names a
// different file or directory, and undoing that one would do harm.
inline bool Fits(const char* text, std::size_t fieldSize) {
    return std::strlen(text) < fieldSize;
}

inline bool EndsWithNoCase(const char* text, const char* ending) {
    std::size_t textLength = std::strlen(text);
    std::size_t endingLength = std::strlen(ending);
    return textLength >= endingLength &&
           CompareNoCase(text + textLength - endingLength, ending) == 0;
}

// The lists without a duplicate index are searched from their start: they
// stay short in the logs installers write.
template <typename Record, std::size_t N>
Record* FindByText(RecordList<Record>& list, char (Record::*field)[N], const char* text) {
    for (std::int32_t i = 0; i < list.count; ++i) {
        if (CompareNoCase(list.items[i]->*field, text) == 0) {
            return list.items[i];
        }
    }
    return nullptr;
}

// One reading of one log; lives for the call of ParseInstallLog.
class LogParser {
public:
    LogParser(ParseEnvironment& env, char (&installDirectory)[256])
        : env_(env), installDirectory_(installDirectory) {}

    int Parse(const char* logPath);

private:
    void Prepare(const char* logPath);
    void AddLogDirectoryEntry(const char* logPath);
    int Fail(int textId, int captionId);
    void ReadLine() { ReadLogLine(line_, sizeof line_, 0); }
    void ShowProgress();
    // Runs the handler of the line's keyword; false on a fatal condition.
    bool Dispatch();

    bool IsSystemFile(const char* path) const;
    bool IsOnRemovableMedia(const char* path) const;
    void ConvertUnlessAnsi(char* text) const;

    void HandleFileRecord(FileRecordKind kind, const char* keyword);
    void StoreRepairOnly(const char* path, const char* repairInfo, const std::string& linkInfo);
    void StoreMissingFile(const char* path, const char* repairInfo, const std::string& linkInfo);
    void StoreExistingFile(const char* path, const char* backupPath, const char* repairInfo,
                           const std::string& linkInfo, bool overwriteNotShared);
    void AddRepairRecord(const char* path, const char* repairInfo, const std::string& linkInfo);
    void HandleRegistryValue(const char* field);
    void HandleFileEdit(const char* field);
    void HandleFileDelete(const char* field);
    void HandleCreateService(const char* field);
    void HandleAddDevice(const char* field);
    void HandleSelfRegister(const char* field);
    void HandleIniNew();
    void HandleIniFile(const char* field);
    void HandleExecute(const char* field);
    void HandleIconGroup(const char* field);
    void HandleMadeDirectory(const char* field);
    void HandleFileTree(const char* field);
    void HandleRegistryTree(const char* field);
    void HandleSessionLine();
    void HandleSource(const char* field);
    bool HandleUserRights();
    void HandlePerUserId(const char* field);
    // File records by the long form of their paths, letters in upper case.
    struct LongFormIndex {
        std::int32_t covered = 0; // records of the list entered so far
        std::unordered_map<std::string, std::vector<FileRecord*>> records;
    };
    void MarkSelfRegistered(RecordList<FileRecord>& list, LongFormIndex& index,
                            const std::string& longPath);
    std::string LongForm(const char* path);

    ParseEnvironment& env_;
    char (&installDirectory_)[256];
    char line_[LogLineCapacity] = {};
    // Set: the line in the buffer is used up and the next one must be read.
    // Clear: it opens the next record and is examined again.
    bool advance_ = true;
    bool ansiText_ = false;
    bool markNonSystem_ = false;
    bool markCounterIgnored_ = false;
    bool removableA_ = false;
    bool removableB_ = false;
    bool rightsChecked_ = false;
    char systemDirectories_[3][PathSize] = {};
    // Path prefixes of other users' profiles and of the all-users profile;
    // "*" begins no path.
    char profilesRoot_[256] = "*";
    char allUsersRoot_[256] = "*";
    std::int32_t shownPosition_ = -1;
    // "Self-Register: " compares its path with every file record in long form.
    // Each record's long form is asked of the file system once and then found
    // by its text: a log of many files and registrations stays linear.
    LongFormIndex privateLongForms_;
    LongFormIndex systemLongForms_;
    // Long forms of the directories asked so far, by their text in the log.
    std::unordered_map<std::string, std::string> directoryLongForms_;
};

} // namespace log_parsing
