// Parser behaviour that a small corpus log cannot show: the product title
// rules, the progress display over many blocks, and how often the file
// system is asked for long forms.

#include "memory_env.h"
#include "parse_dump.h"

#include "core/log_reader.h"
#include "core/parse_results.h"
#include "core/parser.h"
#include "core/record_lists.h"
#include "core/run_state.h"

#include "common/safe_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TitleCase {
    const char* line;
    const char* title;
};

TEST(SetProductTitleTest, CutsTheInstallationSuffixes) {
    const std::string longTitle(300, 'T');
    const TitleCase cases[] = {
        {"Title: Sample INSTALLATION", "Sample"},
        {"Title: Sample Install", "Sample"},
        {"Title: Sample Installation Install", "Sample Installation"},
        {"Title: X INSTALLATION", "X"},
        {"Title: A INSTALL", "A"},
        {"Title: INSTALLATION", "INSTALLATION"}, // nothing would be left in front
        {"Title:  INSTALL", " INSTALL"},
        {"title: lower case keyword", "lower case keyword"},
        {"Title:", ""}, // no separator byte, so no title
        {"Title:X", ""},
    };
    for (const TitleCase& test : cases) {
        ResetParseResults();
        MemoryParseEnvironment env;
        SetProductTitle(test.line, env);
        EXPECT_STREQ(test.title, productTitle) << test.line;
        ASSERT_EQ(1u, env.events.size()) << test.line;
        EXPECT_EQ(std::string("caption [") + test.title + "]", env.events[0]) << test.line;
    }
}

TEST(SetProductTitleTest, CutsALongTitleToItsField) {
    ResetParseResults();
    MemoryParseEnvironment env;
    SetProductTitle(("Title: " + std::string(300, 'T')).c_str(), env);
    EXPECT_EQ(std::string(255, 'T'), productTitle);
}

TEST(SetProductTitleTest, LeavesACommandLineTitleOnTheBackgroundWindow) {
    ResetParseResults();
    SafeCopy(commandLineTitle, "From the command line");
    MemoryParseEnvironment env;
    SetProductTitle("Title: Sample INSTALL", env);
    EXPECT_STREQ("Sample", productTitle);
    EXPECT_TRUE(env.events.empty());
}

std::string LogOfLines(const std::string& line, int count) {
    std::string log = "*** Big\r\nTitle: Big\r\n";
    for (int i = 0; i < count; ++i) {
        log += line + "\r\n";
    }
    return log;
}

// The bar is repainted when the reader takes the next block of the file,
// not for every line.
TEST(ParseProgressTest, RepaintsOncePerBlock) {
    ResetParseResults();
    MemoryParseEnvironment env;
    env.logBytes = LogOfLines("Product: a line of the log that is about forty", 2000);
    ASSERT_GT(env.logBytes.size(), 5 * LogBlockSize);
    ASSERT_EQ(0, ParseInstallLog("C:\\APP\\INSTALL.LOG", installDirectory, env));

    int blocks = static_cast<int>((env.logBytes.size() + LogBlockSize - 1) / LogBlockSize);
    EXPECT_EQ(blocks, env.progressRepaints);
    EXPECT_EQ(static_cast<std::int32_t>(env.logBytes.size()), logBytesTotal);
    EXPECT_EQ(logBytesTotal, logBytesRead);
}

TEST(ParseProgressTest, NeedsTheProgressDialog) {
    ResetParseResults();
    MemoryParseEnvironment env;
    env.progressShown = false;
    env.logBytes = LogOfLines("Product: x", 5000);
    ASSERT_EQ(0, ParseInstallLog("C:\\APP\\INSTALL.LOG", installDirectory, env));
    EXPECT_EQ(0, env.progressRepaints);
    EXPECT_EQ(0, logBytesRead);
}

// The table of session sources ends; later sessions still count.
TEST(SessionTest, KeepsSourcesOnlyWithinTheTable) {
    ResetParseResults();
    MemoryParseEnvironment env;
    env.logBytes = "*** 1\r\nTitle: Many sessions\r\n";
    for (int session = 1; session <= SessionSourceCount + 10; ++session) {
        if (session > 1) {
            env.logBytes += "*** " + std::to_string(session) + "\r\n";
        }
        env.logBytes += "Source: D:\\DISK" + std::to_string(session) + "\r\n";
    }
    ASSERT_EQ(0, ParseInstallLog("C:\\APP\\INSTALL.LOG", installDirectory, env));
    EXPECT_EQ(SessionSourceCount + 10, sessionNumber);
    ASSERT_NE(nullptr, sessionSources[SessionSourceCount - 1]);
    EXPECT_EQ("D:\\DISK" + std::to_string(SessionSourceCount - 1),
              sessionSources[SessionSourceCount - 1]);
}

// Each "Self-Register: " line compares long forms of every file record. The
// file system is asked for a directory's long form once, and for a file name's
// only when the name itself is a short form.
TEST(SelfRegisterTest, AsksTheFileSystemOncePerDirectory) {
    constexpr int files = 50;
    ResetParseResults();
    MemoryParseEnvironment env;
    // The memory system maps the first prefix that fits, so the longest comes first.
    env.pathForms = {
        {"C:\\Program Files\\Other\\Long Name.dll", "C:\\PROGRA~1\\OTHER~1\\LONGNA~1.DLL"},
        {"C:\\Program Files\\Sample", "C:\\PROGRA~1\\SAMPLE"},
        {"C:\\Program Files\\Other", "C:\\PROGRA~1\\OTHER~1"}};
    env.logBytes = "*** Many\r\nTitle: Many\r\n";
    auto addFile = [&env](const std::string& path) {
        env.files.push_back(path);
        env.logBytes += "File Copy: " + path + "\r\n";
    };
    for (int i = 0; i < files; ++i) {
        addFile("C:\\PROGRA~1\\" + std::string(i % 2 == 0 ? "SAMPLE" : "OTHER~1") + "\\F" +
                std::to_string(i) + ".DLL");
    }
    addFile("C:\\PROGRA~1\\OTHER~1\\LONGNA~1.DLL");
    for (int i = 0; i < files; i += 3) {
        env.logBytes += "Self-Register: C:\\Program Files\\" +
                        std::string(i % 2 == 0 ? "Sample" : "Other") + "\\f" + std::to_string(i) +
                        ".dll\r\n";
    }
    env.logBytes += "Self-Register: C:\\Program Files\\Other\\Long Name.dll\r\n";
    ASSERT_EQ(0, ParseInstallLog("C:\\APP\\INSTALL.LOG", installDirectory, env));

    ASSERT_EQ(files + 1, PrivateFiles.count);
    for (int i = 0; i < files; ++i) {
        EXPECT_EQ(i % 3 == 0 ? 1 : 0, PrivateFiles.items[i]->selfRegisterSession) << i;
    }
    EXPECT_EQ(1, PrivateFiles.items[files]->selfRegisterSession);
    // Two for the log's own directory, one per directory, one for the short file name.
    EXPECT_EQ(2 + 2 + 1, env.pathNormalizations);
}

// A record appended after a "Self-Register: " line is still compared by the
// next one.
TEST(SelfRegisterTest, SeesRecordsAddedBetweenLines) {
    ResetParseResults();
    MemoryParseEnvironment env;
    env.files = {"C:\\APP\\A.DLL", "C:\\APP\\B.DLL"};
    env.logBytes = "*** S\r\nTitle: S\r\nFile Copy: C:\\APP\\A.DLL\r\n"
                   "Self-Register: C:\\APP\\A.DLL\r\nFile Copy: C:\\APP\\B.DLL\r\n"
                   "Self-Register: C:\\APP\\B.DLL\r\n";
    ASSERT_EQ(0, ParseInstallLog("C:\\APP\\INSTALL.LOG", installDirectory, env));
    ASSERT_EQ(2, PrivateFiles.count);
    EXPECT_EQ(1, PrivateFiles.items[0]->selfRegisterSession);
    EXPECT_EQ(1, PrivateFiles.items[1]->selfRegisterSession);
}

// Entries fill faster than values when the log repeats a value; a new value
// after that must still be recorded, or it would never be undone.
TEST(RegistryValueTest, FullEntryListStillRecordsNewValues) {
    ResetParseResults();
    MemoryParseEnvironment env;
    env.logBytes = "*** R\r\nTitle: R\r\n";
    for (int i = 0; i < ListCapacity; ++i) {
        env.logBytes += "RegDB Key: Software\\Sample\r\nRegDB Val: 1\r\nRegDB Name: Repeated\r\n";
    }
    env.logBytes += "RegDB Key: Software\\Sample\r\nRegDB Val: 2\r\nRegDB Name: Created\r\n"
                    "RegDB Key: Software\\Sample\r\nRegDB Val: 3\r\nRegDB Name: Changed\r\n"
                    "RegDB Old: 0\r\n";
    ASSERT_EQ(0, ParseInstallLog("C:\\APP\\INSTALL.LOG", installDirectory, env));

    EXPECT_EQ(ListCapacity, RegistryEntries.count);
    ASSERT_EQ(2, CreatedValues.count);
    EXPECT_STREQ("Created", CreatedValues.items[1]->valueName);
    ASSERT_EQ(1, ChangedValues.count);
    EXPECT_STREQ("Changed", ChangedValues.items[0]->valueName);
    EXPECT_STREQ("0", ChangedValues.items[0]->preinstallData);
    for (std::int32_t i = 0; i < RegistryEntries.count; ++i) {
        EXPECT_EQ(CreatedValues.items[0], RegistryEntries.items[i]->value.created) << i;
    }
}

} // namespace
