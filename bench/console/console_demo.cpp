// The console's main job, shown end to end: a demo service is created,
// configured for the console, started through the console's own Start button,
// and the window showing it running is saved as a picture.
//
//   console_demo BMP_PATH        (a Windows path, or a Unix path under Wine)
//
// Exit code 0 when the window showed the service running and the picture was
// saved; 1 otherwise, with the reason on standard output.
#include <windows.h>

#include <cstdio>

#include "console_session.h"
#include "quorcon_ids.h"

using namespace console_test;

namespace {

const char kService[] = "QuorvelDemo";

int Fail(const char* reason) {
    std::printf("console_demo: %s\n", reason);
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::printf("usage: console_demo BMP_PATH\n");
        return 2;
    }
    const std::string picture = e2e::WindowsPath(argv[1]);

    TestService service(kService, "Demo Service");
    if (!service.Installed()) {
        return Fail("the demo service could not be created");
    }
    SetConfiguredServices(kService);
    ClearStoredSettings();

    Console console;
    if (!console.WaitForMainWindow()) {
        return Fail("the console window did not appear");
    }
    if (!console.Enabled(IDC_START)) {
        return Fail("Start/Continue is not enabled for the stopped demo service");
    }
    if (!console.ClickAndWait(IDC_START)) {
        return Fail("the console did not finish the start");
    }
    const std::string running = Console::StatusFor(kService, "Running");
    if (!console.WaitForStatus(running)) {
        return Fail(("the window shows \"" + console.Status() + "\"").c_str());
    }
    if (!e2e::SaveScreenshot(console.Window(), picture)) {
        return Fail("the picture could not be saved");
    }
    if (!console.Close()) {
        return Fail("the console did not end cleanly");
    }
    std::printf("console_demo: \"%s\" shown; picture saved to %s\n", running.c_str(),
                picture.c_str());
    return 0;
}
