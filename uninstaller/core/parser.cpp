#include "core/parser.h"

#include "core/arena.h"
#include "core/log_format.h"
#include "core/log_reader.h"
#include "core/parse_results.h"
#include "core/record_lists.h"
#include "core/run_state.h"
#include "core/text_compare.h"
#include "status/platform.h"

#include "common/safe_text.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

enum class FileRecordKind { Copy, ShellLink, Overwrite };

// String table numbers of the three fatal conditions.
constexpr int TextCannotOpen = 3;
constexpr int TextInvalid = 4;
constexpr int TextNoRights = 67;
constexpr int CaptionVellUninstall = 2;
constexpr int CaptionUninstall = 25;

constexpr std::size_t PathSize = 260;

// A key or path that does not fit its field is not cut: a cut path names a
// different file or directory, and undoing that one would do harm.
bool Fits(const char* text, std::size_t fieldSize) {
    return std::strlen(text) < fieldSize;
}

bool EndsWithNoCase(const char* text, const char* ending) {
    std::size_t textLength = std::strlen(text);
    std::size_t endingLength = std::strlen(ending);
    return textLength >= endingLength &&
           CompareNoCase(text + textLength - endingLength, ending) == 0;
}

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

// Cuts text just after its last backslash; false when it holds none.
bool CutAfterLastBackslash(char* text) {
    char* last = std::strrchr(text, '\\');
    if (last == nullptr) {
        return false;
    }
    last[1] = '\0';
    return true;
}

template <typename Record, std::size_t N>
Record* FindByText(RecordList<Record>& list, char (Record::*field)[N], const char* text) {
    for (std::int32_t i = 0; i < list.count; ++i) {
        if (CompareNoCase(list.items[i]->*field, text) == 0) {
            return list.items[i];
        }
    }
    return nullptr;
}

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

int LogParser::Parse(const char* logPath) {
    Prepare(logPath);
    LogByteSource* source = env_.OpenLog(logPath);
    if (source == nullptr) {
        return Fail(TextCannotOpen, CaptionVellUninstall);
    }
    logBytesTotal = env_.LogSize();
    StartLogReading(*source);

    ReadLine();
    if (!IsSessionLine(line_)) {
        return Fail(TextInvalid, CaptionVellUninstall);
    }
    ansiText_ = IsAnsiSession(line_);
    sessionSources[0] = nullptr;
    sessionSources[1] = nullptr;
    sessionNumber = 1;
    do {
        ReadLine();
        if (line_[0] == '\0') {
            return Fail(TextInvalid, CaptionVellUninstall);
        }
    } while (!IsTitleLine(line_));
    SetProductTitle(line_, env_);

    ReadLine();
    while (line_[0] != '\0') {
        ShowProgress();
        advance_ = true;
        markNonSystem_ = IsWholeLine(line_, LogKeyword::NonSystemFile);
        if (markNonSystem_) {
            ReadLine();
        }
        markCounterIgnored_ = IsWholeLine(line_, LogKeyword::SharedCounterIgnored);
        if (markCounterIgnored_) {
            ReadLine();
        }
        if (!Dispatch()) {
            return Fail(TextNoRights, CaptionUninstall);
        }
        if (advance_) {
            ReadLine();
        }
    }
    env_.CloseLog();
    return 0;
}

void LogParser::Prepare(const char* logPath) {
    char logDirectory[256];
    SafeCopy(logDirectory, logPath);
    char* lastBackslash = std::strrchr(logDirectory, '\\');
    *(lastBackslash != nullptr ? lastBackslash : logDirectory) = '\0';
    env_.NormalizePath(logDirectory, sizeof logDirectory, false);
    SafeAppend(logDirectory, "\\");
    SafeCopy(installDirectory_, logDirectory);

    removableA_ = env_.IsRemovableDrive('A');
    removableB_ = env_.IsRemovableDrive('B');
    env_.WindowsDirectory(systemDirectories_[0], PathSize);
    env_.SystemDirectory(systemDirectories_[1], PathSize);
    SafeCopy(systemDirectories_[2], systemDirectories_[1]);
    SafeAppend(systemDirectories_[2], "\\WIN32S");
    AddLogDirectoryEntry(logPath);
}

void LogParser::AddLogDirectoryEntry(const char* logPath) {
    DirectoryRecord* entry = AppendRecord(Directories);
    if (entry == nullptr) {
        return;
    }
    SafeCopy(entry->path, logPath);
    env_.NormalizePath(entry->path, sizeof entry->path, true);
    if (!CutAfterLastBackslash(entry->path) || std::strlen(entry->path) <= 3) {
        entry->path[0] = '\0';
    }
    entry->madeSession = LatestSession;

    // A log kept in the Windows or System directory, or in a folder above
    // them, never offers its folder for removal: the next directory record
    // takes the entry's place.
    bool counts = entry->path[0] != '\0';
    for (int i = 0; counts && i < 2; ++i) {
        char protectedDirectory[PathSize + 1];
        SafeCopy(protectedDirectory, systemDirectories_[i]);
        SafeAppend(protectedDirectory, "\\");
        counts = !StartsWithNoCase(protectedDirectory, entry->path);
    }
    if (!counts) {
        --Directories.count;
    }
}

int LogParser::Fail(int textId, int captionId) {
    if (env_.ProgressShown()) {
        env_.CloseProgress();
    }
    env_.ShowError(textId, captionId);
    env_.CloseLog();
    return 1;
}

void LogParser::ShowProgress() {
    if (!env_.ProgressShown()) {
        return;
    }
    // The reader takes the file in whole blocks, so this changes once per block.
    logBytesRead = LogFilePosition();
    if (logBytesRead != shownPosition_) {
        shownPosition_ = logBytesRead;
        env_.RepaintProgressBar();
    }
}

bool LogParser::Dispatch() {
    namespace K = LogKeyword;
    const char* field;
    if (KeywordField(line_, K::FileCopy) != nullptr) {
        HandleFileRecord(FileRecordKind::Copy, K::FileCopy);
    } else if (KeywordField(line_, K::ShellLink) != nullptr) {
        HandleFileRecord(FileRecordKind::ShellLink, K::ShellLink);
    } else if (KeywordField(line_, K::FileOverwrite) != nullptr) {
        HandleFileRecord(FileRecordKind::Overwrite, K::FileOverwrite);
    } else if ((field = KeywordField(line_, K::RegistryKey)) != nullptr) {
        HandleRegistryValue(field);
    } else if ((field = KeywordField(line_, K::FileEdit)) != nullptr) {
        HandleFileEdit(field);
    } else if ((field = KeywordField(line_, K::FileDelete)) != nullptr) {
        HandleFileDelete(field);
    } else if ((field = KeywordField(line_, K::CreateService)) != nullptr) {
        HandleCreateService(field);
    } else if ((field = KeywordField(line_, K::AddDevice)) != nullptr) {
        HandleAddDevice(field);
    } else if ((field = KeywordField(line_, K::SelfRegister)) != nullptr) {
        HandleSelfRegister(field);
    } else if (KeywordField(line_, K::IniNew) != nullptr) {
        HandleIniNew();
    } else if ((field = KeywordField(line_, K::IniFile)) != nullptr) {
        HandleIniFile(field);
    } else if ((field = KeywordField(line_, K::ExecutePath)) != nullptr ||
               (field = KeywordField(line_, K::ExecuteProgram)) != nullptr) {
        HandleExecute(field);
    } else if ((field = KeywordField(line_, K::IconGroup)) != nullptr) {
        HandleIconGroup(field);
    } else if ((field = KeywordField(line_, K::SubSystem)) != nullptr) {
        // The name starts at the keyword's closing "B".
        subSystemName = CopyTextToArena(field - 1);
        subSystemSelected = 0;
    } else if ((field = KeywordField(line_, K::MadeDirectory)) != nullptr) {
        HandleMadeDirectory(field);
    } else if ((field = KeywordField(line_, K::FileTree)) != nullptr) {
        HandleFileTree(field);
    } else if ((field = KeywordField(line_, K::RegistryTree)) != nullptr) {
        HandleRegistryTree(field);
    } else if (IsSessionLine(line_)) {
        HandleSessionLine();
    } else if ((field = KeywordField(line_, K::Source)) != nullptr) {
        HandleSource(field);
    } else if ((field = KeywordField(line_, K::UninstallMif)) != nullptr) {
        SafeCopy(mifName, field);
    } else if ((field = KeywordField(line_, K::Manufacturer)) != nullptr) {
        SafeCopy(manufacturer, field);
    } else if ((field = KeywordField(line_, K::Product)) != nullptr) {
        SafeCopy(productName, field);
    } else if ((field = KeywordField(line_, K::VersionNumber)) != nullptr) {
        SafeCopy(versionNumber, field);
    } else if ((field = KeywordField(line_, K::SerialNumber)) != nullptr) {
        SafeCopy(serialNumber, field);
    } else if (IsWholeLine(line_, K::UserRightsAdmin)) {
        return HandleUserRights();
    } else if ((field = KeywordField(line_, K::PerUserId)) != nullptr) {
        HandlePerUserId(field);
    } else if ((field = KeywordField(line_, K::DeleteInUseFiles)) != nullptr) {
        if (StartsWithNoCase(field, "On")) {
            deleteInUseFiles = 1;
        } else if (StartsWithNoCase(field, "Of")) {
            deleteInUseFiles = 0;
        }
    } else if (KeywordField(line_, K::SystemRestore) != nullptr) {
        restorePointEnabled = 1;
    } else if (KeywordField(line_, K::Title) != nullptr) {
        SetProductTitle(line_, env_);
    }
    return true;
}

bool LogParser::IsSystemFile(const char* path) const {
    const char* lastBackslash = std::strrchr(path, '\\');
    if (lastBackslash == nullptr) {
        return false;
    }
    std::string directory(path, lastBackslash);
    for (const char* systemDirectory : systemDirectories_) {
        if (CompareNoCase(directory.c_str(), systemDirectory) == 0) {
            return true;
        }
    }
    return false;
}

bool LogParser::IsOnRemovableMedia(const char* path) const {
    return (removableA_ && StartsWithNoCase(path, "A:")) ||
           (removableB_ && StartsWithNoCase(path, "B:"));
}

// Every converted field is converted as soon as it is read, so that the file
// system, the registry and the duplicate index all see the path that is
// stored: the OEM bytes would name a different file in the ANSI world.
void LogParser::ConvertUnlessAnsi(char* text) const {
    if (!ansiText_) {
        env_.ConvertOemToAnsi(text);
    }
}

void LogParser::HandleFileRecord(FileRecordKind kind, const char* keyword) {
    // The repair information follows the first vertical bar (never the second
    // byte of a double-byte character); a blank just before the bar separates
    // it from the path.
    char repairInfo[sizeof FileRecord::repairInfo] = "";
    const char* c = line_;
    while (*c != '\0' && *c != '|') {
        c = env_.NextCharacter(c);
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

void LogParser::HandleRegistryValue(const char* field) {
    char keyPath[PathSize];
    bool fits = Fits(field, sizeof keyPath);
    SafeCopy(keyPath, field);
    ReadLine();
    const char* data = KeywordField(line_, LogKeyword::RegistryValue);
    if (data == nullptr) {
        advance_ = false;
        return;
    }
    std::string firstData = data;
    do {
        ReadLine();
    } while (KeywordField(line_, LogKeyword::RegistryValue) != nullptr);

    char valueName[256] = "";
    std::int32_t type = 0;
    std::int32_t root = RootClasses;
    if (const char* name = KeywordField(line_, LogKeyword::RegistryName)) {
        fits = fits && Fits(name, sizeof valueName);
        SafeCopy(valueName, name);
        ReadLine();
    }
    if (const char* typeField = KeywordField(line_, LogKeyword::RegistryType)) {
        type = ReadLogNumber(typeField);
        ReadLine();
    }
    if (const char* rootField = KeywordField(line_, LogKeyword::RegistryRoot)) {
        root = ReadLogNumber(rootField);
        ReadLine();
        if (root == RootCurrentUser && perUserId != nullptr) {
            advance_ = false; // the installing user's own value
            return;
        }
    }
    char rootText[12];
    std::snprintf(rootText, sizeof rootText, "%d", static_cast<int>(root));

    bool isChange = false;
    char preinstallData[sizeof ChangedValueRecord::preinstallData];
    std::size_t used = 0;
    char latestData[sizeof ChangedValueRecord::latestData];
    if (const char* old = KeywordField(line_, LogKeyword::RegistryOld)) {
        isChange = true;
        SafeCopy(latestData, old);
        do {
            used = AppendToTextBlock(preinstallData, sizeof preinstallData, used, old);
            ReadLine();
        } while ((old = KeywordField(line_, LogKeyword::RegistryOld)) != nullptr);
    }
    advance_ = false;
    if (!fits) {
        return;
    }

    RegistryEntry* entry = AppendRecord(RegistryEntries);
    if (entry == nullptr) {
        return;
    }
    entry->isChange = isChange ? 1 : 0;
    entry->type = type;
    entry->data = CopyTextToArena(firstData.c_str());
    if (isChange) {
        IndexedLookup<ChangedValueRecord> lookup =
            FindOrAddIndexed(ChangedValues, keyPath, valueName, rootText, true);
        ChangedValueRecord* value = lookup.record;
        entry->value.changed = value;
        if (value == nullptr) {
            return;
        }
        if (lookup.added) {
            value->type = type;
            value->root = root;
            std::memcpy(value->preinstallData, preinstallData, used + 1);
        }
        SafeCopy(value->latestData, latestData);
        value->session = sessionNumber;
    } else {
        IndexedLookup<CreatedValueRecord> lookup =
            FindOrAddIndexed(CreatedValues, keyPath, valueName, rootText, true);
        CreatedValueRecord* value = lookup.record;
        entry->value.created = value;
        if (value == nullptr) {
            return;
        }
        if (lookup.added) {
            value->root = root;
        }
        value->session = sessionNumber;
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

void LogParser::HandleCreateService(const char* field) {
    if (!Fits(field, sizeof NamedRecord::name)) {
        return;
    }
    NamedRecord* record = FindByText(Services, &NamedRecord::name, field);
    if (record == nullptr) {
        record = AppendRecord(Services);
        if (record == nullptr) {
            return;
        }
        SafeCopy(record->name, field);
    }
    record->session = sessionNumber;
}

void LogParser::HandleAddDevice(const char* field) {
    auto mark = [field](RecordList<FileRecord>& list) {
        for (std::int32_t i = 0; i < list.count; ++i) {
            if (CompareNoCase(list.items[i]->path, field) == 0) {
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
    std::string key = UpperCaseLetters(LongForm(field).c_str());
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

void LogParser::HandleIniNew() {
    ReadLine();
    const char* field = KeywordField(line_, LogKeyword::IniFile);
    if (field == nullptr) {
        advance_ = false;
        return;
    }
    char name[PathSize];
    bool fits = Fits(field, sizeof name);
    SafeCopy(name, field);
    ConvertUnlessAnsi(name);
    if (fits && !IsOnRemovableMedia(name) && env_.FileExists(name)) {
        NamedRecord* record = FindByText(NewIniFiles, &NamedRecord::name, name);
        if (record == nullptr && (record = AppendRecord(NewIniFiles)) != nullptr) {
            SafeCopy(record->name, name);
        }
        if (record != nullptr) {
            record->session = sessionNumber;
        }
    }
    // The new file's own entries follow; the next "INI File: " or "INI New: "
    // starts a record of its own.
    for (;;) {
        ReadLine();
        if (!StartsWithNoCase(line_, LogKeyword::IniLine) ||
            KeywordField(line_, LogKeyword::IniFile) != nullptr ||
            KeywordField(line_, LogKeyword::IniNew) != nullptr) {
            break;
        }
    }
    advance_ = false;
}

void LogParser::HandleIniFile(const char* field) {
    char iniFile[PathSize];
    bool fits = Fits(field, sizeof iniFile);
    SafeCopy(iniFile, field);
    ConvertUnlessAnsi(iniFile);
    ReadLine();
    advance_ = false;
    if (IsOnRemovableMedia(iniFile)) {
        return; // what follows is at most its own continuation lines
    }
    const char* section = KeywordField(line_, LogKeyword::IniSection);
    if (section == nullptr) {
        return;
    }
    char sectionName[256];
    fits = fits && Fits(section, sizeof sectionName);
    SafeCopy(sectionName, section);
    ReadLine();
    const char* item = KeywordField(line_, LogKeyword::IniItem);
    if (item == nullptr) {
        return;
    }
    char itemName[256];
    fits = fits && Fits(item, sizeof itemName);
    SafeCopy(itemName, item);
    ReadLine();
    if (KeywordField(line_, LogKeyword::IniValue) == nullptr) {
        return;
    }
    ReadLine();
    char oldValue[sizeof IniEditRecord::preinstallValue] = "";
    if (const char* old = KeywordField(line_, LogKeyword::IniOld)) {
        SafeCopy(oldValue, old);
        advance_ = true;
    }
    if (!fits) {
        return;
    }
    IndexedLookup<IniEditRecord> lookup =
        FindOrAddIndexed(IniEdits, iniFile, sectionName, itemName, true);
    if (lookup.record == nullptr) {
        return;
    }
    if (lookup.added) {
        lookup.record->session = sessionNumber;
        SafeCopy(lookup.record->preinstallValue, oldValue);
    }
    SafeCopy(lookup.record->latestValue, oldValue);
}

void LogParser::HandleExecute(const char* field) {
    if (!Fits(field, sizeof ProgramRecord::path)) {
        return;
    }
    ProgramRecord* record = FindByText(Programs, &ProgramRecord::path, field);
    if (record != nullptr) {
        record->session = sessionNumber;
        return;
    }
    record = AppendRecord(Programs);
    if (record == nullptr) {
        return;
    }
    SafeCopy(record->path, field);
    record->session = sessionNumber;
    ReadLine();
    if (const char* name = KeywordField(line_, LogKeyword::ExecuteName)) {
        SafeCopy(record->name, name);
    } else {
        advance_ = false;
    }
}

void LogParser::HandleIconGroup(const char* field) {
    char group[sizeof IconRecord::group];
    bool fits = Fits(field, sizeof group);
    SafeCopy(group, field);
    ReadLine();
    const char* nameField = KeywordField(line_, LogKeyword::IconName);
    if (nameField == nullptr) {
        advance_ = false;
        return;
    }
    char name[sizeof IconRecord::name];
    fits = fits && Fits(nameField, sizeof name);
    SafeCopy(name, nameField);
    ReadLine();
    const char* command = KeywordField(line_, LogKeyword::IconCommand);
    if (command == nullptr) {
        advance_ = false;
        return;
    }
    if (!fits) {
        return;
    }
    for (std::int32_t i = 0; i < Icons.count; ++i) {
        IconRecord* icon = Icons.items[i];
        if (CompareNoCase(icon->group, group) == 0 && CompareNoCase(icon->name, name) == 0) {
            SafeCopy(icon->command, command);
            return;
        }
    }
    IconRecord* icon = AppendRecord(Icons);
    if (icon == nullptr) {
        return;
    }
    SafeCopy(icon->group, group);
    SafeCopy(icon->name, name);
    SafeCopy(icon->command, command);
    icon->session = sessionNumber;
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

void LogParser::HandleRegistryTree(const char* field) {
    char keyPath[sizeof RegistryTreeRecord::keyPath];
    bool fits = Fits(field, sizeof keyPath);
    SafeCopy(keyPath, field);
    ReadLine();
    std::int32_t root = RootClasses;
    if (const char* rootField = KeywordField(line_, LogKeyword::RegistryRoot)) {
        root = ReadLogNumber(rootField);
        ReadLine();
    }
    advance_ = false;
    if (!fits) {
        return;
    }
    for (std::int32_t i = 0; i < RegistryTrees.count; ++i) {
        RegistryTreeRecord* tree = RegistryTrees.items[i];
        if (tree->root == root && CompareNoCase(tree->keyPath, keyPath) == 0) {
            tree->session = sessionNumber;
            return;
        }
    }
    RegistryTreeRecord* tree = AppendRecord(RegistryTrees);
    if (tree == nullptr) {
        return;
    }
    SafeCopy(tree->keyPath, keyPath);
    tree->root = root;
    tree->session = sessionNumber;
}

void LogParser::HandleSessionLine() {
    lastSessionOffset = LogLineOffset();
    ++sessionNumber;
    if (sessionNumber < SessionSourceCount) {
        sessionSources[sessionNumber] = nullptr;
    }
    ansiText_ = IsAnsiSession(line_);
}

void LogParser::HandleSource(const char* field) {
    if (sessionNumber < SessionSourceCount) {
        sessionSources[sessionNumber] = CopyTextToArena(field);
    }
    if (std::strchr(line_, '|') != nullptr) {
        sourceHasPipe = 1;
    }
}

bool LogParser::HandleUserRights() {
    if (rightsChecked_) {
        return true;
    }
    rightsChecked_ = true;
    return !isWindowsNT || env_.MayManageServices();
}

void LogParser::HandlePerUserId(const char* field) {
    perUserId = CopyTextToArena(field);
    if (!hasNewShell) {
        return;
    }
    char folder[256] = "";
    if (env_.ReadStartMenuFolder(false, folder, sizeof folder) && folder[0] != '\0') {
        // "...\Profiles\<user>\Start Menu": the folder that holds every
        // user's profile ends at the second backslash from the end.
        char* last = std::strrchr(folder, '\\');
        if (last != nullptr) {
            *last = '\0';
            if (CutAfterLastBackslash(folder)) {
                SafeCopy(profilesRoot_, folder);
            }
        }
    }
    if (!isWindowsNT) {
        return;
    }
    folder[0] = '\0';
    if (env_.ReadStartMenuFolder(true, folder, sizeof folder) && folder[0] != '\0' &&
        CutAfterLastBackslash(folder)) {
        SafeCopy(allUsersRoot_, folder);
    }
}

} // namespace

int ParseInstallLog(const char* logPath, char (&installDirectory)[256], ParseEnvironment& env) {
    LogParser parser(env, installDirectory);
    return parser.Parse(logPath);
}

void SetProductTitle(const char* titleLine, ParseEnvironment& env) {
    SafeCopy(productTitle, TitleText(titleLine));
    std::size_t length = std::strlen(productTitle);
    if (length > 13 && EndsWithNoCase(productTitle, " INSTALLATION")) {
        length -= 13;
        productTitle[length] = '\0';
    }
    if (length > 8 && EndsWithNoCase(productTitle, " INSTALL")) {
        productTitle[length - 8] = '\0';
    }
    if (commandLineTitle[0] == '\0') {
        env.SetBackgroundCaption(productTitle);
    }
}
