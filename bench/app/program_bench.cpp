// The program as a process, each figure against a baseline measured in the
// same run:
//  - start-up, from CreateProcess to the main window shown with its skin,
//    against a bare window of the same size started the same way (this
//    program run with "--bare-window w h");
//  - the CPU the idle program takes while its status poll runs once a second
//    against the real local hang service, as GetProcessTimes counts it (in
//    10 ms ticks) and as the Linux scheduler counts its Wine process (in ns).
// httplib (through the fixtures) brings winsock2, which must come before windows.h.
#include "client/corvalin_process.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include "bench_timing.h"

namespace {

using corvalin::bench::Now;

using corvalin::testing::ChildProcess;
using corvalin::testing::ProgramFolder;

LRESULT CALLBACK BareProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        EndPaint(window, &paint);
        return 0;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

int RunBareWindow(int width, int height) {
    WNDCLASSA type{};
    type.lpfnWndProc = BareProc;
    type.lpszClassName = "BareWindow";
    RegisterClassA(&type);
    HWND window = CreateWindowExA(0, "BareWindow", "bare", WS_POPUP, 100, 100, width, height, nullptr, nullptr,
                                  nullptr, nullptr);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}

struct ShownSearch {
    DWORD process;
    const char* title;
    HWND found;
};

BOOL CALLBACK MatchShown(HWND window, LPARAM data) {
    auto* s = reinterpret_cast<ShownSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char text[64] = {};
    GetWindowTextA(window, text, sizeof text);
    if (owner == s->process && IsWindowVisible(window) && std::strcmp(text, s->title) == 0) {
        s->found = window;
        return FALSE;
    }
    return TRUE;
}

// A visible top-level window of `process` titled `title`, or null.
HWND FindShown(DWORD process, const char* title) {
    ShownSearch search{process, title, nullptr};
    EnumWindows(MatchShown, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Seconds from the start of `commandLine` until its window `title` is shown
// and, when `skinned`, registered with the skin; -1 when that never happens.
double SecondsToShow(const std::string& commandLine, const char* title, bool skinned, SIZE* size) {
    ChildProcess program;
    const double start = Now();
    if (!program.Start(commandLine)) return -1;
    double shown = -1;
    while (Now() - start < 30) {
        HWND window = FindShown(program.id(), title);
        if (window && (!skinned || GetPropA(window, "Hw_lbID") != nullptr)) {
            shown = Now() - start;
            if (size) {
                RECT r{};
                GetWindowRect(window, &r);
                *size = SIZE{r.right - r.left, r.bottom - r.top};
            }
            break;
        }
        if (!program.Running()) break;
        Sleep(1);
    }
    const DWORD id = program.id();
    program.Terminate();
    corvalin::testing::EndLeftoversOf(id);
    return shown;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

double CpuSeconds(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return -1;
    auto seconds = [](const FILETIME& t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

// A whole file of Wine's view of the Linux /proc (its files report no size).
std::string ReadProcFile(const std::string& path) {
    std::string text;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        std::size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
        std::fclose(file);
    }
    return text;
}

// The names of a /proc folder that are numbers (processes, threads).
std::vector<std::string> NumberedEntries(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (found.cFileName[0] >= '0' && found.cFileName[0] <= '9') names.emplace_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// The Linux process Wine runs `program` in: Wine writes the Windows path of
// the program into the process's command line. Empty unless exactly one.
std::string LinuxProcessOf(const std::string& program) {
    std::string match;
    for (const std::string& pid : NumberedEntries("Z:\\proc")) {
        const std::string commandLine = ReadProcFile("Z:\\proc\\" + pid + "\\cmdline");
        if (commandLine.find(program) == std::string::npos) continue;
        if (!match.empty()) return {};
        match = pid;
    }
    return match;
}

// Seconds of CPU every thread of a Linux process has run, from the
// scheduler's own accounting in nanoseconds (schedstat), not the 10 ms tick
// that GetProcessTimes and /proc/<pid>/stat count in; -1 when unreadable.
double LinuxCpuSeconds(const std::string& pid) {
    double total = 0;
    bool any = false;
    for (const std::string& thread : NumberedEntries("Z:\\proc\\" + pid + "\\task")) {
        const std::string line = ReadProcFile("Z:\\proc\\" + pid + "\\task\\" + thread + "\\schedstat");
        if (line.empty()) continue;
        total += std::strtod(line.c_str(), nullptr) / 1e9;
        any = true;
    }
    return any ? total : -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], "--bare-window") == 0) return RunBareWindow(std::atoi(argv[2]), std::atoi(argv[3]));

    const std::string folder = ProgramFolder();
    const std::string program = "\"" + folder + "\\corvalin-e2e.exe\"";
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);

    // Start-up, alternating with the baseline so both see the same load; the
    // medians of seven, since one start under Wine varies by a fifth.
    SIZE size{};
    std::vector<double> skinned, bare;
    for (int i = 0; i < 7; ++i) {
        skinned.push_back(SecondsToShow(program, "Corvalin", true, &size));
        if (size.cx <= 0) break;
        bare.push_back(SecondsToShow("\"" + std::string(self) + "\" --bare-window " + std::to_string(size.cx) + " " +
                                         std::to_string(size.cy),
                                     "bare", false, nullptr));
    }
    const double startUp = Median(skinned), baseline = Median(bare);
    if (startUp <= 0 || baseline <= 0) {
        std::printf("start-up: a window did not show\n");
        return 1;
    }
    std::printf("%-44s %9.1f ms  %-28s %8.1f ms  ratio %6.2f  (target <= 1.8)\n", "start-up to the skinned main window",
                startUp * 1e3, "a bare window, same size", baseline * 1e3, startUp / baseline);

    // The idle program: page loaded, status poll running.
    corvalin::testing::CorvalinRun run;
    if (!run.started()) {
        std::printf("idle CPU: %s\n", run.failure().c_str());
        return 1;
    }
    const double loadStart = Now();
    while (Now() - loadStart < 20 && run.service().Sessions().empty()) Sleep(100);
    Sleep(2000);
    constexpr double kSeconds = 30;
    const std::string linuxProcess = LinuxProcessOf("corvalin-e2e.exe");
    const double cpu0 = CpuSeconds(run.process().handle()), linux0 = LinuxCpuSeconds(linuxProcess), wall0 = Now();
    Sleep(static_cast<DWORD>(kSeconds * 1000));
    const double cpu1 = CpuSeconds(run.process().handle()), linux1 = LinuxCpuSeconds(linuxProcess), wall1 = Now();
    if (cpu0 < 0 || cpu1 < 0) {
        std::printf("idle CPU: the process times cannot be read\n");
        return 1;
    }
    std::printf("%-44s %9.2f %% of a core over %.0f s (%.1f ms of CPU)  (target <= 0.5 %%)\n",
                "CPU of the idle program (GetProcessTimes)", 100 * (cpu1 - cpu0) / (wall1 - wall0), wall1 - wall0,
                (cpu1 - cpu0) * 1e3);
    if (linuxProcess.empty() || linux0 < 0 || linux1 < 0) {
        std::printf("idle CPU: no single Linux process of corvalin-e2e.exe in /proc\n");
        return 1;
    }
    std::printf("%-44s %9.3f %% of a core over %.0f s (%.2f ms of CPU, Linux process %s)  (target <= 0.5 %%)\n",
                "CPU of the idle program (scheduler, ns)", 100 * (linux1 - linux0) / (wall1 - wall0), wall1 - wall0,
                (linux1 - linux0) * 1e3, linuxProcess.c_str());
    return 0;
}
