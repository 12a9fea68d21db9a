#pragma once
// What the console keeps between runs: the administrator's list of services
// (read, never written) and the main window's stored settings.

#include <windows.h>

#include <string>
#include <vector>

#include "common/win_handle.h"
#include "form_storage.h"

// The configured service names. A missing, empty or non-text `Services` value
// shows the "not defined" message and gives no names.
std::vector<std::string> ReadConfiguredServices(HWND owner);

// The computer's name: the ComputerName key's value when it can be read with
// full access, else the system's answer.
std::string GetLocalComputerName();

// The registry key of the main window's stored settings, for the running
// program file's name: HKCU\Software\<name>\SOFTWARE\Orvalinth\Services.
std::string PlacementKeyPath();

// The stored settings as text values of one registry key, which is created
// when missing. A key that cannot be opened reads as empty and takes no writes.
class RegistrySettingsValues : public SettingsValues {
public:
    RegistrySettingsValues();

    std::optional<std::string> Read(const std::string& name) override;
    void Write(const std::string& name, const std::string& value) override;

private:
    win::unique_hkey key_;
};

// Reads a text value (REG_SZ or REG_EXPAND_SZ, taken as it stands); nothing
// when the value is missing or of another type.
std::optional<std::string> ReadRegistryText(HKEY key, const char* name);
