#include "shell_test_fixture.h"

#include <fstream>
#include <sstream>

#include "support/message_pump.h"

namespace corvalin::shell::testing {

using corvalin::testing::PumpUntil;

void ShellTest::SetUp() {
    InitializeRuntime();
    ClearEventHandlers();
}

void ShellTest::TearDown() {
    ClearEventHandlers();
    for (ControlId id : {kExitConfirmWindowId, kMainWindowId}) {
        if (HWND window = GetWindowHandle({id, id == kMainWindowId ? kMainWindowUnitId : kExitConfirmUnitId})) {
            DestroyWindow(window);
        }
    }
    EXPECT_FALSE(IsWindowLoaded(kMainWindowId));
    EXPECT_FALSE(IsWindowLoaded(kExitConfirmWindowId));
    corvalin::testing::PumpMessagesFor(10);
}

void ShellTest::LoadMain() { ASSERT_TRUE(LoadWindow(kMainWindowId, false)); }

HWND ShellTest::Handle(ControlId windowId, ControlId controlId) const {
    return GetWindowHandle({windowId, controlId});
}

std::string ShellTest::Text(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

namespace {

// Under an X server without a window manager, Wine waits two seconds for a
// managed window (a task-bar window is one) to be withdrawn when it is
// destroyed. This program's windows are left unmanaged: set before any
// window exists, so the display driver reads it when it starts.
const bool kUnmanagedWindows = [] {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\shell_tests.exe\\X11 Driver", 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    UniqueRegistryKey owner(key);
    return RegSetValueExA(key, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2) == ERROR_SUCCESS;
}();

constexpr char kOutputVariable[] = "CORVALIN_SHELL_CHILD_OUTPUT";

struct BoxSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindErrorBox(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<BoxSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    if (owner == search->processId && std::string(title) == "错误") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

ChildRun RunChildScenario(const std::string& scenario, const std::string& outputFile) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string command = std::string("\"") + self + "\" --gtest_also_run_disabled_tests --gtest_filter=ShellChild.DISABLED_" + scenario;
    SetEnvironmentVariableA(kOutputVariable, outputFile.c_str());
    // The child's own test report goes nowhere.
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    UniqueFile nul(CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                               OPEN_EXISTING, 0, nullptr));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = nul.get();
    PROCESS_INFORMATION process{};
    ChildRun run;
    const BOOL started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    SetEnvironmentVariableA(kOutputVariable, nullptr);
    if (!started) return run;
    UniqueHandle processHandle(process.hProcess);
    UniqueHandle threadHandle(process.hThread);
    const DWORD deadline = GetTickCount() + 30000;
    while (WaitForSingleObject(processHandle.get(), 50) == WAIT_TIMEOUT) {
        if (GetTickCount() > deadline) {
            TerminateProcess(processHandle.get(), 99);
            WaitForSingleObject(processHandle.get(), 5000);
            return run;
        }
        BoxSearch search{process.dwProcessId, nullptr};
        EnumWindows(FindErrorBox, reinterpret_cast<LPARAM>(&search));
        if (search.found && run.errorBoxText.empty()) {
            char text[512] = {};
            GetDlgItemTextA(search.found, 0xFFFF, text, sizeof text);   // the message box's text control
            run.errorBoxText = text;
            PostMessageA(search.found, WM_COMMAND, IDOK, 0);
        }
    }
    GetExitCodeProcess(processHandle.get(), &run.exitCode);
    run.finished = true;
    return run;
}

std::string ChildOutputFile() {
    char path[MAX_PATH] = {};
    GetEnvironmentVariableA(kOutputVariable, path, MAX_PATH);
    return path;
}

void AppendChildOutput(const std::string& text) {
    std::ofstream out(ChildOutputFile(), std::ios::binary | std::ios::app);
    out << text;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

}  // namespace corvalin::shell::testing
