#include "restart_work.h"

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace {

void DeleteTree(const std::string& folder) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = entry.cFileName;
            if (name == "." || name == "..") {
                continue;
            }
            std::string path = folder + "\\" + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                DeleteTree(path);
            } else {
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

} // namespace

std::string RestartWorkFolder() {
    char program[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string folder(program, length);
    folder.erase(folder.rfind('\\'));
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    GetVersionExA(&version);
    return folder + (version.dwPlatformId == VER_PLATFORM_WIN32_NT ? "\\restart_work_nt"
                                                                   : "\\restart_work_95");
}

void CreateRestartWorkFolder() {
    DeleteTree(RestartWorkFolder());
    CreateDirectoryA(RestartWorkFolder().c_str(), nullptr);
}

void WriteTextFile(const std::string& path, const std::string& text) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    std::ofstream(path, std::ios::binary) << text;
}

std::string ReadTextFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ShortPathOf(const std::string& path) {
    char shortPath[MAX_PATH];
    DWORD length = GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(shortPath, length) : std::string();
}

std::string WininitPath() {
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    return std::string(windows) + "\\WININIT.INI";
}

std::string Upper(std::string text) {
    CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

std::string PendingRenames() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", 0,
                      KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return "";
    }
    std::string data(65536, '\0');
    DWORD size = static_cast<DWORD>(data.size());
    LONG result = RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(&data[0]), &size);
    RegCloseKey(key);
    data.resize(result == ERROR_SUCCESS ? size : 0);
    std::replace(data.begin(), data.end(), '\0', '|');
    return Upper(data);
}
