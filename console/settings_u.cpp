#include "settings_u.h"

#include "common/win_handle.h"
#include "quorcon_ids.h"
#include "service_list.h"

namespace {

const char kSettingsKey[] = "SOFTWARE\\Orvalinth\\Quorvel";
const char kSettingsKeyShown[] = "HKCU\\SOFTWARE\\Orvalinth\\Quorvel";
const char kServicesValue[] = "Services";
const char kPlacementSection[] = "SOFTWARE\\Orvalinth\\Services";
const char kComputerNameKey[] = "SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName";

// The running program file's name without folder and extension.
std::string ProgramBaseName() {
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name(path, length < MAX_PATH ? length : MAX_PATH - 1);
    std::string::size_type slash = name.find_last_of("\\/");
    if (slash != std::string::npos) {
        name.erase(0, slash + 1);
    }
    std::string::size_type dot = name.find_last_of('.');
    if (dot != std::string::npos) {
        name.erase(dot);
    }
    return name;
}

} // namespace

std::optional<std::string> ReadRegistryText(HKEY key, const char* name) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return std::nullopt;
    }
    // One byte more, so a value stored without its terminator still ends.
    std::string text(size + 1, '\0');
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&text[0]), &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    text.resize(text.find('\0'));
    return text;
}

std::vector<std::string> ReadConfiguredServices(HWND owner) {
    std::string text;
    win::unique_hkey key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, key.put(), nullptr) == ERROR_SUCCESS) {
        text = ReadRegistryText(key.get(), kServicesValue).value_or("");
    }
    std::vector<std::string> names = ParseServiceList(text);
    if (text.empty()) {
        const std::string message =
            std::string("Services not defined '") + kSettingsKeyShown + "' - " + kServicesValue;
        MessageBoxA(owner, message.c_str(), kApplicationTitle, MB_OK | MB_ICONWARNING);
    }
    return names;
}

std::string GetLocalComputerName() {
    char name[256] = {};
    DWORD size = 255;
    if (!GetComputerNameA(name, &size)) {
        name[0] = '\0';
    }
    std::string result = name;
    win::unique_hkey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kComputerNameKey, 0, KEY_ALL_ACCESS, key.put()) ==
        ERROR_SUCCESS) {
        if (std::optional<std::string> stored = ReadRegistryText(key.get(), "ComputerName")) {
            result = *stored;
        }
    }
    return result;
}

std::string PlacementKeyPath() {
    return "Software\\" + ProgramBaseName() + "\\" + kPlacementSection;
}

RegistrySettingsValues::RegistrySettingsValues() {
    RegCreateKeyExA(HKEY_CURRENT_USER, PlacementKeyPath().c_str(), 0, nullptr,
                    REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr, key_.put(), nullptr);
}

std::optional<std::string> RegistrySettingsValues::Read(const std::string& name) {
    if (!key_) {
        return std::nullopt;
    }
    return ReadRegistryText(key_.get(), name.c_str());
}

void RegistrySettingsValues::Write(const std::string& name, const std::string& value) {
    if (key_) {
        RegSetValueExA(key_.get(), name.c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
    }
}
