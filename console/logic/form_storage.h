#pragma once
// The main window's stored settings: which values are written, in which text
// forms and order, and how they are read back with their fallbacks. The value
// store itself (the registry key) is behind SettingsValues.

#include <array>
#include <optional>
#include <string>

class SettingsValues {
public:
    virtual ~SettingsValues() = default;
    // The text of value `name`, or nothing when it does not exist.
    virtual std::optional<std::string> Read(const std::string& name) = 0;
    virtual void Write(const std::string& name, const std::string& value) = 0;
};

struct ScreenSize {
    int width = 0;
    int height = 0;
};

// left, top, right, bottom; or minimized x, y, maximized x, y.
using FourNumbers = std::array<int, 4>;

struct FormSettings {
    int flags = 0;
    int showCmd = 0;
    int pixelsPerInch = 0;
    FourNumbers minMaxPos = {};
    FourNumbers normPos = {};
    std::string serverText;
    int itemIndex = -1;
};

// The value name that keeps a position per screen size: "NormPos(1280x1024)".
std::string SizedValueName(const std::string& plainName, ScreenSize screen);

// "%d,%d,%d,%d".
std::string FormatFourNumbers(const FourNumbers& numbers);

// Reads "%d,%d,%d,%d"; each number that is missing or not a number takes its
// place's fallback.
FourNumbers ParseFourNumbers(const std::string& text, const FourNumbers& fallback);

// Writes every value, as text, in the stored order.
void SaveFormSettings(SettingsValues& values, const FormSettings& settings, ScreenSize screen);

struct RestoredSettings {
    // Set when the window should be placed; then flags and both positions apply.
    bool placeWindow = false;
    int flags = 0;
    FourNumbers minMaxPos = {};
    FourNumbers normPos = {};
    std::optional<std::string> serverText;
    std::optional<int> itemIndex;
};

// Reads the stored values back; a negative FormVersion restores nothing.
// `currentRect` is the window's designed
// position, the fallback of each missing number of the normal position.
RestoredSettings RestoreFormSettings(SettingsValues& values, ScreenSize screen,
                                     int currentPixelsPerInch, const FourNumbers& currentRect);
