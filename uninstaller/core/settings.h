#pragma once
// The "Settings" section of the settings file beside the program: its keys,
// their defaults, and how the values read become the settings of run_state.h.

#include <cstdint>

extern const char kSettingsSection[]; // "Settings"
extern const char kTextFontKey[];     // "Text Font"

// The integer keys, in the order they are read.
enum SettingsKey {
    StartRedKey,
    StartGreenKey,
    StartBlueKey,
    EndRedKey,
    EndGreenKey,
    EndBlueKey,
    NoBackgroundKey,
    FontCharacterSetKey,
    FontCharacterSizeKey,
    SettingsKeyCount
};

struct IntegerSetting {
    const char* name;
    std::int32_t defaultValue;
};
extern const IntegerSetting kIntegerSettings[SettingsKeyCount];

// Sets gradientStart, gradientDelta, noBackground, textFontCharset,
// textFontSize and textFontName from the values read for each key and the
// "Text Font" text.
void ApplySettings(const std::int32_t (&values)[SettingsKeyCount], const char* textFont);

// Reads the settings file at settingsPath (every missing file, section or
// key gives its default) and the screen's resolution. Windows only.
void ReadSettings();
