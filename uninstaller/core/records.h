#pragma once
// The records the install log is read into. Texts are zero-ended single-byte
// strings in fixed arrays; every copy into them goes through SafeCopy, so a
// text longer than its field is cut. A text reference (char*) lives in the
// record arena and is nullptr for "none". Session fields hold the number of an
// installation session of the log, 0 for "never".

#include <cstddef>
#include <cstdint>

using Session = std::uint16_t;

// Larger than any real session number: the log directory's own entry counts as
// made in the latest session, whatever its number.
constexpr Session LatestSession = 32767;

// One installed file (PrivateFiles, SystemFiles, RepairFiles).
struct FileRecord {
    char path[260];
    char backupPath[260];
    char repairInfo[80];
    char* linkInfo;
    std::int32_t selected;
    std::int32_t autoRemove;
    Session selfRegisterSession;
    Session deviceSession;
    Session lastSession;
    Session backupSession;
    Session repairSession;
    Session sharedSession;
    std::int32_t sharedCount;
};

// An edited or deleted file with the copy saved before (EditedFiles, DeletedFiles).
struct BackupRecord {
    char path[260];
    char backupPath[260];
    Session session;
};

// Ends in a backslash unless it is a file pattern (holds '*' or '?').
struct DirectoryRecord {
    char path[260];
    std::int32_t selected;
    Session treeSession;
    Session madeSession;
};

// A created INI file or service (NewIniFiles, Services).
struct NamedRecord {
    char name[260];
    std::int32_t selected;
    Session session;
};

struct RegistryTreeRecord {
    char keyPath[256];
    std::int32_t root;
    std::int32_t selected;
    Session session;
};

struct IniEditRecord {
    char iniFile[260];
    char section[256];
    char item[256];
    char preinstallValue[512]; // empty: the entry did not exist before
    char latestValue[512];
    std::int32_t selected;
    Session session;
};

struct CreatedValueRecord {
    char keyPath[260];
    char valueName[256]; // empty: the key's default value
    char rootText[12];
    std::int32_t root;
    std::int32_t selected;
    Session session;
};

struct ChangedValueRecord {
    char keyPath[260];
    char valueName[256];
    char rootText[12];
    char preinstallData[2048]; // text block, see AppendToTextBlock
    char latestData[2048];
    std::int32_t root;
    std::int32_t type;
    std::int32_t selected;
    Session session;
};

// One logged registry value, in log order; several entries may share a value record.
struct RegistryEntry {
    std::int32_t isChange; // which member of value is meant
    std::int32_t type;
    union {
        CreatedValueRecord* created;
        ChangedValueRecord* changed;
    } value;
    char* data;
};

struct IconRecord {
    char group[256];
    char name[256];
    char command[256];
    std::int32_t selected;
    Session session;
};

struct ProgramRecord {
    char path[260];
    char name[256];
    std::int32_t selected;
    Session session;
};

// Makes a new record empty: every text empty, every number 0, every reference
// none. Only the first byte of each text is written; the rest stays as the
// arena gave it and is never read. A record is kilobytes of fixed texts of
// which a log line fills a few bytes: clearing it whole would cost more than
// reading the line.
void ClearRecord(FileRecord& record);
void ClearRecord(BackupRecord& record);
void ClearRecord(DirectoryRecord& record);
void ClearRecord(NamedRecord& record);
void ClearRecord(RegistryTreeRecord& record);
void ClearRecord(IniEditRecord& record);
void ClearRecord(CreatedValueRecord& record);
void ClearRecord(ChangedValueRecord& record);
void ClearRecord(RegistryEntry& record);
void ClearRecord(IconRecord& record);
void ClearRecord(ProgramRecord& record);

// Adds text to a block of zero-ended texts closed by an empty text, such as
// ChangedValueRecord::preinstallData. used is the block's length before the
// closing empty text (0 for a new block); returns the new one. The block stays
// closed whatever fits: a text is cut to the room left, and once no character
// fits, further texts are dropped.
std::size_t AppendToTextBlock(char* block, std::size_t size, std::size_t used, const char* text);
