#include "core/settings.h"

#include "core/run_state.h"

#include "common/safe_text.h"

#include <cstdint>
#include <limits>

const char kSettingsSection[] = "Settings";
const char kTextFontKey[] = "Text Font";

// With these defaults the gradient would run from pure blue at the top to
// black at the bottom, and the background window is not shown at all.
const IntegerSetting kIntegerSettings[SettingsKeyCount] = {
    {"Start Red", 0},     {"Start Green", 0},        {"Start Blue", 255},
    {"End Red", 0},       {"End Green", 0},          {"End Blue", 0},
    {"No Background", 1}, {"Font Character Set", 0}, {"Font Character Size", 8},
};

namespace {

// End minus start, held within 32 bits: a settings file may hold any
// number, and a wrapped difference would turn the gradient the wrong way.
std::int32_t ColourDelta(std::int32_t start, std::int32_t end) {
    std::int64_t delta = static_cast<std::int64_t>(end) - start;
    if (delta > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (delta < std::numeric_limits<std::int32_t>::min()) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(delta);
}

} // namespace

void ApplySettings(const std::int32_t (&values)[SettingsKeyCount], const char* textFont) {
    gradientStart = {values[StartRedKey], values[StartGreenKey], values[StartBlueKey]};
    gradientDelta = {ColourDelta(values[StartRedKey], values[EndRedKey]),
                     ColourDelta(values[StartGreenKey], values[EndGreenKey]),
                     ColourDelta(values[StartBlueKey], values[EndBlueKey])};
    noBackground = values[NoBackgroundKey];
    SafeCopy(textFontName, textFont);
    // The font's character set and size are bytes: larger numbers keep
    // their low 8 bits.
    textFontCharset = static_cast<std::uint8_t>(values[FontCharacterSetKey] & 0xFF);
    textFontSize = static_cast<std::uint8_t>(values[FontCharacterSizeKey] & 0xFF);
}
