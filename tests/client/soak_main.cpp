// corvalin-soak.exe POLLS: the real program against the local hang service,
// its status poll driven as fast as it answers, and what the process holds
// (GDI and USER objects, kernel handles, private bytes) reported at the
// start, every 10,000 polls and at the end. Not part of the test suite:
// `make soak POLLS` runs it.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/unique.h"
#include "client/client_flow_fixture.h"
#include "client/corvalin_process.h"
#include "shell/form_ids.h"
#include "support/gui_objects.h"
#include "support/process_holdings.h"

namespace corvalin::testing {
namespace {

struct Holdings {
    DWORD gdi = 0;
    DWORD user = 0;
    DWORD handles = 0;
    SIZE_T privateBytes = 0;
};

Holdings HoldingsOf(HANDLE process, DWORD processId) {
    Holdings h;
    h.gdi = GdiObjectCount(process);
    h.user = UserObjectCount(process);
    const ProcessHoldings held = testing::HoldingsOf(processId);
    h.handles = held.handles;
    h.privateBytes = held.privateBytes;
    return h;
}

void Report(const char* when, long polls, const Holdings& h, ULONGLONG startedMs) {
    std::printf("%-6s polls %8ld  gdi %5lu  user %4lu  handles %5lu  private %8.1f MB  %7.1f s\n", when, polls,
                static_cast<unsigned long>(h.gdi), static_cast<unsigned long>(h.user),
                static_cast<unsigned long>(h.handles), h.privateBytes / 1048576.0,
                (GetTickCount64() - startedMs) / 1000.0);
    std::fflush(stdout);
}

int Soak(long polls) {
    CorvalinRun run;
    if (!run.started()) {
        std::printf("soak: %s\n", run.failure().c_str());
        return 1;
    }
    if (WaitForPageSession(run).empty()) {
        std::printf("soak: the service page did not load\n");
        return 1;
    }
    UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, run.process().id()));
    if (!process) {
        std::printf("soak: cannot open the program's process\n");
        return 1;
    }
    // The first polls fill what lives for the whole run (the attach, fonts).
    for (int i = 0; i < 100; ++i) SendMessageA(run.mainWindow(), WM_TIMER, shell::kStatusPollTimerId, 0);
    const ULONGLONG started = GetTickCount64();
    const Holdings first = HoldingsOf(process.get(), run.process().id());
    Report("start", 0, first, started);
    Holdings last = first;
    for (long i = 1; i <= polls; ++i) {
        // A sent WM_TIMER runs the same handler as the program's own timer.
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutA(run.mainWindow(), WM_TIMER, shell::kStatusPollTimerId, 0, SMTO_ABORTIFHUNG, 10000,
                                 &answer)) {
            std::printf("soak: the program stopped answering at poll %ld\n", i);
            return 1;
        }
        if (i % 10000 == 0 && i != polls) Report("", i, HoldingsOf(process.get(), run.process().id()), started);
    }
    last = HoldingsOf(process.get(), run.process().id());
    Report("end", polls, last, started);
    const bool flat = last.gdi <= first.gdi + 2 && last.user <= first.user && last.handles <= first.handles + 8 &&
                      last.privateBytes <= first.privateBytes + 8 * 1048576;
    std::printf("soak: %s\n", flat ? "flat" : "GROWTH");
    return flat ? 0 : 1;
}

}  // namespace
}  // namespace corvalin::testing

int main(int argc, char** argv) {
    const long polls = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 86400;
    if (polls <= 0) {
        std::printf("usage: corvalin-soak POLLS\n");
        return 2;
    }
    return corvalin::testing::Soak(polls);
}
