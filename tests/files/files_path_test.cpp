// Path normalisation over an in-memory file system: the text handling,
// including every way a result could outgrow its buffer.
#include "engine/files_path.h"

#include "common/safe_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

// Answers a directory search the way the system does: by the whole path,
// without regard to case and in any mix of long and short names, with the
// entry's long and short names.
class MemoryLookup : public PathLookup {
public:
    std::string currentDirectory = "C:\\Work";
    std::map<std::string, std::pair<std::string, std::string>> entries = {
        {"C:\\PROGRAM FILES", {"Program Files", "PROGRA~1"}},
        {"C:\\PROGRAM FILES\\APP", {"App", ""}},
        {"C:\\PROGRAM FILES\\APP\\READ ME.TXT", {"Read Me.txt", "README~1.TXT"}},
        {"C:\\PROGRAM FILES\\*.TXT", {"Read Me.txt", "README~1.TXT"}},
        {"C:\\WORK\\SETUP.EXE", {"setup.exe", ""}},
        {"\\\\SERVER\\SHARE\\PROGRAM FILES", {"Program Files", "PROGRA~1"}},
    };

    bool CurrentDirectory(char* buffer, std::size_t size) const override {
        return SafeCopy(buffer, size, currentDirectory.c_str()) == currentDirectory.size();
    }

    bool FindEntry(const char* path, EntryNames& names) const override {
        std::string key = path;
        std::transform(key.begin(), key.end(), key.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        for (const auto& [shortName, longName] :
             {std::pair<std::string, std::string>{"PROGRA~1", "PROGRAM FILES"},
              {"README~1.TXT", "READ ME.TXT"}}) {
            for (std::size_t at = key.find(shortName); at != std::string::npos;
                 at = key.find(shortName)) {
                key.replace(at, shortName.size(), longName);
            }
        }
        auto found = entries.find(key);
        if (found == entries.end()) {
            return false;
        }
        SafeCopy(names.longName, found->second.first.c_str());
        SafeCopy(names.shortName, found->second.second.c_str());
        return true;
    }
};

std::string Normalized(const MemoryLookup& lookup, const std::string& path, bool toLong,
                       std::size_t size = 256) {
    std::vector<char> buffer(size);
    SafeCopy(buffer.data(), size, path.c_str());
    NormalizePathWith(lookup, buffer.data(), size, toLong);
    return buffer.data();
}

struct Case {
    const char* path;
    bool toLong;
    const char* expected;
};

TEST(NormalizePathTest, GivesEveryExistingComponentTheAskedForm) {
    const Case cases[] = {
        {"C:\\Program Files\\App\\Read Me.txt", false, "C:\\PROGRA~1\\App\\README~1.TXT"},
        {"C:\\PROGRA~1\\APP\\README~1.TXT", true, "C:\\Program Files\\App\\Read Me.txt"},
        {"c:\\PROGRA~1\\app", true, "C:\\Program Files\\App"},
        // Without a tilde there is no short name to expand: nothing changes.
        {"c:\\Program Files\\app", true, "c:\\Program Files\\app"},
        {"c:\\x", false, "C:\\x"},
        {"setup.exe", false, "C:\\Work\\setup.exe"},
        {"new.ini", false, "C:\\Work\\new.ini"},
        {"C:\\Program Files\\Missing Dir\\App", false, "C:\\PROGRA~1\\Missing Dir\\App"},
        {"C:\\Program Files\\App\\", false, "C:\\PROGRA~1\\App\\"},
        {"\\\\server\\share\\Program Files", false, "\\\\server\\share\\PROGRA~1"},
        {"C:\\Program Files\\*.txt", false, "C:\\PROGRA~1\\*.txt"},
        {"", false, ""},
        {"", true, ""},
    };
    MemoryLookup lookup;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(cases[i].expected, Normalized(lookup, cases[i].path, cases[i].toLong))
            << "case " << i << ": " << cases[i].path;
    }
}

TEST(NormalizePathTest, CurrentDirectoryEndingInABackslashGetsNoSecondOne) {
    MemoryLookup lookup;
    lookup.currentDirectory = "C:\\";
    EXPECT_EQ("C:\\setup.exe", Normalized(lookup, "setup.exe", false));
}

TEST(NormalizePathTest, ResultNeverOutgrowsItsBuffer) {
    MemoryLookup lookup;
    // "C:\Program Files\App" needs 21 bytes: the first component keeps its
    // short form, the later one that fits is still expanded.
    EXPECT_EQ("C:\\PROGRA~1\\App", Normalized(lookup, "C:\\PROGRA~1\\APP", true, 20));
    EXPECT_EQ("C:\\Program Files\\App", Normalized(lookup, "C:\\PROGRA~1\\APP", true, 21));
    // A relative name whose full form would not fit stays relative.
    lookup.currentDirectory = "C:\\" + std::string(250, 'd');
    EXPECT_EQ("setup.exe", Normalized(lookup, "setup.exe", false));
    // A current directory the system cannot give leaves the name as it is.
    lookup.currentDirectory = std::string(300, 'd');
    EXPECT_EQ("setup.exe", Normalized(lookup, "setup.exe", false));
}

TEST(NormalizePathTest, UnterminatedBufferIsReadAndWrittenOnlyWithinItsSize) {
    MemoryLookup lookup;
    std::vector<char> buffer(40, 'x');
    std::memcpy(buffer.data(), "c:\\", 3);
    NormalizePathWith(lookup, buffer.data(), 32, false);
    EXPECT_EQ(std::string("C:\\") + std::string(28, 'x'), buffer.data());
    EXPECT_EQ(std::string(8, 'x'), std::string(buffer.begin() + 32, buffer.end()));
}

} // namespace
