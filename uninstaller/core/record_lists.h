#pragma once
// The fifteen record lists of a run. Each is an array of record pointers in
// the order the records were first created, with a count and a fixed
// capacity; a list that is full ignores further records. Records, arrays and
// index nodes come from the record arena.

#include "core/arena.h"
#include "core/record_index.h"
#include "core/records.h"

#include <cstdint>
#include <new>

template <typename Record> struct RecordList {
    Record** items;
    std::int32_t count;
    std::int32_t capacity;
};

// The index key of each indexed record type, and how a new record receives it.
RecordKey IndexKeyOf(const FileRecord& record);
RecordKey IndexKeyOf(const IniEditRecord& record);
RecordKey IndexKeyOf(const CreatedValueRecord& record);
RecordKey IndexKeyOf(const ChangedValueRecord& record);
void StoreIndexKey(FileRecord& record, const RecordKey& key);
void StoreIndexKey(IniEditRecord& record, const RecordKey& key);
void StoreIndexKey(CreatedValueRecord& record, const RecordKey& key);
void StoreIndexKey(ChangedValueRecord& record, const RecordKey& key);

// Where an indexed list's tree nodes come from: the arena, in runs of their
// own. Kept together, the nodes a descent passes share cache lines and pages;
// beside their records, each step of a descent would wait for memory.
class IndexNodeRuns {
public:
    // A node with every field still to be set; nullptr when the arena is exhausted.
    IndexNode* Take();
    void Clear() {
        next_ = nullptr;
        left_ = 0;
    }

private:
    static constexpr std::int32_t RunLength = 64;
    IndexNode* next_ = nullptr;
    std::int32_t left_ = 0;
};

// A list with a duplicate index. Records enter it only through FindOrAddIndexed.
template <typename Record> struct IndexedRecordList : RecordList<Record> {
    DuplicateIndex index{
        [](const void* record) { return IndexKeyOf(*static_cast<const Record*>(record)); }};
    IndexNodeRuns nodes;
};

// Takes the list's array for capacity records from the arena and empties the
// list. Returns false, leaving a list that takes no records, when the arena
// is exhausted.
template <typename Record> bool PrepareList(RecordList<Record>& list, std::int32_t capacity) {
    list.items = static_cast<Record**>(AllocateFromArena(sizeof(Record*) * capacity));
    list.count = 0;
    list.capacity = list.items != nullptr ? capacity : 0;
    return list.items != nullptr;
}

template <typename Record>
bool PrepareList(IndexedRecordList<Record>& list, std::int32_t capacity) {
    list.index.Clear();
    list.nodes.Clear();
    return PrepareList(static_cast<RecordList<Record>&>(list), capacity);
}

// Appends a new empty record (ClearRecord); nullptr when the list is full or
// the arena is exhausted.
template <typename Record> Record* AppendRecord(RecordList<Record>& list) {
    if (list.count >= list.capacity) {
        return nullptr;
    }
    void* memory = AllocateFromArena(sizeof(Record));
    if (memory == nullptr) {
        return nullptr;
    }
    Record* record = new (memory) Record;
    ClearRecord(*record);
    list.items[list.count++] = record;
    return record;
}

// Appending past the index would let a repeat of the key in as a second record.
template <typename Record> Record* AppendRecord(IndexedRecordList<Record>& list) = delete;

template <typename Record> struct IndexedLookup {
    Record* record; // nullptr: absent (and not added)
    bool added;     // record is new: its key is set, every other field empty (ClearRecord)
};

// Finds the record of list whose key equals (part1, part2, part3); a part
// given as nullptr is not compared. The key is cut to its fields' sizes first,
// exactly as a new record would store it. On a miss with insert set, appends a
// new record holding the key, unless the list is full or the arena exhausted.
template <typename Record>
IndexedLookup<Record> FindOrAddIndexed(IndexedRecordList<Record>& list, const char* part1,
                                       const char* part2, const char* part3, bool insert) {
    Record cut; // only its key fields are written and read
    StoreIndexKey(cut, RecordKey{{part1, part2, part3}});
    RecordKey stored = IndexKeyOf(cut);
    RecordKey searched{{part1 != nullptr ? stored.parts[0] : nullptr,
                        part2 != nullptr ? stored.parts[1] : nullptr,
                        part3 != nullptr ? stored.parts[2] : nullptr}};
    DuplicateIndex::Search search = list.index.Find(searched);
    if (search.found != nullptr) {
        return {static_cast<Record*>(search.found), false};
    }
    if (!insert || list.count >= list.capacity) {
        return {nullptr, false};
    }
    IndexNode* node = list.nodes.Take();
    void* memory = node != nullptr ? AllocateFromArena(sizeof(Record)) : nullptr;
    if (memory == nullptr) {
        return {nullptr, false};
    }
    Record* record = new (memory) Record;
    ClearRecord(*record);
    StoreIndexKey(*record, searched);
    node->record = record;
    list.index.Link(node, search);
    list.items[list.count++] = record;
    return {record, true};
}

constexpr std::int32_t PrivateFilesCapacity = 48000;
constexpr std::int32_t ListCapacity = 16000; // every other list

extern IndexedRecordList<FileRecord> PrivateFiles;
extern RecordList<FileRecord> SystemFiles;
extern RecordList<FileRecord> RepairFiles;
extern RecordList<BackupRecord> EditedFiles;
extern RecordList<BackupRecord> DeletedFiles;
extern RecordList<DirectoryRecord> Directories;
extern RecordList<NamedRecord> NewIniFiles;
extern RecordList<NamedRecord> Services;
extern IndexedRecordList<IniEditRecord> IniEdits;
extern IndexedRecordList<CreatedValueRecord> CreatedValues;
extern IndexedRecordList<ChangedValueRecord> ChangedValues;
extern RecordList<RegistryEntry> RegistryEntries;
extern RecordList<RegistryTreeRecord> RegistryTrees;
extern RecordList<IconRecord> Icons;
extern RecordList<ProgramRecord> Programs;

// Takes every list's array from the arena and empties the lists, before the
// log is read. Returns false when the arena is exhausted (the lists that got
// no array take no records).
bool AllocateRecordLists();
