// Registry values and trees, INI files and entries, services, programs to
// run and Program Manager icons.

#include "core/arena.h"
#include "core/log_format.h"
#include "core/parse_results.h"
#include "core/parser_internal.h"

#include "common/safe_text.h"

#include <charconv>

namespace log_parsing {

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
    *std::to_chars(rootText, rootText + sizeof rootText - 1, root).ptr = '\0';

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

    // The value's own record comes first: it is what undoing the value needs,
    // so a full list of entries must not lose it, and an entry is appended only
    // when it has a record to name.
    RegistryEntry* entry = nullptr;
    if (isChange) {
        IndexedLookup<ChangedValueRecord> lookup =
            FindOrAddIndexed(ChangedValues, keyPath, valueName, rootText, true);
        ChangedValueRecord* value = lookup.record;
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
        entry = AppendRecord(RegistryEntries);
        if (entry == nullptr) {
            return;
        }
        entry->value.changed = value;
    } else {
        IndexedLookup<CreatedValueRecord> lookup =
            FindOrAddIndexed(CreatedValues, keyPath, valueName, rootText, true);
        CreatedValueRecord* value = lookup.record;
        if (value == nullptr) {
            return;
        }
        if (lookup.added) {
            value->root = root;
        }
        value->session = sessionNumber;
        entry = AppendRecord(RegistryEntries);
        if (entry == nullptr) {
            return;
        }
        entry->value.created = value;
    }
    entry->isChange = isChange ? 1 : 0;
    entry->type = type;
    entry->data = CopyTextToArena(firstData.c_str());
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

} // namespace log_parsing
