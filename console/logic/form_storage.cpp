#include "form_storage.h"

#include <cerrno>
#include <cstdlib>
#include <climits>

namespace {

const char kFormVersion[] = "FormVersion";
const char kFlags[] = "Flags";
const char kShowCmd[] = "ShowCmd";
const char kPixelsPerInch[] = "PixelsPerInch";
const char kMinMaxPos[] = "MinMaxPos";
const char kNormPos[] = "NormPos";
const char kVisible[] = "Visible";
const char kServerText[] = "elServer_Text";
const char kItemIndex[] = "cbServices_ItemIndex";

// A whole decimal integer, optionally signed; anything else is not a number.
std::optional<int> ParseInteger(const std::string& text) {
    if (text.empty()) {
        return std::nullopt;
    }
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(begin, &end, 10);
    if (end != begin + text.size() || errno == ERANGE || value < INT_MIN || value > INT_MAX ||
        !(text[0] == '-' || text[0] == '+' || (text[0] >= '0' && text[0] <= '9'))) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

int ReadInteger(SettingsValues& values, const std::string& name, int fallback) {
    std::optional<std::string> text = values.Read(name);
    if (!text) {
        return fallback;
    }
    return ParseInteger(*text).value_or(fallback);
}

// The sized name is tried first, the plain name second.
std::optional<std::string> ReadPosition(SettingsValues& values, const std::string& plainName,
                                        ScreenSize screen) {
    std::optional<std::string> text = values.Read(SizedValueName(plainName, screen));
    return text ? text : values.Read(plainName);
}

void WritePosition(SettingsValues& values, const std::string& plainName, ScreenSize screen,
                   const FourNumbers& numbers) {
    const std::string text = FormatFourNumbers(numbers);
    values.Write(SizedValueName(plainName, screen), text);
    values.Write(plainName, text);
}

} // namespace

std::string SizedValueName(const std::string& plainName, ScreenSize screen) {
    return plainName + "(" + std::to_string(screen.width) + "x" + std::to_string(screen.height) +
           ")";
}

std::string FormatFourNumbers(const FourNumbers& numbers) {
    return std::to_string(numbers[0]) + "," + std::to_string(numbers[1]) + "," +
           std::to_string(numbers[2]) + "," + std::to_string(numbers[3]);
}

FourNumbers ParseFourNumbers(const std::string& text, const FourNumbers& fallback) {
    FourNumbers result = fallback;
    std::size_t start = 0;
    for (std::size_t i = 0; i < result.size() && start <= text.size(); ++i) {
        std::size_t comma = text.find(',', start);
        std::size_t end = comma == std::string::npos ? text.size() : comma;
        result[i] = ParseInteger(text.substr(start, end - start)).value_or(fallback[i]);
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    return result;
}

void SaveFormSettings(SettingsValues& values, const FormSettings& settings, ScreenSize screen) {
    values.Write(kFormVersion, "0");
    values.Write(kFlags, std::to_string(settings.flags));
    values.Write(kShowCmd, std::to_string(settings.showCmd));
    values.Write(kPixelsPerInch, std::to_string(settings.pixelsPerInch));
    WritePosition(values, kMinMaxPos, screen, settings.minMaxPos);
    WritePosition(values, kNormPos, screen, settings.normPos);
    values.Write(kVisible, "0");
    values.Write(kServerText, settings.serverText);
    values.Write(kItemIndex, std::to_string(settings.itemIndex));
}

RestoredSettings RestoreFormSettings(SettingsValues& values, ScreenSize screen,
                                     int currentPixelsPerInch, const FourNumbers& currentRect) {
    RestoredSettings restored;
    if (ReadInteger(values, kFormVersion, 0) < 0) {
        return restored;
    }
    restored.flags = ReadInteger(values, kFlags, 0);
    std::optional<std::string> minMax = ReadPosition(values, kMinMaxPos, screen);
    std::optional<std::string> norm = ReadPosition(values, kNormPos, screen);
    restored.minMaxPos = ParseFourNumbers(minMax.value_or(""), FourNumbers{});
    restored.normPos = ParseFourNumbers(norm.value_or(""), currentRect);
    const int storedPixelsPerInch = ReadInteger(values, kPixelsPerInch, currentPixelsPerInch);
    restored.placeWindow = (minMax || norm) && storedPixelsPerInch == currentPixelsPerInch;
    restored.serverText = values.Read(kServerText);
    if (std::optional<std::string> index = values.Read(kItemIndex)) {
        restored.itemIndex = ParseInteger(*index);
    }
    return restored;
}
