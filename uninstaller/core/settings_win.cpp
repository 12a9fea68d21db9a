#include "core/settings.h"

#include "core/run_state.h"

#include <windows.h>

void ReadSettings() {
    std::int32_t values[SettingsKeyCount];
    for (int key = 0; key < SettingsKeyCount; ++key) {
        values[key] = static_cast<std::int32_t>(
            GetPrivateProfileIntA(kSettingsSection, kIntegerSettings[key].name,
                                  kIntegerSettings[key].defaultValue, settingsPath));
    }
    char textFont[256];
    GetPrivateProfileStringA(kSettingsSection, kTextFontKey, "", textFont, sizeof(textFont),
                             settingsPath);
    ApplySettings(values, textFont);
    screenWidth = GetSystemMetrics(SM_CXSCREEN);
    screenHeight = GetSystemMetrics(SM_CYSCREEN);
}
