// LoadMessageText against real profile files: a translator's text from the
// "Language" section wins over the string table, with its substitutions.
#include "ui/message_text.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "common/safe_text.h"
#include "core/run_state.h"

namespace {

using namespace std::string_literals;

const char kUninstall[] = "Uninstall";                // text 25
const char kInstallationLogs[] = "Installation Logs"; // text 1
const char kDamaged[] = "This application is damaged and should be repaired. Click Yes to repair "
                        "this application, No to run the application without repairing it, and "
                        "Cancel to no longer check this application for damage. Do you want to "
                        "repair this application?"; // text 81

// Each case gets a settings file of its own name: the profile reader caches
// files, and a rewritten file of the same name could be served stale.
class MessageTextTest : public testing::Test {
protected:
    void TearDown() override { DropSettingsFile(); }

    static void DropSettingsFile() {
        if (settingsPath[0] != '\0') {
            DeleteFileA(settingsPath);
            settingsPath[0] = '\0';
        }
    }

    void UseSettingsFile(const std::string& content) {
        UseMissingSettingsFile();
        FILE* file = std::fopen(settingsPath, "wb");
        ASSERT_NE(nullptr, file);
        std::fwrite(content.data(), 1, content.size(), file);
        std::fclose(file);
    }

    void UseMissingSettingsFile() {
        DropSettingsFile();
        static int fileNumber = 0;
        char directory[MAX_PATH];
        GetTempPathA(sizeof directory, directory);
        std::string path = std::string(directory) + "msgtext" + std::to_string(++fileNumber) + "_" +
                           std::to_string(GetCurrentProcessId()) + ".ini";
        SafeCopy(settingsPath, path.c_str());
        DeleteFileA(settingsPath);
    }

    // Calls LoadMessageText into a buffer that starts with a stale text and
    // has guard bytes after `size`; fails when any guard byte was written.
    std::string Load(int number, int size) {
        const auto end = static_cast<std::size_t>(size);
        std::vector<char> buffer(end + 16, '\xcc');
        SafeCopy(buffer.data(), end, "stale text");
        LoadMessageText(number, buffer.data(), size);
        for (std::size_t i = end; i < buffer.size(); ++i) {
            if (buffer[i] != '\xcc') {
                ADD_FAILURE() << "byte " << i << " written past size " << size;
            }
        }
        return std::string(buffer.data(), strnlen(buffer.data(), end));
    }
};

struct LanguageCase {
    const char* name;
    std::string languageLines;
    int number;
    int size;
    std::string expected;
};

TEST_F(MessageTextTest, LanguageSectionOverridesTheStringTable) {
    const LanguageCase cases[] = {
        {"replacement", "Msg25=Remove\r\n", 25, 256, "Remove"},
        {"present and empty", "Msg59=\r\n", 59, 256, ""},
        {"bar is a line break", "Msg7=first|second\r\n", 7, 1024, "first\r\nsecond"},
        {"tildes keep blanks", "Msg70=~~Starting~\r\n", 70, 256, "  Starting "},
        {"character 127 counts as missing", "Msg25=\x7f\r\n", 25, 256, kUninstall},
        {"other keys leave the text alone", "Msg2=Other\r\nMsg250=Other\r\n", 25, 256, kUninstall},
        {"cut to the caller's size", "Msg6=" + std::string(100, 'x') + "\r\n", 6, 64,
         std::string(63, 'x')},
        {"no lone CR where a line break is cut", "Msg7=abc|def\r\n", 7, 5, "abc"},
        {"size one", "Msg25=Remove\r\n", 25, 1, ""},
    };
    for (const LanguageCase& c : cases) {
        SCOPED_TRACE(c.name);
        UseSettingsFile("[Language]\r\n" + c.languageLines);
        EXPECT_EQ(c.expected, Load(c.number, c.size));
    }
}

TEST_F(MessageTextTest, MissingOrUnusableSettingsGiveTheStringTableText) {
    struct SettingsCase {
        const char* name;
        bool fileExists;
        std::string content;
    };
    const SettingsCase cases[] = {
        {"no settings file", false, ""},
        {"no Language section", true, "[Settings]\r\nMsg25=Remove\r\n"},
        {"garbage", true, "\x01\x02\x80\x9f]=[\n=\n\x00\xfe\xff Msg25 \x7f"s},
    };
    for (const SettingsCase& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.fileExists) {
            UseSettingsFile(c.content);
        } else {
            UseMissingSettingsFile();
        }
        EXPECT_EQ(kUninstall, Load(25, 256));
        EXPECT_EQ(std::string(kDamaged, 63), Load(81, 64));
    }
    // Before start-up has named the settings file.
    settingsPath[0] = '\0';
    EXPECT_EQ(kUninstall, Load(25, 256));
}

TEST_F(MessageTextTest, NumbersWithoutAnyTextGiveAnEmptyText) {
    UseSettingsFile("[Language]\r\nMsg25=Remove\r\n");
    // 65537 would reach the string table as text 1 if ids were cut to 16 bits.
    for (int number : {0, -1, 43, 83, 65537, INT_MIN, INT_MAX}) {
        EXPECT_EQ("", Load(number, 256)) << "text " << number;
    }
    EXPECT_EQ(kInstallationLogs, Load(1, 256));
}

TEST_F(MessageTextTest, ZeroSizeWritesNothing) {
    UseSettingsFile("[Language]\r\nMsg25=Remove\r\n");
    char buffer[4] = {'\xcc', '\xcc', '\xcc', '\xcc'};
    LoadMessageText(25, buffer, 0);
    LoadMessageText(25, buffer, -1);
    for (char byte : buffer) {
        EXPECT_EQ('\xcc', byte);
    }
}

} // namespace
