// How the numbers read from the settings file become the settings.
#include "core/settings.h"

#include "core/run_state.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

// Every key at its default, as a missing settings file gives them.
struct DefaultValues {
    std::int32_t values[SettingsKeyCount];
    DefaultValues() {
        for (int key = 0; key < SettingsKeyCount; ++key) {
            values[key] = kIntegerSettings[key].defaultValue;
        }
    }
};

TEST(ApplySettingsTest, GradientDeltaIsEndMinusStartHeldWithin32Bits) {
    struct Case {
        std::int32_t start;
        std::int32_t end;
        std::int32_t delta;
    };
    const Case cases[] = {
        {0, 255, 255}, {255, 0, -255}, {-5, 5, 10}, {kMin, kMax, kMax}, {kMax, kMin, kMin},
    };
    for (const Case& c : cases) {
        DefaultValues settings;
        settings.values[StartGreenKey] = c.start;
        settings.values[EndGreenKey] = c.end;
        ApplySettings(settings.values, "");
        EXPECT_EQ(c.start, gradientStart.green) << c.start << " to " << c.end;
        EXPECT_EQ(c.delta, gradientDelta.green) << c.start << " to " << c.end;
    }
}

TEST(ApplySettingsTest, FontNumbersKeepTheirLow8Bits) {
    struct Case {
        std::int32_t value;
        std::uint8_t kept;
    };
    const Case cases[] = {{8, 8}, {255, 255}, {256, 0}, {264, 8}, {-1, 255}, {kMin + 12, 12}};
    for (const Case& c : cases) {
        DefaultValues settings;
        settings.values[FontCharacterSizeKey] = c.value;
        settings.values[FontCharacterSetKey] = c.value;
        ApplySettings(settings.values, "");
        EXPECT_EQ(c.kept, textFontSize) << c.value;
        EXPECT_EQ(c.kept, textFontCharset) << c.value;
    }
}

TEST(ApplySettingsTest, FontNameLongerThanItsFieldIsCut) {
    DefaultValues settings;
    ApplySettings(settings.values, std::string(400, 'F').c_str());
    EXPECT_EQ(std::string(255, 'F'), textFontName);
}

} // namespace
