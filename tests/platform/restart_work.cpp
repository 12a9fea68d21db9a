#include "restart_work.h"

#include <windows.h>

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
