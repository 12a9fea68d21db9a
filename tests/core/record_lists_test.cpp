#include "core/record_lists.h"
#include "core/text_compare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

namespace {

// The lists' record types and the sizes of the texts other parts of the
// program cut to.
static_assert(std::is_same_v<decltype(PrivateFiles), IndexedRecordList<FileRecord>>);
static_assert(std::is_same_v<decltype(SystemFiles), RecordList<FileRecord>>);
static_assert(std::is_same_v<decltype(RepairFiles), RecordList<FileRecord>>);
static_assert(std::is_same_v<decltype(EditedFiles), RecordList<BackupRecord>>);
static_assert(std::is_same_v<decltype(DeletedFiles), RecordList<BackupRecord>>);
static_assert(std::is_same_v<decltype(Directories), RecordList<DirectoryRecord>>);
static_assert(std::is_same_v<decltype(NewIniFiles), RecordList<NamedRecord>>);
static_assert(std::is_same_v<decltype(Services), RecordList<NamedRecord>>);
static_assert(std::is_same_v<decltype(IniEdits), IndexedRecordList<IniEditRecord>>);
static_assert(std::is_same_v<decltype(CreatedValues), IndexedRecordList<CreatedValueRecord>>);
static_assert(std::is_same_v<decltype(ChangedValues), IndexedRecordList<ChangedValueRecord>>);
static_assert(std::is_same_v<decltype(RegistryEntries), RecordList<RegistryEntry>>);
static_assert(std::is_same_v<decltype(RegistryTrees), RecordList<RegistryTreeRecord>>);
static_assert(std::is_same_v<decltype(Icons), RecordList<IconRecord>>);
static_assert(std::is_same_v<decltype(Programs), RecordList<ProgramRecord>>);
static_assert(sizeof FileRecord::path == 260 && sizeof FileRecord::repairInfo == 80);
static_assert(sizeof RegistryTreeRecord::keyPath == 256 && sizeof IniEditRecord::section == 256);
static_assert(sizeof IniEditRecord::latestValue == 512 &&
              sizeof CreatedValueRecord::rootText == 12);
static_assert(sizeof ChangedValueRecord::preinstallData == 2048);
static_assert(sizeof ChangedValueRecord::latestData == 2048);
static_assert(std::is_same_v<Session, std::uint16_t> && LatestSession == 32767);

class RecordListTest : public testing::Test {
protected:
    void TearDown() override { FreeArena(); }
};

TEST_F(RecordListTest, AllocateRecordListsGivesEveryListItsCapacityAndEmptiesIt) {
    ASSERT_TRUE(AllocateRecordLists());
    ASSERT_NE(nullptr, AppendRecord(Services));
    ASSERT_TRUE(FindOrAddIndexed(PrivateFiles, "C:\\A.DLL", nullptr, nullptr, true).added);
    ASSERT_TRUE(AllocateRecordLists());

    const struct {
        const char* name;
        std::int32_t count;
        std::int32_t capacity;
    } lists[] = {
        {"PrivateFiles", PrivateFiles.count, PrivateFiles.capacity},
        {"SystemFiles", SystemFiles.count, SystemFiles.capacity},
        {"RepairFiles", RepairFiles.count, RepairFiles.capacity},
        {"EditedFiles", EditedFiles.count, EditedFiles.capacity},
        {"DeletedFiles", DeletedFiles.count, DeletedFiles.capacity},
        {"Directories", Directories.count, Directories.capacity},
        {"NewIniFiles", NewIniFiles.count, NewIniFiles.capacity},
        {"Services", Services.count, Services.capacity},
        {"IniEdits", IniEdits.count, IniEdits.capacity},
        {"CreatedValues", CreatedValues.count, CreatedValues.capacity},
        {"ChangedValues", ChangedValues.count, ChangedValues.capacity},
        {"RegistryEntries", RegistryEntries.count, RegistryEntries.capacity},
        {"RegistryTrees", RegistryTrees.count, RegistryTrees.capacity},
        {"Icons", Icons.count, Icons.capacity},
        {"Programs", Programs.count, Programs.capacity},
    };
    for (const auto& list : lists) {
        EXPECT_EQ(0, list.count) << list.name;
        EXPECT_EQ(list.name == std::string("PrivateFiles") ? 48000 : 16000, list.capacity)
            << list.name;
    }
    // The index went with the records.
    EXPECT_EQ(nullptr, FindOrAddIndexed(PrivateFiles, "C:\\A.DLL", nullptr, nullptr, false).record);
}

TEST_F(RecordListTest, AppendRecordKeepsCreationOrderAndIgnoresRecordsBeyondTheCapacity) {
    RecordList<NamedRecord> list;
    ASSERT_TRUE(PrepareList(list, 2));
    NamedRecord* first = AppendRecord(list);
    NamedRecord* second = AppendRecord(list);
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, second);
    EXPECT_EQ(nullptr, AppendRecord(list));
    EXPECT_EQ(2, list.count);
    EXPECT_EQ(first, list.items[0]);
    EXPECT_EQ(second, list.items[1]);
    EXPECT_STREQ("", first->name);
    EXPECT_EQ(0, first->selected);
    EXPECT_EQ(0, first->session);
}

// Inserts every key of a list of paths, then looks each probe up.
struct FileProbe {
    const char* path;
    int insertedAs; // index of the inserted key it must find; -1: absent
};

TEST_F(RecordListTest, FileKeysIgnoreCaseAndTellEndingsApart) {
    const char* inserted[] = {
        "C:\\APP\\B.DLL", "C:\\APP\\AB.DLL", "C:\\APP\\SUB\\B.DLL",
        "D:\\APP\\B.DLL", "C:\\APP\\B.DL",   "B.DLL",
    };
    const FileProbe probes[] = {
        {"c:\\app\\b.dll", 0},      {"C:\\APP\\AB.DLL", 1},
        {"c:\\App\\Sub\\B.dll", 2}, {"D:\\APP\\B.DLL", 3},
        {"C:\\APP\\B.DL", 4},       {"b.dll", 5},
        {"C:\\APP\\XB.DLL", -1},    {"APP\\B.DLL", -1},
        {"C:\\APP\\B.DLLX", -1},    {"", -1},
    };
    IndexedRecordList<FileRecord> list;
    ASSERT_TRUE(PrepareList(list, 16));
    for (const char* path : inserted) {
        auto added = FindOrAddIndexed(list, path, nullptr, nullptr, true);
        ASSERT_TRUE(added.added) << path;
        EXPECT_STREQ(path, added.record->path);
    }
    for (const auto& probe : probes) {
        auto found = FindOrAddIndexed(list, probe.path, nullptr, nullptr, false);
        EXPECT_FALSE(found.added) << probe.path;
        EXPECT_EQ(probe.insertedAs < 0 ? nullptr : list.items[probe.insertedAs], found.record)
            << probe.path;
    }
    EXPECT_EQ(6, list.count); // lookups without insertion change nothing
}

struct TripleProbe {
    const char* file;
    const char* section;
    const char* item;
    int insertedAs;
};

TEST_F(RecordListTest, ThreePartKeysMatchOnlyWhenEveryPartIsEqual) {
    const TripleProbe inserted[] = {
        {"C:\\WIN\\APP.INI", "Boot", "Shell", 0},  {"C:\\WIN\\APP.INI", "Boot", "Shell2", 1},
        {"C:\\WIN\\APP.INI", "Boot2", "Shell", 2}, {"C:\\WIN\\MY.INI", "Boot", "Shell", 3},
        {"C:\\WIN\\APP.INI", "Boot", "", 4},
    };
    const TripleProbe probes[] = {
        {"c:\\win\\app.ini", "BOOT", "shell", 0},  {"C:\\WIN\\APP.INI", "Boot", "SHELL2", 1},
        {"C:\\WIN\\APP.INI", "boot2", "Shell", 2}, {"C:\\WIN\\MY.INI", "Boot", "Shell", 3},
        {"C:\\WIN\\APP.INI", "Boot", "", 4},       {"C:\\WIN\\APP.INI", "Boot", "Shel", -1},
        {"C:\\WIN\\APP.INI", "Boo", "Shell", -1},  {"C:\\WIN\\XAPP.INI", "Boot", "Shell", -1},
    };
    IndexedRecordList<IniEditRecord> list;
    ASSERT_TRUE(PrepareList(list, 16));
    for (const auto& key : inserted) {
        auto added = FindOrAddIndexed(list, key.file, key.section, key.item, true);
        ASSERT_TRUE(added.added) << key.file << "|" << key.section << "|" << key.item;
        EXPECT_STREQ(key.item, added.record->item);
        EXPECT_STREQ("", added.record->latestValue); // everything but the key starts empty
        EXPECT_EQ(0, added.record->session);
    }
    for (const auto& probe : probes) {
        auto found = FindOrAddIndexed(list, probe.file, probe.section, probe.item, true);
        if (probe.insertedAs < 0) {
            EXPECT_TRUE(found.added) << probe.file << "|" << probe.section << "|" << probe.item;
        } else {
            EXPECT_FALSE(found.added) << probe.file << "|" << probe.section << "|" << probe.item;
            EXPECT_EQ(list.items[probe.insertedAs], found.record) << probe.item;
        }
    }
    EXPECT_EQ(8, list.count);
}

TEST_F(RecordListTest, AKeyPartGivenAsNoneIsNotCompared) {
    IndexedRecordList<CreatedValueRecord> list;
    ASSERT_TRUE(PrepareList(list, 4));
    CreatedValueRecord* value = FindOrAddIndexed(list, "Software\\Vell", "Path", "2", true).record;
    ASSERT_NE(nullptr, value);
    EXPECT_EQ(value, FindOrAddIndexed(list, "SOFTWARE\\VELL", nullptr, "2", false).record);
    EXPECT_EQ(value, FindOrAddIndexed(list, "Software\\Vell", "PATH", nullptr, false).record);
    EXPECT_EQ(nullptr, FindOrAddIndexed(list, "Software\\Vell", "Path", "1", false).record);
}

TEST_F(RecordListTest, AFullIndexedListStillFindsItsRecordsButTakesNoMore) {
    IndexedRecordList<FileRecord> list;
    ASSERT_TRUE(PrepareList(list, 2));
    FileRecord* a = FindOrAddIndexed(list, "C:\\A", nullptr, nullptr, true).record;
    ASSERT_NE(nullptr, FindOrAddIndexed(list, "C:\\B", nullptr, nullptr, true).record);
    auto refused = FindOrAddIndexed(list, "C:\\C", nullptr, nullptr, true);
    EXPECT_EQ(nullptr, refused.record);
    EXPECT_FALSE(refused.added);
    EXPECT_EQ(2, list.count);
    EXPECT_EQ(a, FindOrAddIndexed(list, "c:\\a", nullptr, nullptr, true).record);
    EXPECT_EQ(nullptr, FindOrAddIndexed(list, "C:\\C", nullptr, nullptr, false).record);
}

TEST_F(RecordListTest, KeysLongerThanTheirFieldsAreCutAndFoundAsCut) {
    IndexedRecordList<ChangedValueRecord> list;
    ASSERT_TRUE(PrepareList(list, 4));
    const std::string longPath = std::string(2000, 'k') + "\\PATH";
    const std::string longName(600, 'n');
    auto added = FindOrAddIndexed(list, longPath.c_str(), longName.c_str(), "12345678901234", true);
    ASSERT_TRUE(added.added);
    EXPECT_EQ(longPath.substr(0, 259), added.record->keyPath);
    EXPECT_EQ(longName.substr(0, 255), added.record->valueName);
    EXPECT_STREQ("12345678901", added.record->rootText);

    // The same long key, and one that differs only beyond what the fields hold.
    EXPECT_EQ(
        added.record,
        FindOrAddIndexed(list, longPath.c_str(), longName.c_str(), "12345678901234", true).record);
    EXPECT_EQ(added.record, FindOrAddIndexed(list, (longPath + "X").c_str(), longName.c_str(),
                                             "123456789019", true)
                                .record);
    EXPECT_EQ(1, list.count);
}

// Upper-case form of a path: what makes two file keys one.
std::string Folded(std::string path) {
    for (char& c : path) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return path;
}

TEST_F(RecordListTest, IndexAgreesWithAPlainSetOverManyInsertionsInAnyOrder) {
    // Few letters, so that many paths repeat in other letter cases and many
    // end alike; sorted runs as well as random ones.
    std::mt19937 random(20261211);
    std::vector<std::string> paths;
    for (int i = 0; i < 6000; ++i) {
        std::string path = "C:\\";
        int length = 1 + static_cast<int>(random() % 6);
        for (int j = 0; j < length; ++j) {
            path += "aBb\\"[random() % 4];
        }
        paths.push_back(path);
    }
    std::vector<std::string> sorted = paths;
    std::sort(sorted.begin(), sorted.end(), [](const std::string& a, const std::string& b) {
        return CompareFromEnd(a.c_str(), b.c_str()) < 0;
    });
    std::vector<std::string> descending(sorted.rbegin(), sorted.rend());

    for (const auto* order : {&paths, &sorted, &descending}) {
        IndexedRecordList<FileRecord> list;
        ASSERT_TRUE(PrepareList(list, 10000));
        std::set<std::string> seen;
        for (const std::string& path : *order) {
            bool isNew = seen.insert(Folded(path)).second;
            auto result = FindOrAddIndexed(list, path.c_str(), nullptr, nullptr, true);
            ASSERT_NE(nullptr, result.record) << path;
            ASSERT_EQ(isNew, result.added) << path;
            ASSERT_EQ(Folded(path), Folded(result.record->path));
        }
        EXPECT_EQ(static_cast<std::int32_t>(seen.size()), list.count);
        FreeArena();
    }
}

TEST_F(RecordListTest, ThreePartIndexAgreesWithAPlainSetWhenManyKeysShareParts) {
    // A few INI files whose names end alike, and sections and items that agree
    // over their first eight characters or end early, in many letter cases:
    // keys of one file sit side by side, and most steps compare later parts.
    const char* files[] = {"C:\\WIN\\APP.INI", "C:\\WIN\\XAPP.INI", "D:\\WIN\\APP.INI", "app.ini"};
    const char* sections[] = {"Settings", "Settings1", "settings12", "Set", ""};
    const char* items[] = {"Position", "Position2", "POSITIONS", "P", "Item12345678"};
    std::mt19937 random(20261212);
    std::vector<std::string> keys[3];
    for (int i = 0; i < 3000; ++i) {
        std::string parts[3] = {files[random() % 4], sections[random() % 5], items[random() % 5]};
        for (std::string& part : parts) {
            for (char& c : part) {
                if (random() % 2 == 0 && c >= 'A' && c <= 'Z') {
                    c = static_cast<char>(c - 'A' + 'a');
                }
            }
        }
        for (int part = 0; part < 3; ++part) {
            keys[part].push_back(parts[part]);
        }
    }
    IndexedRecordList<IniEditRecord> list;
    ASSERT_TRUE(PrepareList(list, 200));
    std::set<std::string> seen;
    for (std::size_t i = 0; i < keys[0].size(); ++i) {
        const char* file = keys[0][i].c_str();
        const char* section = keys[1][i].c_str();
        const char* item = keys[2][i].c_str();
        bool isNew =
            seen.insert(Folded(keys[0][i]) + "|" + Folded(keys[1][i]) + "|" + Folded(keys[2][i]))
                .second;
        auto result = FindOrAddIndexed(list, file, section, item, true);
        ASSERT_NE(nullptr, result.record) << file << "|" << section << "|" << item;
        ASSERT_EQ(isNew, result.added) << file << "|" << section << "|" << item;
        EXPECT_EQ(Folded(file), Folded(result.record->iniFile));
        EXPECT_EQ(Folded(section), Folded(result.record->section));
        EXPECT_EQ(Folded(item), Folded(result.record->item));
    }
    EXPECT_EQ(static_cast<std::int32_t>(seen.size()), list.count);
}

struct BlockCase {
    std::size_t size;
    std::vector<const char*> texts;
    std::string expected; // the block's bytes up to and including the closing empty text
};

TEST(TextBlockTest, StaysClosedAndInsideItsSizeWhateverIsAdded) {
    using namespace std::string_literals;
    const BlockCase cases[] = {
        {16, {"abc", "de"}, "abc\0de\0\0"s},
        {16, {"abcdefghijklmnopq"}, "abcdefghijklmn\0\0"s},
        {8, {"abc", "defgh", "x"}, "abc\0de\0\0"s},
        {8, {"abcdef", "x"}, "abcdef\0\0"s},
        {3, {"abc"}, "a\0\0"s},
        {2, {"abc"}, "\0"s},
    };
    for (const auto& c : cases) {
        char block[20];
        std::memset(block, 0xcc, sizeof block);
        std::size_t used = 0;
        for (const char* text : c.texts) {
            used = AppendToTextBlock(block, c.size, used, text);
        }
        std::string bytes(block, c.expected.size());
        EXPECT_EQ(c.expected, bytes) << "size " << c.size;
        for (std::size_t i = c.size; i < sizeof block; ++i) {
            ASSERT_EQ(static_cast<char>(0xcc), block[i]) << "size " << c.size << " byte " << i;
        }
    }
}

} // namespace
