// The file operations against Wine's real file system, in the family this
// process sees; the DISABLED_AfterRestart suite looks at what a restart did.
#include "engine/files.h"

#include "core/parse_results.h"
#include "core/run_state.h"
#include "status/platform.h"

#include "common/safe_text.h"
#include "common/win_handle.h"

#include "restart_work.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <cstring>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

std::string Join(const std::string& folder, const std::string& name) {
    return folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

std::string Work(const std::string& name) {
    return Join(RestartWorkFolder(), name);
}

std::string LongPathOf(const std::string& path) {
    char longPath[MAX_PATH];
    DWORD length = GetLongPathNameA(path.c_str(), longPath, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(longPath, length) : std::string();
}

std::string Normalized(const std::string& path, bool toLong) {
    char buffer[MAX_PATH];
    SafeCopy(buffer, path.c_str());
    NormalizePath(buffer, toLong);
    return buffer;
}

// Entries ending in a backslash are folders; files hold their own name.
void MakeTree(const std::string& root, std::initializer_list<const char*> entries) {
    CreateDirectoryA(root.c_str(), nullptr);
    for (std::string entry : entries) {
        for (std::size_t slash = entry.find('\\'); slash != std::string::npos;
             slash = entry.find('\\', slash + 1)) {
            CreateDirectoryA(Join(root, entry.substr(0, slash)).c_str(), nullptr);
        }
        if (entry.back() != '\\') {
            WriteTextFile(Join(root, entry), entry);
        }
    }
}

// Every entry below root, relative to it; folders end in a backslash.
std::set<std::string> TreeEntries(const std::string& root, const std::string& prefix = "") {
    std::set<std::string> entries;
    WIN32_FIND_DATAA entry;
    win::unique_hfind search(FindFirstFileA(Join(root, "*").c_str(), &entry));
    if (!search) {
        return entries;
    }
    do {
        std::string name = entry.cFileName;
        if (name == "." || name == "..") {
            continue;
        }
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            entries.insert(prefix + name + "\\");
            std::set<std::string> below = TreeEntries(Join(root, name), prefix + name + "\\");
            entries.insert(below.begin(), below.end());
        } else {
            entries.insert(prefix + name);
        }
    } while (FindNextFileA(search.get(), &entry));
    return entries;
}

win::unique_hfile HoldOpenWithoutSharing(const std::string& path) {
    return win::unique_hfile(
        CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
}

class FilesTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        static const bool prepared = (DetectPlatform(), CreateRestartWorkFolder(), true);
        (void)prepared;
    }
    void SetUp() override {
        deleteInUseFiles = 0;
        selfDeleted = 0;
        ownProgramPath[0] = '\0';
        programFilesDir[0] = '\0';
    }
    void TearDown() override { SetUp(); }
};

// What the system has been asked to do at the next restart.
struct RestartWork {
    std::string wininit = ReadTextFile(WininitPath());
    std::string pending = PendingRenames();
    bool operator==(const RestartWork& other) const {
        return wininit == other.wininit && pending == other.pending;
    }
};

using NormalizePathOnDiskTest = FilesTest;

TEST_F(NormalizePathOnDiskTest, MatchesTheSystemsShortAndLongNames) {
    std::string folder = Work("a very long directory name");
    std::string file = Join(folder, "another long file name.txt");
    CreateDirectoryA(folder.c_str(), nullptr);
    WriteTextFile(file, "x");
    std::string shortFile = ShortPathOf(file);
    ASSERT_NE(std::string::npos, shortFile.find('~'));

    EXPECT_EQ(shortFile, Normalized(file, false));
    EXPECT_EQ(LongPathOf(shortFile), Normalized(shortFile, true));
    // A path without a tilde is already long: even its drive letter stays.
    std::string lowerDrive = file;
    lowerDrive[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(lowerDrive[0])));
    EXPECT_EQ(lowerDrive, Normalized(lowerDrive, true));
    EXPECT_EQ(shortFile, Normalized(lowerDrive, false));
    // Components that do not exist stay as written; the walk goes on.
    EXPECT_EQ(ShortPathOf(folder) + "\\missing part\\another long file name.txt",
              Normalized(folder + "\\missing part\\another long file name.txt", false));
}

TEST_F(NormalizePathOnDiskTest, RelativeNameGetsTheCurrentDirectory) {
    std::string folder = Work("current directory");
    CreateDirectoryA(folder.c_str(), nullptr);
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
    std::string normalized = Normalized("setup.exe", false);
    SetCurrentDirectoryA(previous);
    EXPECT_EQ(ShortPathOf(folder) + "\\setup.exe", normalized);
}

TEST_F(NormalizePathOnDiskTest, LongFormBeyondTheBufferKeepsShortComponents) {
    // A folder whose long path needs 256 to 259 characters: it exists, but
    // its long form does not fit a text 256.
    std::string root = Work("deep");
    std::size_t componentLength = (259 - root.size()) / 4 - 1;
    std::string path = root;
    CreateDirectoryA(root.c_str(), nullptr);
    for (char letter : {'a', 'b', 'c', 'd'}) {
        path += "\\" + std::string(componentLength, letter);
        ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path;
    }
    ASSERT_GE(path.size(), 256u);
    std::string shortPath = ShortPathOf(path);

    char buffer[256 + 16];
    std::memset(buffer, 0xcc, sizeof(buffer));
    SafeCopy(buffer, 256, shortPath.c_str());
    NormalizePath(buffer, 256, true);

    EXPECT_LT(std::strlen(buffer), 256u);
    EXPECT_NE(shortPath, buffer);
    EXPECT_EQ(path, LongPathOf(buffer)); // still names the same folder
    for (std::size_t i = 256; i < sizeof(buffer); ++i) {
        EXPECT_EQ(static_cast<char>(0xcc), buffer[i]) << "byte " << i;
    }
}

using DeleteFileOrScheduleTest = FilesTest;

TEST_F(DeleteFileOrScheduleTest, FreeFileIsDeletedAtOnce) {
    std::string file = Work("free.tmp");
    WriteTextFile(file, "x");
    SafeCopy(ownProgramPath, Work("own program.exe").c_str());
    RestartWork before;

    EXPECT_EQ(0, DeleteFileOrSchedule(file.c_str()));

    EXPECT_FALSE(FileExists(file));
    EXPECT_EQ(0, selfDeleted);
    EXPECT_TRUE(before == RestartWork());
}

TEST_F(DeleteFileOrScheduleTest, FileInUseIsScheduledOnlyWhenTheLogAllowsIt) {
    std::string folder = Work("in use folder");
    std::string kept = Join(folder, "in use but kept.tmp");
    std::string scheduled = Join(folder, "in use and scheduled.tmp");
    CreateDirectoryA(folder.c_str(), nullptr);
    WriteTextFile(kept, "x");
    WriteTextFile(scheduled, "x");
    win::unique_hfile keptHeld = HoldOpenWithoutSharing(kept);
    win::unique_hfile scheduledHeld = HoldOpenWithoutSharing(scheduled);
    ASSERT_TRUE(keptHeld && scheduledHeld);
    RestartWork before;

    EXPECT_NE(0, DeleteFileOrSchedule(kept.c_str()));
    EXPECT_TRUE(FileExists(kept));
    EXPECT_TRUE(before == RestartWork());

    deleteInUseFiles = 1;
    EXPECT_NE(0, DeleteFileOrSchedule(scheduled.c_str()));
    EXPECT_TRUE(FileExists(scheduled));
    RestartWork after;
    if (isWindowsNT) {
        EXPECT_NE(std::string::npos, after.pending.find(Upper(scheduled)));
        EXPECT_EQ(before.wininit, after.wininit);
    } else {
        // Restart-time deletion on this family knows only short names.
        std::string header = before.wininit.empty() ? "[rename]\r\n" : "";
        EXPECT_EQ(before.wininit + header + "NUL=" + ShortPathOf(scheduled) + "\r\n",
                  after.wininit);
    }
    EXPECT_EQ(0, rebootNeeded);
}

TEST_F(DeleteFileOrScheduleTest, OwnProgramFileIsMarkedButNeverScheduled) {
    std::string folder = Work("program folder");
    std::string program = Join(folder, "own program.exe");
    CreateDirectoryA(folder.c_str(), nullptr);
    WriteTextFile(program, "x");
    win::unique_hfile held = HoldOpenWithoutSharing(program);
    SafeCopy(ownProgramPath, program.c_str());
    deleteInUseFiles = 1;
    RestartWork before;

    EXPECT_NE(0, DeleteFileOrSchedule(ShortPathOf(program).c_str()));

    EXPECT_EQ(1, selfDeleted);
    EXPECT_TRUE(FileExists(program));
    EXPECT_TRUE(before == RestartWork());
}

TEST_F(DeleteFileOrScheduleTest, PathsUpToTheSystemsLimitWorkAndLongerOnesAreLeftAlone) {
    // 257 characters: longer than a text 256, still a path the system takes.
    std::string longName = Work(std::string(257 - Work("").size(), 'n'));
    ASSERT_EQ(257u, longName.size());
    WriteTextFile(longName, "x");
    ASSERT_TRUE(FileExists(longName));
    EXPECT_EQ(0, DeleteFileOrSchedule(longName.c_str()));
    EXPECT_FALSE(FileExists(longName));

    deleteInUseFiles = 1;
    RestartWork before;
    std::string tooLong = Work(std::string(400, 'x') + ".HLP");
    EXPECT_NE(0, DeleteFileOrSchedule(tooLong.c_str()));
    RemoveInstalledFile(tooLong.c_str());
    RemoveDirectoryTree(tooLong.c_str(), true);
    RemoveDirectoryTree((tooLong + "\\*.*").c_str(), true);
    EXPECT_TRUE(before == RestartWork());
}

using RemoveInstalledFileTest = FilesTest;

TEST_F(RemoveInstalledFileTest, HelpFileTakesItsIndexFilesAlong) {
    struct Case {
        const char* file;
        bool companionsGo;
    };
    const Case cases[] = {{"MANUAL.HLP", true}, {"guide.hlp", true}, {"NOTES.TXT", false}};
    for (const Case& c : cases) {
        std::string folder = Work(std::string("help ") + c.file);
        std::string file = Join(folder, c.file);
        std::string stem = file.substr(0, file.size() - 4);
        MakeTree(folder, {});
        for (const std::string& path : {file, stem + ".GID", stem + ".FTS"}) {
            WriteTextFile(path, "x");
        }
        // An installed file may be read-only; its attributes are cleared first.
        SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);

        RemoveInstalledFile(file.c_str());

        EXPECT_FALSE(FileExists(file)) << c.file;
        EXPECT_NE(c.companionsGo, FileExists(stem + ".GID")) << c.file;
        EXPECT_NE(c.companionsGo, FileExists(stem + ".FTS")) << c.file;
    }
}

using RemoveDirectoryTreeTest = FilesTest;

const std::initializer_list<const char*> kTree = {
    "a.txt",           "b.dat",
    "Empty\\",         "Chain\\Inner\\",
    "Sub\\c.txt",      "Sub\\Deeper\\d.txt",
    ".hidden\\e.txt",  ".hidden\\Empty\\",
    "OnlyText\\f.txt",
};

TEST_F(RemoveDirectoryTreeTest, WithoutFilesOnlyEmptyFoldersGo) {
    std::string root = Work("tree without files");
    MakeTree(root, kTree);

    RemoveDirectoryTree(root.c_str(), false);

    std::set<std::string> expected = {"a.txt",      "b.dat",          "Sub\\",
                                      "Sub\\c.txt", "Sub\\Deeper\\",  "Sub\\Deeper\\d.txt",
                                      ".hidden\\",  ".hidden\\e.txt", ".hidden\\Empty\\",
                                      "OnlyText\\", "OnlyText\\f.txt"};
    EXPECT_EQ(expected, TreeEntries(root));
}

TEST_F(RemoveDirectoryTreeTest, PatternAppliesAtEveryLevelButNeverInDotFolders) {
    std::string root = Work("tree with pattern");
    MakeTree(root, kTree);
    SetFileAttributesA(Join(root, "Sub\\c.txt").c_str(), FILE_ATTRIBUTE_READONLY);

    RemoveDirectoryTree((root + "\\*.txt").c_str(), true);

    std::set<std::string> expected = {"b.dat", ".hidden\\", ".hidden\\e.txt", ".hidden\\Empty\\"};
    EXPECT_EQ(expected, TreeEntries(root));
}

TEST_F(RemoveDirectoryTreeTest, WholeTreeWithFilesGoesEntirely) {
    std::string root = Work("whole tree");
    MakeTree(root, {"a.txt", "b.dat", "Empty\\", "Sub\\c.txt", "Sub\\Deeper\\d.bin"});

    RemoveDirectoryTree(root.c_str(), true);

    EXPECT_FALSE(FileExists(root));
}

// The host's name of a Windows path whose folder exists; empty when Wine has
// none.
std::string UnixFileName(const std::string& path) {
    using UnixFileNameOf = char*(CDECL*)(const WCHAR*);
    auto unixFileNameOf = reinterpret_cast<UnixFileNameOf>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    WCHAR wide[MAX_PATH];
    if (unixFileNameOf == nullptr ||
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH) == 0) {
        return "";
    }
    char* name = unixFileNameOf(wide);
    std::string result = name != nullptr ? name : "";
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

// Runs a program of the host (Wine starts Linux programs too) and waits until
// `done` holds: Wine gives no handle that tells when such a program ended.
template <typename Done>
bool RunHostProgram(const char* program, std::string commandLine, Done done) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(program, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        return false;
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(20)) {
        if (done()) {
            return true;
        }
    }
    return false;
}

bool IsFolderLink(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// A symbolic link of the host, which Wine shows as a folder that is a reparse
// point, as Windows shows a junction: Wine makes none through the Windows calls.
bool MakeFolderLink(const std::string& target, const std::string& link) {
    std::string unixTarget = UnixFileName(target);
    std::string unixLink = UnixFileName(link);
    return !unixTarget.empty() && !unixLink.empty() &&
           RunHostProgram("Z:\\bin\\ln", "ln -sfn \"" + unixTarget + "\" \"" + unixLink + "\"",
                          [&link] { return IsFolderLink(link); });
}

bool RemoveFolderLink(const std::string& link) {
    return RunHostProgram("Z:\\bin\\rm", "rm \"" + UnixFileName(link) + "\"",
                          [&link] { return !FileExists(link); });
}

TEST_F(RemoveDirectoryTreeTest, LinkedFoldersAreNeverEntered) {
    std::string elsewhere = Work("elsewhere");
    MakeTree(elsewhere, {"precious.txt", "Sub\\more.txt"});
    std::string root = Work("tree with a link");
    MakeTree(root, {"a.txt", "Sub\\"});
    std::string link = Join(root, "Sub\\linked");
    ASSERT_TRUE(MakeFolderLink(elsewhere, link));

    for (bool withFiles : {false, true}) {
        RemoveDirectoryTree(root.c_str(), withFiles);
        EXPECT_EQ(TreeEntries(elsewhere),
                  (std::set<std::string>{"precious.txt", "Sub\\", "Sub\\more.txt"}));
    }
    // The installation's own file went; the link and the folders holding it stay.
    EXPECT_FALSE(FileExists(Join(root, "a.txt")));
    EXPECT_TRUE(IsFolderLink(link));
    EXPECT_TRUE(RemoveFolderLink(link));
}

TEST_F(RemoveDirectoryTreeTest, ProtectedFoldersAreNeverTouched) {
    char windows[MAX_PATH];
    char system[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    GetSystemDirectoryA(system, MAX_PATH);
    std::string programFiles = Work("Fake Program Files");
    CreateDirectoryA(programFiles.c_str(), nullptr);
    SafeCopy(programFilesDir, programFiles.c_str());
    std::string plain = Work("plain folder");
    CreateDirectoryA(plain.c_str(), nullptr);

    struct Case {
        std::string folder;   // where the probes lie
        std::string argument; // what RemoveDirectoryTree is given
        bool isProtected;
    };
    const Case cases[] = {
        {windows, Join(windows, "*.sbtest"), true},
        {windows, Join(windows, "\\*.sbtest"), true}, // trailing backslash
        {windows, Upper(Join(windows, "*.sbtest")), true},
        {system, Join(system, "*.sbtest"), true},
        {programFiles, Join(programFiles, "*.sbtest"), true},
        {programFiles, Join(ShortPathOf(programFiles), "*.sbtest"), true},
        {programFiles, programFiles, true},
        {"C:\\", "C:\\*.sbtest", true},
        {"C:\\", "C:\\.\\*.sbtest", true},
        {plain, Join(plain, "*.sbtest"), false}, // shows the probes do go elsewhere
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        std::string probe = Join(c.folder, "sweepback_probe.sbtest");
        std::string emptyFolder = Join(c.folder, "sweepback_probe_empty");
        std::string belowProbe = Join(c.folder, "sweepback_probe_folder\\below.sbtest");
        MakeTree(c.folder, {"sweepback_probe.sbtest", "sweepback_probe_empty\\",
                            "sweepback_probe_folder\\below.sbtest"});

        RemoveDirectoryTree(c.argument.c_str(), true);

        for (const std::string& path : {probe, emptyFolder, belowProbe}) {
            EXPECT_EQ(c.isProtected, FileExists(path)) << "case " << i << ": " << path;
        }
        DeleteFileA(belowProbe.c_str());
        RemoveDirectoryA(Join(c.folder, "sweepback_probe_folder").c_str());
        RemoveDirectoryA(emptyFolder.c_str());
        DeleteFileA(probe.c_str());
    }
}

TEST(DISABLED_AfterRestart, OnlyTheAllowedFileInUseWasDeleted) {
    EXPECT_TRUE(FileExists(Work("in use folder\\in use but kept.tmp")));
    EXPECT_FALSE(FileExists(Work("in use folder\\in use and scheduled.tmp")));
    EXPECT_TRUE(FileExists(Work("program folder\\own program.exe")));
}

} // namespace
