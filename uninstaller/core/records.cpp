#include "core/records.h"

#include "common/safe_text.h"

std::size_t AppendToTextBlock(char* block, std::size_t size, std::size_t used, const char* text) {
    // Room for at least one character, its zero byte and the closing empty text.
    if (size < 3 || used > size - 3) {
        if (size > used) {
            block[used] = '\0';
        }
        return used;
    }
    std::size_t length = SafeCopy(block + used, size - used - 1, text);
    used += length + 1;
    block[used] = '\0';
    return used;
}

void ClearRecord(FileRecord& record) {
    record.path[0] = '\0';
    record.backupPath[0] = '\0';
    record.repairInfo[0] = '\0';
    record.linkInfo = nullptr;
    record.selected = 0;
    record.autoRemove = 0;
    record.selfRegisterSession = 0;
    record.deviceSession = 0;
    record.lastSession = 0;
    record.backupSession = 0;
    record.repairSession = 0;
    record.sharedSession = 0;
    record.sharedCount = 0;
}

void ClearRecord(BackupRecord& record) {
    record.path[0] = '\0';
    record.backupPath[0] = '\0';
    record.session = 0;
}

void ClearRecord(DirectoryRecord& record) {
    record.path[0] = '\0';
    record.selected = 0;
    record.treeSession = 0;
    record.madeSession = 0;
}

void ClearRecord(NamedRecord& record) {
    record.name[0] = '\0';
    record.selected = 0;
    record.session = 0;
}

void ClearRecord(RegistryTreeRecord& record) {
    record.keyPath[0] = '\0';
    record.root = 0;
    record.selected = 0;
    record.session = 0;
}

void ClearRecord(IniEditRecord& record) {
    record.iniFile[0] = '\0';
    record.section[0] = '\0';
    record.item[0] = '\0';
    record.preinstallValue[0] = '\0';
    record.latestValue[0] = '\0';
    record.selected = 0;
    record.session = 0;
}

void ClearRecord(CreatedValueRecord& record) {
    record.keyPath[0] = '\0';
    record.valueName[0] = '\0';
    record.rootText[0] = '\0';
    record.root = 0;
    record.selected = 0;
    record.session = 0;
}

void ClearRecord(ChangedValueRecord& record) {
    record.keyPath[0] = '\0';
    record.valueName[0] = '\0';
    record.rootText[0] = '\0';
    // An empty block: its closing empty text at once.
    record.preinstallData[0] = '\0';
    record.latestData[0] = '\0';
    record.root = 0;
    record.type = 0;
    record.selected = 0;
    record.session = 0;
}

void ClearRecord(RegistryEntry& record) {
    record = RegistryEntry{};
}

void ClearRecord(IconRecord& record) {
    record.group[0] = '\0';
    record.name[0] = '\0';
    record.command[0] = '\0';
    record.selected = 0;
    record.session = 0;
}

void ClearRecord(ProgramRecord& record) {
    record.path[0] = '\0';
    record.name[0] = '\0';
    record.selected = 0;
    record.session = 0;
}
