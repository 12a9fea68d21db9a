#include "form_storage.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

namespace {

// An in-memory value store that remembers the order of writes.
class MemoryValues : public SettingsValues {
public:
    std::optional<std::string> Read(const std::string& name) override {
        auto found = values.find(name);
        if (found == values.end()) {
            return std::nullopt;
        }
        return found->second;
    }
    void Write(const std::string& name, const std::string& value) override {
        values[name] = value;
        writes.emplace_back(name, value);
    }

    std::map<std::string, std::string> values;
    std::vector<std::pair<std::string, std::string>> writes;
};

const ScreenSize kScreen = {1280, 1024};
const FourNumbers kDesigned = {604, 238, 875, 518};

TEST(FormStorage, SavesEveryValueAsTextInOrder) {
    MemoryValues store;
    FormSettings settings;
    settings.flags = 2;
    settings.showCmd = 1;
    settings.pixelsPerInch = 96;
    settings.minMaxPos = {-1, -1, -8, -30};
    settings.normPos = {10, 20, 281, 300};
    settings.serverText = "\\\\host";
    settings.itemIndex = -1;
    SaveFormSettings(store, settings, kScreen);

    const std::vector<std::pair<std::string, std::string>> expected = {
        {"FormVersion", "0"},
        {"Flags", "2"},
        {"ShowCmd", "1"},
        {"PixelsPerInch", "96"},
        {"MinMaxPos(1280x1024)", "-1,-1,-8,-30"},
        {"MinMaxPos", "-1,-1,-8,-30"},
        {"NormPos(1280x1024)", "10,20,281,300"},
        {"NormPos", "10,20,281,300"},
        {"Visible", "0"},
        {"elServer_Text", "\\\\host"},
        {"cbServices_ItemIndex", "-1"},
    };
    EXPECT_EQ(expected, store.writes);
}

TEST(FormStorage, SavedValuesComeBack) {
    MemoryValues store;
    FormSettings settings;
    settings.flags = 1;
    settings.pixelsPerInch = 96;
    settings.minMaxPos = {3, 4, 5, 6};
    settings.normPos = {10, 20, 281, 300};
    settings.serverText = "other";
    settings.itemIndex = 2;
    SaveFormSettings(store, settings, kScreen);

    RestoredSettings restored = RestoreFormSettings(store, kScreen, 96, kDesigned);
    EXPECT_TRUE(restored.placeWindow);
    EXPECT_EQ(1, restored.flags);
    EXPECT_EQ(settings.minMaxPos, restored.minMaxPos);
    EXPECT_EQ(settings.normPos, restored.normPos);
    EXPECT_EQ("other", restored.serverText.value_or("?"));
    EXPECT_EQ(2, restored.itemIndex.value_or(-5));
}

TEST(FormStorage, SizedPositionFirstPlainForUnseenSizes) {
    MemoryValues store;
    store.values = {{"NormPos(800x600)", "1,2,3,4"}, {"NormPos", "5,6,7,8"}};
    EXPECT_EQ((FourNumbers{1, 2, 3, 4}),
              RestoreFormSettings(store, {800, 600}, 96, kDesigned).normPos);
    EXPECT_EQ((FourNumbers{5, 6, 7, 8}),
              RestoreFormSettings(store, {1024, 768}, 96, kDesigned).normPos);
}

TEST(FormStorage, BadNumbersFallBackPerPlace) {
    struct Case {
        const char* text;
        FourNumbers minMax; // fallback 0
        FourNumbers norm;   // fallback the designed position
    } cases[] = {
        {"1,2,3,4", {1, 2, 3, 4}, {1, 2, 3, 4}},
        {"1,x,,4", {1, 0, 0, 4}, {1, 238, 875, 4}},
        {"7", {7, 0, 0, 0}, {7, 238, 875, 518}},
        {"", {0, 0, 0, 0}, kDesigned},
        {" 1,2abc,-3,+4,9", {0, 0, -3, 4}, {604, 238, -3, 4}},
        {"99999999999,1,2,3", {0, 1, 2, 3}, {604, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.minMax, ParseFourNumbers(c.text, FourNumbers{}));
        EXPECT_EQ(c.norm, ParseFourNumbers(c.text, kDesigned));
    }
}

TEST(FormStorage, WhenTheWindowIsPlaced) {
    struct Case {
        std::map<std::string, std::string> values;
        bool placed;
    } cases[] = {
        {{}, false},
        {{{"NormPos", "1,2,3,4"}}, true},
        {{{"MinMaxPos(1280x1024)", "1,2,3,4"}}, true},
        {{{"NormPos", "1,2,3,4"}, {"PixelsPerInch", "96"}}, true},
        {{{"NormPos", "1,2,3,4"}, {"PixelsPerInch", "120"}}, false},
        {{{"NormPos", "1,2,3,4"}, {"FormVersion", "0"}}, true},
        {{{"NormPos", "1,2,3,4"}, {"FormVersion", "-1"}}, false},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE("case " + std::to_string(index++));
        MemoryValues store;
        store.values = c.values;
        EXPECT_EQ(c.placed, RestoreFormSettings(store, kScreen, 96, kDesigned).placeWindow);
    }
}

TEST(FormStorage, MissingOrBadTextsRestoreNothing) {
    MemoryValues store;
    RestoredSettings restored = RestoreFormSettings(store, kScreen, 96, kDesigned);
    EXPECT_FALSE(restored.serverText.has_value());
    EXPECT_FALSE(restored.itemIndex.has_value());

    store.values = {{"cbServices_ItemIndex", "two"}, {"elServer_Text", ""}};
    restored = RestoreFormSettings(store, kScreen, 96, kDesigned);
    EXPECT_EQ("", restored.serverText.value_or("?"));
    EXPECT_FALSE(restored.itemIndex.has_value());

    // A negative form version keeps everything as designed.
    store.values = {{"FormVersion", "-1"}, {"elServer_Text", "host"}};
    EXPECT_FALSE(RestoreFormSettings(store, kScreen, 96, kDesigned).serverText.has_value());
}

} // namespace
