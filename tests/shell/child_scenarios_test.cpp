// Scenarios that end their process, run by the tests in a child process of
// this program (see RunChildScenario); never run directly.
#include <thread>

#include "shell_test_fixture.h"

namespace corvalin::shell::testing {
namespace {

void StartWithExitRoutine() {
    InitializeRuntime();
    RegisterExitRoutine([] {
        AppendChildOutput("exit routine\n");
    });
}

TEST(ShellChild, DISABLED_ReadFromUnloadedWindow) {
    StartWithExitRoutine();
    GetControlProperty(kMainWindowId, kAccountEditId, kPropLeft);
    AppendChildOutput("survived\n");
}

TEST(ShellChild, DISABLED_TextOfDestroyedEdit) {
    StartWithExitRoutine();
    LoadWindow(kMainWindowId, false);
    DestroyWindow(GetWindowHandle({kMainWindowId, kAccountEditId}));
    // The common properties stay readable without the window.
    AppendChildOutput("left " + GetControlProperty(kMainWindowId, kAccountEditId, kPropLeft).AsText() + "\n");
    GetControlProperty(kMainWindowId, kAccountEditId, kPropText);
    AppendChildOutput("survived\n");
}

TEST(ShellChild, DISABLED_ExitFromHandler) {
    InitializeRuntime();
    RegisterExitRoutine([] {
        AppendChildOutput(std::string("exit routine, main loaded: ") + (IsWindowLoaded(kMainWindowId) ? "yes" : "no") + "\n");
        ExitProgram(5);   // ending again from inside runs nothing twice
    });
    RegisterEventHandler("SubmitStart", [] { ExitProgram(0); });
    LoadWindow(kMainWindowId, false);
    PostMessageA(GetWindowHandle({kMainWindowId, kStartButtonId}), BM_CLICK, 0, 0);
    RunMessageLoop();
    AppendChildOutput("loop ended\n");
}

TEST(ShellChild, DISABLED_ExitFromAnotherThread) {
    StartWithExitRoutine();
    RegisterEventHandler("OnMainCreated", [] {
        std::thread([] {
            Sleep(100);
            ExitProgram(7);
        }).detach();
    });
    LoadWindow(kMainWindowId, false);
    RunMessageLoop();
    AppendChildOutput("loop ended\n");
}

TEST(ShellChild, DISABLED_AllocationFailure) {
    StartWithExitRoutine();
    volatile std::size_t huge = std::size_t(1) << (sizeof(std::size_t) * 8 - 4);
    void* memory = ::operator new(huge);
    AppendChildOutput(memory ? "allocated\n" : "null\n");
}

}  // namespace
}  // namespace corvalin::shell::testing
