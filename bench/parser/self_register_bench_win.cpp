// A log of 20,000 installed files followed by 2,000 "Self-Register: " lines,
// read against Wine's real file system: every registration is compared with
// every file record in long form. The files are named in the log through
// their folder's short form, so each long form is a real file-system walk.
// Prints the time the parse took; the files are made and removed outside it.

#include "core/parse_env_win.h"
#include "core/parse_results.h"
#include "core/parser.h"
#include "core/record_lists.h"

#include "parse_dump.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr int Files = 20000;
constexpr int Registrations = 2000;

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

std::string FileName(int number) {
    char name[16];
    std::snprintf(name, sizeof name, "\\F%05d.DLL", number);
    return name;
}

// Writes the log into folder and parses it; the seconds the parse took.
double TimeParse(const std::string& folder, const std::string& log) {
    std::string logPath = folder + "\\INSTALL.LOG";
    HANDLE file = CreateFileA(logPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, log.data(), static_cast<DWORD>(log.size()), &written, nullptr);
    CloseHandle(file);

    ResetParseResults();
    WindowsParseEnvironment env;
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    QueryPerformanceCounter(&start);
    ParseInstallLog(logPath.c_str(), installDirectory, env);
    QueryPerformanceCounter(&end);
    return Seconds(start, end);
}

} // namespace

int main() {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string folder =
        std::string(temp) + "Self Register Bench " + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    char shortFolder[MAX_PATH];
    GetShortPathNameA(folder.c_str(), shortFolder, sizeof shortFolder);

    std::string log = "*** Bench\r\nTitle: Bench\r\n";
    for (int i = 0; i < Files; ++i) {
        HANDLE file = CreateFileA((folder + FileName(i)).c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        CloseHandle(file);
        log += "File Copy: " + std::string(shortFolder) + FileName(i) + "\r\n";
    }
    std::size_t registrationsStart = log.size();
    for (int i = 0; i < Registrations; ++i) {
        log += "Self-Register: " + folder + FileName(i * (Files / Registrations)) + "\r\n";
    }
    // The files alone first, so that the cost of the registrations shows apart.
    double filesAlone = TimeParse(folder, log.substr(0, registrationsStart));
    double whole = TimeParse(folder, log);

    int marked = 0;
    for (std::int32_t i = 0; i < PrivateFiles.count; ++i) {
        marked += PrivateFiles.items[i]->selfRegisterSession != 0 ? 1 : 0;
    }
    std::printf("%d file records, %d marked self-registered\n",
                static_cast<int>(PrivateFiles.count), marked);
    std::printf("%d file lines alone: %.3f s\n", Files, filesAlone);
    std::printf("%d files and %d Self-Register lines: %.3f s (aim: under 2 s)\n", Files,
                Registrations, whole);

    for (int i = 0; i < Files; ++i) {
        DeleteFileA((folder + FileName(i)).c_str());
    }
    DeleteFileA((folder + "\\INSTALL.LOG").c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
