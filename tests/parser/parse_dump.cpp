#include "parse_dump.h"

#include "core/arena.h"
#include "core/parse_results.h"
#include "core/record_lists.h"
#include "core/run_state.h"
#include "status/platform.h"

#include <cstdio>
#include <cstring>

void ResetParseResults() {
    FreeArena();
    AllocateRecordLists();
    sessionNumber = 0;
    for (char*& source : sessionSources) {
        source = nullptr;
    }
    lastSessionOffset = 0;
    for (char* text : {productTitle, mifName, manufacturer, productName, versionNumber,
                       serialNumber, installDirectory, commandLineTitle}) {
        text[0] = '\0';
    }
    perUserId = nullptr;
    subSystemName = nullptr;
    deleteInUseFiles = 0;
    restorePointEnabled = 0;
    subSystemSelected = 0;
    hasBackups = 0;
    sourceHasPipe = 0;
    logBytesTotal = 0;
    logBytesRead = 0;
    isWindowsNT = 1;
    hasNewShell = 1;
}

std::string Escaped(const char* text) {
    std::string result;
    for (; *text != '\0'; ++text) {
        unsigned char byte = static_cast<unsigned char>(*text);
        if (byte < 0x20 || byte > 0x7E) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "<%02x>", byte);
            result += hex;
        } else {
            result += static_cast<char>(byte);
        }
    }
    return result;
}

namespace {

// One output line, built field by field; zero and empty fields are left out.
class Line {
public:
    Line(std::string& out, const char* list, const char* key) : out_(out) {
        out_ += list;
        out_ += " [" + Escaped(key) + "]";
    }
    ~Line() { out_ += '\n'; }
    Line& Text(const char* name, const char* text) {
        if (text != nullptr && text[0] != '\0') {
            out_ += std::string(" ") + name + "=[" + Escaped(text) + "]";
        }
        return *this;
    }
    Line& Number(const char* name, long long value) {
        if (value != 0) {
            out_ += std::string(" ") + name + "=" + std::to_string(value);
        }
        return *this;
    }

private:
    std::string& out_;
};

template <typename Record> int IndexOf(const RecordList<Record>& list, const Record* record) {
    for (std::int32_t i = 0; i < list.count; ++i) {
        if (list.items[i] == record) {
            return i;
        }
    }
    return -1;
}

void DumpFiles(std::string& out, const char* name, const RecordList<FileRecord>& list) {
    for (std::int32_t i = 0; i < list.count; ++i) {
        const FileRecord& r = *list.items[i];
        Line(out, name, r.path)
            .Text("backup", r.backupPath)
            .Text("repair", r.repairInfo)
            .Text("link", r.linkInfo)
            .Number("selected", r.selected)
            .Number("autoRemove", r.autoRemove)
            .Number("selfRegister", r.selfRegisterSession)
            .Number("device", r.deviceSession)
            .Number("last", r.lastSession)
            .Number("backupSession", r.backupSession)
            .Number("repairSession", r.repairSession)
            .Number("sharedSession", r.sharedSession)
            .Number("sharedCount", r.sharedCount);
    }
}

void DumpBackups(std::string& out, const char* name, const RecordList<BackupRecord>& list) {
    for (std::int32_t i = 0; i < list.count; ++i) {
        const BackupRecord& r = *list.items[i];
        Line(out, name, r.path).Text("backup", r.backupPath).Number("session", r.session);
    }
}

void DumpNamed(std::string& out, const char* name, const RecordList<NamedRecord>& list) {
    for (std::int32_t i = 0; i < list.count; ++i) {
        const NamedRecord& r = *list.items[i];
        Line(out, name, r.name).Number("selected", r.selected).Number("session", r.session);
    }
}

std::string TextBlock(const char* block) {
    std::string joined;
    for (const char* text = block; *text != '\0'; text += std::strlen(text) + 1) {
        joined += (joined.empty() ? "" : "|") + std::string(text);
    }
    return joined;
}

void DumpHeader(std::string& out) {
    out += "installDirectory [" + Escaped(installDirectory) + "]\n";
    out += "sessionNumber " + std::to_string(sessionNumber) + "\n";
    if (lastSessionOffset != 0) {
        out += "lastSessionOffset " + std::to_string(lastSessionOffset) + "\n";
    }
    for (int i = 0; i < SessionSourceCount; ++i) {
        if (sessionSources[i] != nullptr) {
            out += "source " + std::to_string(i) + " [" + Escaped(sessionSources[i]) + "]\n";
        }
    }
    const std::pair<const char*, const char*> texts[] = {
        {"productTitle", productTitle},   {"mifName", mifName},
        {"manufacturer", manufacturer},   {"productName", productName},
        {"versionNumber", versionNumber}, {"serialNumber", serialNumber},
        {"perUserId", perUserId},         {"subSystemName", subSystemName},
    };
    for (const auto& [name, text] : texts) {
        if (text != nullptr && text[0] != '\0') {
            out += std::string(name) + " [" + Escaped(text) + "]\n";
        }
    }
    const std::pair<const char*, long long> flags[] = {
        {"deleteInUseFiles", deleteInUseFiles},   {"restorePointEnabled", restorePointEnabled},
        {"subSystemSelected", subSystemSelected}, {"hasBackups", hasBackups},
        {"sourceHasPipe", sourceHasPipe},
    };
    for (const auto& [name, value] : flags) {
        if (value != 0) {
            out += std::string(name) + " " + std::to_string(value) + "\n";
        }
    }
}

} // namespace

std::string DumpParseResults() {
    std::string out;
    DumpHeader(out);
    DumpFiles(out, "PrivateFiles", PrivateFiles);
    DumpFiles(out, "SystemFiles", SystemFiles);
    DumpFiles(out, "RepairFiles", RepairFiles);
    DumpBackups(out, "EditedFiles", EditedFiles);
    DumpBackups(out, "DeletedFiles", DeletedFiles);
    for (std::int32_t i = 0; i < Directories.count; ++i) {
        const DirectoryRecord& r = *Directories.items[i];
        Line(out, "Directories", r.path)
            .Number("selected", r.selected)
            .Number("tree", r.treeSession)
            .Number("made", r.madeSession);
    }
    DumpNamed(out, "NewIniFiles", NewIniFiles);
    DumpNamed(out, "Services", Services);
    for (std::int32_t i = 0; i < IniEdits.count; ++i) {
        const IniEditRecord& r = *IniEdits.items[i];
        Line(out, "IniEdits", r.iniFile)
            .Text("section", r.section)
            .Text("item", r.item)
            .Text("pre", r.preinstallValue)
            .Text("latest", r.latestValue)
            .Number("selected", r.selected)
            .Number("session", r.session);
    }
    for (std::int32_t i = 0; i < CreatedValues.count; ++i) {
        const CreatedValueRecord& r = *CreatedValues.items[i];
        Line(out, "CreatedValues", r.keyPath)
            .Text("name", r.valueName)
            .Text("rootText", r.rootText)
            .Number("root", r.root)
            .Number("selected", r.selected)
            .Number("session", r.session);
    }
    for (std::int32_t i = 0; i < ChangedValues.count; ++i) {
        const ChangedValueRecord& r = *ChangedValues.items[i];
        Line(out, "ChangedValues", r.keyPath)
            .Text("name", r.valueName)
            .Text("rootText", r.rootText)
            .Text("pre", TextBlock(r.preinstallData).c_str())
            .Text("latest", r.latestData)
            .Number("root", r.root)
            .Number("type", r.type)
            .Number("selected", r.selected)
            .Number("session", r.session);
    }
    for (std::int32_t i = 0; i < RegistryEntries.count; ++i) {
        const RegistryEntry& r = *RegistryEntries.items[i];
        std::string value =
            r.isChange ? "ChangedValues#" + std::to_string(IndexOf(ChangedValues, r.value.changed))
                       : "CreatedValues#" + std::to_string(IndexOf(CreatedValues, r.value.created));
        Line(out, "RegistryEntries", value.c_str())
            .Number("isChange", r.isChange)
            .Number("type", r.type)
            .Text("data", r.data);
    }
    for (std::int32_t i = 0; i < RegistryTrees.count; ++i) {
        const RegistryTreeRecord& r = *RegistryTrees.items[i];
        Line(out, "RegistryTrees", r.keyPath)
            .Number("root", r.root)
            .Number("selected", r.selected)
            .Number("session", r.session);
    }
    for (std::int32_t i = 0; i < Icons.count; ++i) {
        const IconRecord& r = *Icons.items[i];
        Line(out, "Icons", r.group)
            .Text("name", r.name)
            .Text("command", r.command)
            .Number("selected", r.selected)
            .Number("session", r.session);
    }
    for (std::int32_t i = 0; i < Programs.count; ++i) {
        const ProgramRecord& r = *Programs.items[i];
        Line(out, "Programs", r.path)
            .Text("name", r.name)
            .Number("selected", r.selected)
            .Number("session", r.session);
    }
    return out;
}
