// File records, the directories made or filled, and the marks that
// self-registration and device lines put on earlier file records.

#include "core/arena.h"
#include "core/log_format.h"
#include "core/parse_results.h"
#include "core/parser_internal.h"
#include "status/platform.h"

#include "common/safe_text.h"

#include <algorithm>

namespace log_parsing {

namespace {

// Paths compare without regard to the case of ASCII letters (CompareNoCase);
// this is the form under which such paths are equal as texts.
std::string UpperCaseLetters(const char* text) {
    std::string upper = text;
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - ('a' - 'A'));
        }
    }
    return upper;
}

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// A directory worth recording: more than a drive root, and either a network
// path or one with a drive letter.
bool IsRecordableDirectory(const char* path) {
    if (std::strlen(path) <= 3) {
        return false;
    }
    return (path[0] == '\\' && path[1] == '\\') ||
           (IsAsciiLetter(path[0]) && path[1] == ':' && path[2] == '\\');
}

} // namespace

bool LogParser::IsSystemFile(const char* path) const {
    const char* lastBackslash = std::strrchr(path, '\\');
    if (lastBackslash == nullptr) {
        return false;
    }
    // The directory is the path up to its last backslash, compared in place.
    auto length = static_cast<std::size_t>(lastBackslash - path);
    for (const char* systemDirectory : systemDirectories_) {
        if (std::strlen(systemDirectory) == length && StartsWithNoCase(path, systemDirectory)) {
            return true;
        }
    }
    return false;
}

void LogParser::HandleFileRecord(FileRecordKind kind, const char* keyword) {
    // The repair information follows the first vertical bar (never the second
    // byte of a double-byte character); a blank just before the bar separates
    // it from the path. A byte below 0x80 never opens a double-byte character.
    char repairInfo[sizeof FileRecord::repairInfo] = "";
    const char* c = line_;
    while (*c != '\0' && *c != '|') {
        c = static_cast<unsigned char>(*c) < 0x80 ? c + 1 : env_.NextCharacter(c);
    }
    if (*c == '|') {
        std::size_t bar = static_cast<std::size_t>(c - line_);
        SafeCopy(repairInfo, c + 1);
        line_[bar] = '\0';
        if (bar > 0 && line_[bar - 1] == ' ') {
            line_[bar - 1] = '\0';
        }
    }
    // The cut may reach into the keyword itself: then there is no path.
    std::size_t fieldOffset = std::strlen(keyword);
    const char* field = std::strlen(line_) >= fieldOffset ? line_ + fieldOffset : "";
    bool fits = Fits(field, PathSize);
    char path[PathSize];
    SafeCopy(path, field);
    ConvertUnlessAnsi(path);

    bool overwriteNotShared = false;
    if (kind == FileRecordKind::ShellLink) {
        if (perUserId != nullptr && StartsWithNoCase(path, profilesRoot_) &&
            !StartsWithNoCase(path, allUsersRoot_)) {
            path[0] = '\0'; // a shortcut in another user's profile
        }
    } else if (kind == FileRecordKind::Overwrite) {
        overwriteNotShared = !(hasNewShell && env_.IsCountedSharedFile(path));
    }

    std::string linkInfo;
    char backupPath[PathSize] = "";
    ReadLine();
    if (const char* link = KeywordField(line_, LogKeyword::LinkInfo)) {
        linkInfo = link;
        ReadLine();
    }
    const char* backup = KeywordField(line_, LogKeyword::BackupCopy);
    if (backup != nullptr) {
        fits = fits && Fits(backup, PathSize);
        SafeCopy(backupPath, backup);
        ConvertUnlessAnsi(backupPath);
    } else {
        advance_ = false;
    }
    if (!fits) {
        return;
    }
    if (backup != nullptr) {
        hasBackups = 1;
    }

    if (IsOnRemovableMedia(path) || (overwriteNotShared && backupPath[0] == '\0') ||
        path[0] == '\0') {
        StoreRepairOnly(path, repairInfo, linkInfo);
    } else if (!env_.FileExists(path)) {
        StoreMissingFile(path, repairInfo, linkInfo);
    } else {
        StoreExistingFile(path, backupPath, repairInfo, linkInfo, overwriteNotShared);
    }
}

// The file cannot be undone; only what the repair needs is kept.
void LogParser::StoreRepairOnly(const char* path, const char* repairInfo,
                                const std::string& linkInfo) {
    if (repairInfo[0] == '\0' && linkInfo.empty()) {
        return;
    }
    FileRecord* record = IsSystemFile(path)
                             ? FindByText(SystemFiles, &FileRecord::path, path)
                             : FindOrAddIndexed(PrivateFiles, path, nullptr, nullptr, false).record;
    if (record == nullptr) {
        AddRepairRecord(path, repairInfo, linkInfo);
        return;
    }
    record->repairSession = sessionNumber;
    SafeCopy(record->repairInfo, repairInfo);
    if (!linkInfo.empty()) {
        record->linkInfo = CopyTextToArena(linkInfo.c_str());
    }
}

void LogParser::StoreMissingFile(const char* path, const char* repairInfo,
                                 const std::string& linkInfo) {
    FileRecord* record = FindByText(RepairFiles, &FileRecord::path, path);
    if (record == nullptr) {
        AddRepairRecord(path, repairInfo, linkInfo);
        return;
    }
    record->lastSession = sessionNumber;
    SafeCopy(record->repairInfo, repairInfo);
    if (!linkInfo.empty()) {
        record->linkInfo = CopyTextToArena(linkInfo.c_str());
    }
}

void LogParser::AddRepairRecord(const char* path, const char* repairInfo,
                                const std::string& linkInfo) {
    FileRecord* record = AppendRecord(RepairFiles);
    if (record == nullptr) {
        return;
    }
    SafeCopy(record->path, path);
    record->lastSession = sessionNumber;
    SafeCopy(record->repairInfo, repairInfo);
    record->linkInfo = linkInfo.empty() ? nullptr : CopyTextToArena(linkInfo.c_str());
}

void LogParser::StoreExistingFile(const char* path, const char* backupPath, const char* repairInfo,
                                  const std::string& linkInfo, bool overwriteNotShared) {
    bool isSystemFile = IsSystemFile(path);
    FileRecord* record = nullptr;
    bool added = false;
    if (isSystemFile) {
        record = FindByText(SystemFiles, &FileRecord::path, path);
        if (record == nullptr) {
            record = AppendRecord(SystemFiles);
            added = record != nullptr;
        }
    } else {
        IndexedLookup<FileRecord> lookup =
            FindOrAddIndexed(PrivateFiles, path, nullptr, nullptr, true);
        record = lookup.record;
        added = lookup.added;
    }
    if (record == nullptr) {
        return; // the list is full
    }
    bool hasBackup = backupPath[0] != '\0';
    if (added) {
        SafeCopy(record->path, path);
        SafeCopy(record->backupPath, backupPath);
        record->selected = isSystemFile && markNonSystem_ ? 1 : 0;
        record->lastSession = sessionNumber;
        record->backupSession = sessionNumber;
        record->sharedSession = markCounterIgnored_ ? 0 : sessionNumber;
        record->sharedCount = markCounterIgnored_ ? 0 : 1;
        record->autoRemove = !overwriteNotShared && !hasBackup ? 1 : 0;
        SafeCopy(record->repairInfo, repairInfo);
        record->linkInfo = linkInfo.empty() ? nullptr : CopyTextToArena(linkInfo.c_str());
        return;
    }
    record->lastSession = sessionNumber;
    if (!markCounterIgnored_) {
        ++record->sharedCount;
        record->sharedSession = sessionNumber;
    }
    if (hasBackup) {
        SafeCopy(record->backupPath, backupPath);
        record->backupSession = sessionNumber;
    }
    SafeCopy(record->repairInfo, repairInfo);
    if (!linkInfo.empty()) {
        record->linkInfo = CopyTextToArena(linkInfo.c_str());
    }
}

void LogParser::HandleFileEdit(const char* field) {
    char path[PathSize];
    bool fits = Fits(field, sizeof path);
    SafeCopy(path, field);
    ConvertUnlessAnsi(path);
    char backupPath[PathSize] = "";
    ReadLine();
    if (const char* backup = KeywordField(line_, LogKeyword::BackupCopy)) {
        fits = fits && Fits(backup, sizeof backupPath);
        SafeCopy(backupPath, backup);
        ConvertUnlessAnsi(backupPath);
    } else {
        advance_ = false;
    }
    if (!fits || IsOnRemovableMedia(path) || backupPath[0] == '\0' || !env_.FileExists(path)) {
        return;
    }
    BackupRecord* record = FindByText(EditedFiles, &BackupRecord::path, path);
    if (record == nullptr) {
        record = AppendRecord(EditedFiles);
        if (record == nullptr) {
            return;
        }
        SafeCopy(record->path, path);
    }
    SafeCopy(record->backupPath, backupPath);
    record->session = sessionNumber;
}

void LogParser::HandleFileDelete(const char* field) {
    char path[PathSize];
    bool fits = Fits(field, sizeof path);
    SafeCopy(path, field);
    ReadLine();
    const char* backup = KeywordField(line_, LogKeyword::BackupCopy);
    if (backup == nullptr) {
        advance_ = false;
        return;
    }
    if (!fits || !Fits(backup, PathSize)) {
        return;
    }
    hasBackups = 1;
    BackupRecord* record = FindByText(DeletedFiles, &BackupRecord::path, path);
    if (record == nullptr) {
        record = AppendRecord(DeletedFiles);
        if (record == nullptr) {
            return;
        }
        SafeCopy(record->path, path);
    }
    SafeCopy(record->backupPath, backup);
    record->session = sessionNumber;
}

// The marked record's path was converted when the session is OEM; the path
// that marks it is compared in the same code page.
void LogParser::HandleAddDevice(const char* field) {
    if (!Fits(field, PathSize)) {
        return; // no file record holds a path that long
    }
    char path[PathSize];
    SafeCopy(path, field);
    ConvertUnlessAnsi(path);
    auto mark = [&path](RecordList<FileRecord>& list) {
        for (std::int32_t i = 0; i < list.count; ++i) {
            if (CompareNoCase(list.items[i]->path, path) == 0) {
                list.items[i]->deviceSession = sessionNumber;
            }
        }
    };
    mark(PrivateFiles);
    mark(SystemFiles);
}

void LogParser::HandleSelfRegister(const char* field) {
    if (!Fits(field, PathSize)) {
        return; // no file record holds a path that long
    }
    char path[PathSize];
    SafeCopy(path, field);
    ConvertUnlessAnsi(path);
    std::string key = UpperCaseLetters(LongForm(path).c_str());
    MarkSelfRegistered(PrivateFiles, privateLongForms_, key);
    MarkSelfRegistered(SystemFiles, systemLongForms_, key);
}

void LogParser::MarkSelfRegistered(RecordList<FileRecord>& list, LongFormIndex& index,
                                   const std::string& longPath) {
    // Records are only appended and their paths never change, so the long
    // forms entered for earlier lines stay right.
    for (; index.covered < list.count; ++index.covered) {
        FileRecord* record = list.items[index.covered];
        index.records[UpperCaseLetters(LongForm(record->path).c_str())].push_back(record);
    }
    auto found = index.records.find(longPath);
    if (found != index.records.end()) {
        for (FileRecord* record : found->second) {
            record->selfRegisterSession = sessionNumber;
        }
    }
}

// Only a name with a '~' can be a short form. The file names of a log rarely
// are, its directories often; so the file system is asked once per directory
// and once per short file name, not once per file: in a directory of many
// thousand files each question is slow.
std::string LogParser::LongForm(const char* path) {
    if (std::strchr(path, '~') == nullptr) {
        return path;
    }
    const char* lastBackslash = std::strrchr(path, '\\');
    if (lastBackslash == nullptr || std::strchr(lastBackslash, '~') != nullptr) {
        char longForm[PathSize];
        SafeCopy(longForm, path);
        env_.NormalizePath(longForm, sizeof longForm, true);
        return longForm;
    }
    std::string directory(path, lastBackslash);
    auto known = directoryLongForms_.find(directory);
    if (known == directoryLongForms_.end()) {
        char longForm[PathSize];
        SafeCopy(longForm, directory.c_str());
        env_.NormalizePath(longForm, sizeof longForm, true);
        known = directoryLongForms_.emplace(directory, longForm).first;
    }
    return known->second + lastBackslash;
}

void LogParser::HandleMadeDirectory(const char* field) {
    char directory[PathSize];
    SafeCopy(directory, field);
    if (SafeAppend(directory, "\\") != std::strlen(field) + 1) {
        return; // too long for any directory record
    }
    ConvertUnlessAnsi(directory);

    // A directory the installation created above the log's own folder is the
    // installation directory the cleanup run removes.
    char shortForm[PathSize];
    SafeCopy(shortForm, directory);
    env_.NormalizePath(shortForm, sizeof shortForm, false);
    if (StartsWithNoCase(installDirectory_, shortForm)) {
        installDirectory_[std::strlen(shortForm)] = '\0';
    }

    if (!IsRecordableDirectory(directory)) {
        return;
    }
    std::size_t length = std::strlen(directory);
    for (std::int32_t i = 0; i < Directories.count; ++i) {
        DirectoryRecord* entry = Directories.items[i];
        std::size_t entryLength = std::strlen(entry->path);
        std::size_t shorter = std::min(length, entryLength);
        // An entry that goes with its files (a whole tree or a file pattern)
        // is never widened to a directory above it: that would delete files
        // the installation never put there.
        if (entry->treeSession != 0 && shorter < entryLength) {
            continue;
        }
        // One holds the other: the entry becomes the ancestor of the two.
        if (StartsWithNoCase(entry->path, std::string(directory, shorter).c_str())) {
            entry->path[shorter] = '\0';
            entry->madeSession = sessionNumber;
            return;
        }
    }
    DirectoryRecord* entry = AppendRecord(Directories);
    if (entry == nullptr) {
        return;
    }
    SafeCopy(entry->path, directory);
    entry->madeSession = sessionNumber;
}

void LogParser::HandleFileTree(const char* field) {
    std::string directory = field;
    if (EndsWithNoCase(directory.c_str(), "\\*.*")) {
        directory.resize(directory.size() - 4);
    }
    if (directory.find_first_of("*?") == std::string::npos) {
        directory += '\\';
    }
    if (!Fits(directory.c_str(), sizeof DirectoryRecord::path) ||
        !IsRecordableDirectory(directory.c_str())) {
        return;
    }
    DirectoryRecord* entry = FindByText(Directories, &DirectoryRecord::path, directory.c_str());
    if (entry == nullptr) {
        entry = AppendRecord(Directories);
        if (entry == nullptr) {
            return;
        }
        SafeCopy(entry->path, directory.c_str());
    }
    entry->treeSession = sessionNumber;
    entry->madeSession = sessionNumber;
}

} // namespace log_parsing
