// The settings file beside the program, read through the system's profile
// routines: what each key gives, missing or written in any way.
#include "core/settings.h"

#include "core/run_state.h"

#include "common/safe_text.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <fstream>
#include <string>

namespace {

struct Expected {
    RgbSetting start;
    RgbSetting delta;
    std::int32_t noBackground;
    std::string textFont;
    std::uint8_t charset;
    std::uint8_t size;
};

const Expected kDefaults = {{0, 0, 255}, {0, 0, -255}, 1, "", 0, 8};

class SettingsFileTest : public testing::Test {
protected:
    // Where start-up puts it: the program's path with "INI" for its last
    // three characters.
    void SetUp() override {
        DWORD length = GetModuleFileNameA(nullptr, settingsPath, sizeof(settingsPath));
        ASSERT_GT(length, 3u);
        SafeCopy(settingsPath + length - 3, 4, "INI");
        DeleteFileA(settingsPath);
    }
    void TearDown() override { DeleteFileA(settingsPath); }

    static void Write(const std::string& text) {
        std::ofstream(settingsPath, std::ios::binary) << text;
    }

    static void ExpectSettings(const Expected& expected, const char* label) {
        EXPECT_EQ(expected.start.red, gradientStart.red) << label;
        EXPECT_EQ(expected.start.green, gradientStart.green) << label;
        EXPECT_EQ(expected.start.blue, gradientStart.blue) << label;
        EXPECT_EQ(expected.delta.red, gradientDelta.red) << label;
        EXPECT_EQ(expected.delta.green, gradientDelta.green) << label;
        EXPECT_EQ(expected.delta.blue, gradientDelta.blue) << label;
        EXPECT_EQ(expected.noBackground, noBackground) << label;
        EXPECT_EQ(expected.textFont, textFontName) << label;
        EXPECT_EQ(expected.charset, textFontCharset) << label;
        EXPECT_EQ(expected.size, textFontSize) << label;
    }
};

TEST_F(SettingsFileTest, MissingFileSectionOrKeysGiveTheDefaults) {
    const struct {
        const char* label;
        const char* text; // nullptr: no file at all
    } cases[] = {
        {"no file", nullptr},
        {"other section only", "[Language]\r\nMsg25=Remove\r\nStart Red=9\r\n"},
        {"empty section", "[Settings]\r\n"},
    };
    for (const auto& c : cases) {
        if (c.text != nullptr) {
            Write(c.text);
        }
        ReadSettings();
        ExpectSettings(kDefaults, c.label);
    }
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), screenWidth);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), screenHeight);
    EXPECT_GT(screenWidth, 0);
}

TEST_F(SettingsFileTest, EveryKeyIsRead) {
    Write("[Settings]\r\n"
          "Start Red=10\r\nStart Green=20\r\nStart Blue=30\r\n"
          "End Red=255\r\nEnd Green=0\r\nEnd Blue=30\r\n"
          "No Background=0\r\nText Font=Arial\r\n"
          "Font Character Set=238\r\nFont Character Size=264\r\n");
    ReadSettings();
    ExpectSettings({{10, 20, 30}, {245, -20, 0}, 0, "Arial", 238, 8}, "every key");
}

TEST_F(SettingsFileTest, GarbageValuesGetADefinedAnswer) {
    Write("[Settings]\r\n"
          "Start Red=lots\r\n"     // not a number: 0
          "Start Green=  42  \r\n" // blanks around the number
          "Start Blue=12abc\r\n"   // the number before the junk
          "End Red=2147483647\r\n"
          "End Green=-2147483648\r\n" // 42 below the least number: held there
          "End Blue=-7\r\n"
          "No Background=yes\r\n"         // not a number: the window is shown
          "Font Character Set=-1\r\n"     // low 8 bits
          "Font Character Size=65544\r\n" // 0x10008
          "Text Font=" +
          std::string(300, 'T') + "\r\n");
    ReadSettings();
    ExpectSettings(
        {{0, 42, 12}, {2147483647, -2147483647 - 1, -19}, 0, std::string(255, 'T'), 255, 8},
        "garbage");
}

} // namespace
