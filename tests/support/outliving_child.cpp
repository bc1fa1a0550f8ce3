// outliving-child.exe: starts a console child of its own that sleeps for two
// minutes, and ends at once. The suite runs it to show that a process a test
// leaves behind fails that test (the emulator wrapper names and ends it)
// instead of holding the test runner's output open.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "child") == 0) {
        Sleep(120000);
        return 0;
    }
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string command = "\"" + std::string(self) + "\" child";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    // A new console makes Wine start a conhost.exe for the child, as a test's
    // console children do.
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NEW_CONSOLE, nullptr, nullptr,
                        &startup, &child)) {
        std::printf("CreateProcess failed: %lu\n", GetLastError());
        return 2;
    }
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    std::printf("child %lu started\n", child.dwProcessId);
    return 0;
}
