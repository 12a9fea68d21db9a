#include "core/record_lists.h"

#include "common/safe_text.h"

IndexedRecordList<FileRecord> PrivateFiles;
RecordList<FileRecord> SystemFiles;
RecordList<FileRecord> RepairFiles;
RecordList<BackupRecord> EditedFiles;
RecordList<BackupRecord> DeletedFiles;
RecordList<DirectoryRecord> Directories;
RecordList<NamedRecord> NewIniFiles;
RecordList<NamedRecord> Services;
IndexedRecordList<IniEditRecord> IniEdits;
IndexedRecordList<CreatedValueRecord> CreatedValues;
IndexedRecordList<ChangedValueRecord> ChangedValues;
RecordList<RegistryEntry> RegistryEntries;
RecordList<RegistryTreeRecord> RegistryTrees;
RecordList<IconRecord> Icons;
RecordList<ProgramRecord> Programs;

static_assert(alignof(IndexNode) <= RecordArena::Alignment, "the arena places index nodes");

IndexNode* IndexNodeRuns::Take() {
    if (left_ == 0) {
        next_ = static_cast<IndexNode*>(AllocateFromArena(sizeof(IndexNode) * RunLength));
        if (next_ == nullptr) {
            return nullptr;
        }
        left_ = RunLength;
    }
    --left_;
    return new (next_++) IndexNode;
}

RecordKey IndexKeyOf(const FileRecord& record) {
    return {{record.path, nullptr, nullptr}};
}

RecordKey IndexKeyOf(const IniEditRecord& record) {
    return {{record.iniFile, record.section, record.item}};
}

RecordKey IndexKeyOf(const CreatedValueRecord& record) {
    return {{record.keyPath, record.valueName, record.rootText}};
}

RecordKey IndexKeyOf(const ChangedValueRecord& record) {
    return {{record.keyPath, record.valueName, record.rootText}};
}

void StoreIndexKey(FileRecord& record, const RecordKey& key) {
    SafeCopy(record.path, key.parts[0]);
}

void StoreIndexKey(IniEditRecord& record, const RecordKey& key) {
    SafeCopy(record.iniFile, key.parts[0]);
    SafeCopy(record.section, key.parts[1]);
    SafeCopy(record.item, key.parts[2]);
}

void StoreIndexKey(CreatedValueRecord& record, const RecordKey& key) {
    SafeCopy(record.keyPath, key.parts[0]);
    SafeCopy(record.valueName, key.parts[1]);
    SafeCopy(record.rootText, key.parts[2]);
}

void StoreIndexKey(ChangedValueRecord& record, const RecordKey& key) {
    SafeCopy(record.keyPath, key.parts[0]);
    SafeCopy(record.valueName, key.parts[1]);
    SafeCopy(record.rootText, key.parts[2]);
}

bool AllocateRecordLists() {
    // Every list is prepared even after one fails, so none is left with a stale array.
    bool prepared = PrepareList(PrivateFiles, PrivateFilesCapacity);
    prepared &= PrepareList(SystemFiles, ListCapacity);
    prepared &= PrepareList(RepairFiles, ListCapacity);
    prepared &= PrepareList(EditedFiles, ListCapacity);
    prepared &= PrepareList(DeletedFiles, ListCapacity);
    prepared &= PrepareList(Directories, ListCapacity);
    prepared &= PrepareList(NewIniFiles, ListCapacity);
    prepared &= PrepareList(Services, ListCapacity);
    prepared &= PrepareList(IniEdits, ListCapacity);
    prepared &= PrepareList(CreatedValues, ListCapacity);
    prepared &= PrepareList(ChangedValues, ListCapacity);
    prepared &= PrepareList(RegistryEntries, ListCapacity);
    prepared &= PrepareList(RegistryTrees, ListCapacity);
    prepared &= PrepareList(Icons, ListCapacity);
    prepared &= PrepareList(Programs, ListCapacity);
    return prepared;
}
