// Time from a command to the new state shown by the console, against the
// service's own time for the same transition.
//
//   console_bench [ROUNDS]
//
// For the test service with 0 ms and with 500 ms of pending time, each round
// measures a start and a stop issued directly to the SCM (the service's own
// transition, polled every millisecond) and the same through the console's
// buttons (click to status line). The console's overhead is the difference.
// Figures only; nothing here fails on time.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "console_session.h"
#include "quorcon_ids.h"

using namespace console_test;

namespace {

const char kService[] = "qc_bench";

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The service's own transition: command to state, polled every millisecond.
double DirectMs(bool start) {
    const double begin = NowMs();
    const bool issued = start ? e2e::StartServiceByName(kService)
                              : e2e::ControlServiceByName(kService, SERVICE_CONTROL_STOP);
    const DWORD target = start ? SERVICE_RUNNING : SERVICE_STOPPED;
    while (issued && e2e::QueryServiceState(kService) != target) {
        Sleep(1);
    }
    return NowMs() - begin;
}

// Click to the status line showing the new state.
double ThroughConsoleMs(const Console& console, bool start) {
    const std::string expected = Console::StatusFor(kService, start ? "Running" : "Stopped");
    const double begin = NowMs();
    e2e::Click(console.Control(start ? IDC_START : IDC_STOP));
    while (console.Status() != expected) {
        Sleep(1);
    }
    return NowMs() - begin;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Best(const std::vector<double>& values) {
    return *std::min_element(values.begin(), values.end());
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    // The best round shows what the console costs on a quiet machine; the
    // median what it costs on this one.
    std::printf("%d rounds, ms    %10s %10s %10s   %10s %10s %10s\n", rounds, "service", "console",
                "overhead", "best svc", "best con", "best over");
    for (DWORD pendingMs : {0u, 500u}) {
        TestService service(kService, "QC Bench");
        if (!service.Installed() || !service.Set("StartPendingMs", pendingMs) ||
            !service.Set("StopPendingMs", pendingMs)) {
            std::printf("cannot set up the test service\n");
            return 1;
        }
        SetConfiguredServices(kService);
        ClearStoredSettings();
        Console console;
        if (!console.WaitForMainWindow()) {
            std::printf("the console did not start\n");
            return 1;
        }
        for (bool start : {true, false}) {
            std::vector<double> direct;
            std::vector<double> shown;
            const DWORD before = start ? SERVICE_STOPPED : SERVICE_RUNNING;
            auto bringBack = [&] {
                if (e2e::QueryServiceState(kService) != before) {
                    DirectMs(!start);
                }
                e2e::ClickAndWait(console.Control(IDC_REFRESH), 30000);
            };
            for (int round = 0; round < rounds; ++round) {
                bringBack();
                direct.push_back(DirectMs(start));
                bringBack();
                shown.push_back(ThroughConsoleMs(console, start));
            }
            const double own = Median(direct);
            const double total = Median(shown);
            std::printf("%3lu ms %-6s   %10.1f %10.1f %10.1f   %10.1f %10.1f %10.1f\n",
                        static_cast<unsigned long>(pendingMs), start ? "start" : "stop", own, total,
                        total - own, Best(direct), Best(shown), Best(shown) - Best(direct));
        }
        console.Close();
    }
    return 0;
}
