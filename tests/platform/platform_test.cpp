#include "status/platform.h"
#include "status/platform_win.h"

#include "restart_work.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

void DetectPlatformOnce() {
    static const bool detected = (DetectPlatform(), true);
    (void)detected;
}

// Wine reports Windows 98 to the copy of this program named *_w98.exe.
bool RunsAsWindows98Copy() {
    char program[MAX_PATH];
    std::string name(program, GetModuleFileNameA(nullptr, program, MAX_PATH));
    return name.size() > 8 && lstrcmpiA(name.c_str() + name.size() - 8, "_w98.exe") == 0;
}

std::string ScheduledFile(const char* name) {
    return RestartWorkFolder() + "\\scheduled_" + name + ".tmp";
}

TEST(PlatformFacts, FamilyFollowsTheVersionTheSystemReports) {
    DetectPlatformOnce();
    EXPECT_EQ(RunsAsWindows98Copy() ? 0 : 1, isWindowsNT);
    // Windows 98 and NT 4.0 or later alike have the version 4 shell.
    EXPECT_EQ(1, hasNewShell);
}

TEST(PlatformFacts, ShellChangeNotificationIsFound) {
    DetectPlatformOnce();
    HMODULE shell = GetModuleHandleA("SHELL32.DLL");
    ASSERT_NE(nullptr, shell);
    EXPECT_EQ(shell, shellLibrary);
    EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(shell, "SHChangeNotify")),
              reinterpret_cast<void*>(shellChangeNotify));
}

class ScheduleDeleteAtRestartTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        DetectPlatformOnce();
        CreateRestartWorkFolder();
        // Never scheduled: after the restart it shows that only the
        // scheduled files went.
        WriteTextFile(RestartWorkFolder() + "\\kept.tmp", "kept");
    }
};

TEST_F(ScheduleDeleteAtRestartTest, NtFamilyUsesDelayedMoveAndLeavesWininitAlone) {
    if (!isWindowsNT) {
        GTEST_SKIP() << "Windows 95 family";
    }
    std::string path = ScheduledFile("nt");
    WriteTextFile(path, "x");
    std::string wininitBefore = ReadTextFile(WininitPath());

    ScheduleDeleteAtRestart(path.c_str());

    EXPECT_TRUE(FileExists(path));
    EXPECT_NE(std::string::npos, PendingRenames().find(Upper(path)));
    EXPECT_EQ(wininitBefore, ReadTextFile(WininitPath()));
}

TEST_F(ScheduleDeleteAtRestartTest, Windows95FamilyCreatesThenAppendsToWininit) {
    if (isWindowsNT) {
        GTEST_SKIP() << "Windows NT family";
    }
    const std::string wininit = WininitPath();
    const std::string created = ScheduledFile("created");
    const std::string appended = ScheduledFile("appended");
    const std::string afterUnendedLine = ScheduledFile("after_unended_line");
    for (const std::string& path : {created, appended, afterUnendedLine}) {
        WriteTextFile(path, "x");
    }
    DeleteFileA(wininit.c_str());

    ScheduleDeleteAtRestart(created.c_str());
    std::string expected = "[rename]\r\nNUL=" + created + "\r\n";
    EXPECT_EQ(expected, ReadTextFile(wininit));

    ScheduleDeleteAtRestart(appended.c_str());
    expected += "NUL=" + appended + "\r\n";
    EXPECT_EQ(expected, ReadTextFile(wininit));

    // A last line without its line end keeps its entry apart from ours.
    WriteTextFile(wininit, expected.substr(0, expected.size() - 2));
    ScheduleDeleteAtRestart(afterUnendedLine.c_str());
    expected += "NUL=" + afterUnendedLine + "\r\n";
    EXPECT_EQ(expected, ReadTextFile(wininit));
    EXPECT_TRUE(FileExists(created));
}

TEST_F(ScheduleDeleteAtRestartTest, PathTooLongForItsLineSchedulesNothing) {
    std::string path = RestartWorkFolder() + "\\" + std::string(600, 'x');
    std::string wininitBefore = ReadTextFile(WininitPath());
    std::string pendingBefore = PendingRenames();

    ScheduleDeleteAtRestart(path.c_str());

    EXPECT_EQ(wininitBefore, ReadTextFile(WininitPath()));
    EXPECT_EQ(pendingBefore, PendingRenames());
}

TEST(DISABLED_AfterRestart, ScheduledFilesAreGoneAndOthersStay) {
    DetectPlatformOnce();
    EXPECT_TRUE(FileExists(RestartWorkFolder() + "\\kept.tmp"));
    const char* scheduled[] = {"nt", "created", "appended", "after_unended_line"};
    for (const char* name : scheduled) {
        EXPECT_FALSE(FileExists(ScheduledFile(name))) << name;
    }
}

} // namespace
