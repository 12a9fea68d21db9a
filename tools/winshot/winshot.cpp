// winshot OUT.bmp [--screen] [--wait MS] CAPTION PROGRAM [ARGUMENTS...]
//
// Starts PROGRAM, waits for its visible top-level window titled CAPTION,
// saves that window (or with --screen the whole screen) as a BMP, then
// closes the window as the user's close box would and waits for the program
// to end. Exit code 0 when the picture was saved and the program ended with 0.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "e2e.h"

namespace {

const DWORD kWindowTimeoutMs = 30000;
const DWORD kExitTimeoutMs = 15000;

int Usage() {
    std::fprintf(stderr,
                 "usage: winshot OUT.bmp [--screen] [--wait MS] CAPTION PROGRAM [ARGS...]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        return Usage();
    }
    const std::string outPath = e2e::WindowsPath(argv[1]);
    bool wholeScreen = false;
    DWORD settleMs = 500;
    int next = 2;
    for (; next < argc && std::strncmp(argv[next], "--", 2) == 0; ++next) {
        if (std::strcmp(argv[next], "--screen") == 0) {
            wholeScreen = true;
        } else if (std::strcmp(argv[next], "--wait") == 0 && next + 1 < argc) {
            settleMs = static_cast<DWORD>(std::strtoul(argv[++next], nullptr, 10));
        } else {
            return Usage();
        }
    }
    if (argc - next < 2) {
        return Usage();
    }
    const char* caption = argv[next];
    std::string arguments;
    for (int i = next + 2; i < argc; ++i) {
        arguments += (arguments.empty() ? "" : " ") + std::string(argv[i]);
    }

    e2e::Program program = e2e::Program::Start(e2e::WindowsPath(argv[next + 1]), arguments);
    if (!program.Started()) {
        std::fprintf(stderr, "winshot: cannot start %s (error %lu)\n", argv[next + 1],
                     GetLastError());
        return 1;
    }
    HWND window = e2e::WaitForTopLevelWindow(program.Pid(), nullptr, caption, kWindowTimeoutMs);
    if (window == nullptr) {
        std::fprintf(stderr, "winshot: no window \"%s\" appeared\n", caption);
        return 1;
    }
    e2e::Sleep(settleMs); // let it paint
    if (!e2e::SaveScreenshot(wholeScreen ? GetDesktopWindow() : window, outPath)) {
        std::fprintf(stderr, "winshot: cannot save %s\n", outPath.c_str());
        return 1;
    }
    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD exitCode = 1;
    if (!program.WaitForExit(kExitTimeoutMs, &exitCode)) {
        std::fprintf(stderr, "winshot: the program did not end after its window closed\n");
        return 1;
    }
    std::printf("winshot: saved %s; the program ended with %lu\n", outPath.c_str(), exitCode);
    return exitCode == 0 ? 0 : 1;
}
