// Drives the console into each of its looks and saves a picture of each:
//
//   console_screenshots OUTPUT_DIR
//
// writes console-running.bmp, console-stopped.bmp, console-paused.bmp,
// console-pending.bmp, console-no-service.bmp, console-about.bmp and
// console-wait.bmp (tools/console-screenshots.sh turns them into PNGs).
#include <windows.h>

#include <cstdio>
#include <functional>

#include "console_session.h"
#include "quorcon_ids.h"

using namespace console_test;

namespace {

const char kService[] = "QuorvelDemo";
std::string outputDir;

bool Save(HWND window, const char* name) {
    const std::string path = outputDir + "\\console-" + name + ".bmp";
    const bool saved = window != nullptr && e2e::SaveScreenshot(window, path);
    std::printf("%s %s\n", saved ? "saved" : "FAILED", path.c_str());
    return saved;
}

// One console run: `prepare` brings the service into shape, `capture`
// takes the picture.
bool Shoot(const char* configured, const std::function<bool(const TestService&)>& prepare,
           const std::function<bool(Console&)>& capture) {
    TestService service(kService, "Demo Service");
    if (!service.Installed() || !prepare(service)) {
        return false;
    }
    SetConfiguredServices(configured);
    ClearStoredSettings();
    Console console;
    if (!console.WaitForMainWindow()) {
        return false;
    }
    // The window is drawn with its controls unfocused, as on a fresh look.
    e2e::Sleep(300);
    const bool saved = capture(console);
    console.Close();
    return saved;
}

bool Running(const TestService& s) {
    return s.StartAndWait(SERVICE_RUNNING);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::printf("usage: console_screenshots OUTPUT_DIR\n");
        return 2;
    }
    outputDir = e2e::WindowsPath(argv[1]);
    auto main = [](const char* name) {
        return [name](Console& console) { return Save(console.Window(), name); };
    };
    bool ok = true;
    ok &= Shoot(kService, Running, main("running"));
    ok &= Shoot(
        kService, [](const TestService&) { return true; }, main("stopped"));
    ok &= Shoot(
        kService,
        [](const TestService& s) {
            return Running(s) && s.ControlAndWait(SERVICE_CONTROL_PAUSE, SERVICE_PAUSED);
        },
        main("paused"));
    ok &= Shoot(
        kService,
        [](const TestService& s) {
            return s.Set("StartPendingMs", 60000) && s.StartAndWait(SERVICE_START_PENDING);
        },
        main("pending"));
    ok &= Shoot(
        "NoSuchService", [](const TestService&) { return true; }, main("no-service"));
    ok &= Shoot(kService, Running, [](Console& console) {
        PostMessageA(console.Window(), WM_SYSCOMMAND, IDM_ABOUT, 0);
        HWND box = e2e::WaitForTopLevelWindow(console.Pid(), "#32770", "About", kWindowMs);
        const bool saved = Save(box, "about");
        PostMessageA(box, WM_CLOSE, 0, 0);
        return saved;
    });
    ok &= Shoot(
        kService, [](const TestService& s) { return s.Set("StartPendingMs", 5000); },
        [](Console& console) {
            e2e::Click(console.Control(IDC_START));
            HWND wait = e2e::WaitForTopLevelWindow(console.Pid(), "TdlgServices",
                                                   "Wait service action", kWindowMs);
            const bool saved = Save(wait, "wait");
            PostMessageA(wait, WM_CLOSE, 0, 0);
            return saved;
        });
    return ok ? 0 : 1;
}
