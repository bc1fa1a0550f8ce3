#include <atomic>
#include <thread>

#include "shell_test_fixture.h"
#include "support/message_pump.h"
#include "support/temp_folder.h"

namespace corvalin::shell::testing {
namespace {

using corvalin::testing::TempFolder;

using RuntimeTest = ShellTest;

TEST_F(RuntimeTest, ExitProgramDestroysTheWindowsThenRunsTheExitRoutineOnce) {
    TempFolder folder;
    const ChildRun run = RunChildScenario("ExitFromHandler", folder.File("out.txt"));
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 5u);
    EXPECT_EQ(ReadWholeFile(folder.File("out.txt")), "exit routine, main loaded: no\n");
    EXPECT_EQ(run.errorBoxText, "");
}

TEST_F(RuntimeTest, ExitProgramFromAnotherThreadEndsOnTheInterfaceThread) {
    TempFolder folder;
    const ChildRun run = RunChildScenario("ExitFromAnotherThread", folder.File("out.txt"));
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 7u);
    EXPECT_EQ(ReadWholeFile(folder.File("out.txt")), "exit routine\n");
}

TEST_F(RuntimeTest, MemoryExhaustionIsAFatalErrorWithTheSize) {
    TempFolder folder;
    const ChildRun run = RunChildScenario("AllocationFailure", folder.File("out.txt"));
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0xFFFFFFFFu);
    const std::string size = std::to_string(std::size_t(1) << (sizeof(std::size_t) * 8 - 4));
    EXPECT_EQ(run.errorBoxText, "运行时出错!\r\n\r\n错误信息：分配 " + size + " 字节内存失败!\r\n");
    EXPECT_EQ(ReadWholeFile(folder.File("out.txt")), "exit routine\n");
}

struct BoxSeen {
    std::string text;
    bool hasOwner = true;
    bool mainWasDisabled = false;
    bool hasIcon = false;
    bool hasOk = false;
    bool hasCancel = false;
    bool hasNo = false;
};

// Waits on its own thread for a message box of this process with the title,
// records what it shows and presses a button.
std::thread AnswerBox(const char* title, int button, BoxSeen& seen, HWND main) {
    return std::thread([=, &seen] {
        HWND box = nullptr;
        for (int i = 0; i < 500 && !box; ++i) {
            box = FindWindowA("#32770", title);
            if (!box) Sleep(10);
        }
        if (!box) return;
        for (int i = 0; i < 500 && !IsWindowVisible(box); ++i) Sleep(10);
        char text[256] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        seen.text = text;
        seen.hasOwner = GetWindow(box, GW_OWNER) != nullptr;
        seen.mainWasDisabled = !IsWindowEnabled(main);
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            const LONG_PTR style = GetWindowLongPtrA(child, GWL_STYLE);
            char className[32] = {};
            GetClassNameA(child, className, sizeof className);
            if (std::string(className) == "Static" && (style & SS_TYPEMASK) == SS_ICON &&
                SendMessageA(child, STM_GETICON, 0, 0) != 0) {
                seen.hasIcon = true;
            }
        }
        seen.hasOk = GetDlgItem(box, IDOK) != nullptr;
        seen.hasCancel = GetDlgItem(box, IDCANCEL) != nullptr;
        seen.hasNo = GetDlgItem(box, IDNO) != nullptr;
        PostMessageA(box, WM_COMMAND, button, 0);
    });
}

TEST_F(RuntimeTest, MessageBoxesAreTaskModalAndAnswerByButtonNumber) {
    LoadMain();
    HWND main = Handle(kMainWindowId, kMainWindowUnitId);
    BoxSeen seen;
    std::thread answer = AnswerBox("Tessaly提示：", IDOK, seen, main);
    EXPECT_EQ(ShowMessageBox("请输入密码，谢谢！", 16, "Tessaly提示："), 0);
    answer.join();
    EXPECT_EQ(seen.text, "请输入密码，谢谢！");
    EXPECT_FALSE(seen.hasOwner);
    EXPECT_TRUE(seen.mainWasDisabled) << "task-modal";
    EXPECT_TRUE(seen.hasIcon);
    EXPECT_TRUE(seen.hasOk);
    EXPECT_TRUE(IsWindowEnabled(main));

    BoxSeen yesNo;
    answer = AnswerBox("问", IDNO, yesNo, main);
    EXPECT_EQ(ShowMessageBox("是否?", MB_YESNO, "问"), 6);
    answer.join();
    EXPECT_TRUE(yesNo.hasNo);
    EXPECT_FALSE(yesNo.hasIcon);
}

TEST_F(RuntimeTest, StartingSetsTheCurrentDirectoryToTheProgramsFolder) {
    TempFolder folder;
    ASSERT_TRUE(SetCurrentDirectoryA(folder.path().c_str()));
    InitializeRuntime();
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string folderOfProgram(program);
    folderOfProgram.resize(folderOfProgram.rfind('\\'));
    EXPECT_EQ(std::string(current), folderOfProgram);
}

TEST_F(RuntimeTest, ProcessPendingEventsRunsHandlersOfQueuedMessages) {
    LoadMain();
    int clicks = 0;
    RegisterEventHandler("SubmitOffline", [&] { ++clicks; });
    PostMessageA(Handle(kMainWindowId, kOfflineButtonId), BM_CLICK, 0, 0);
    PostMessageA(Handle(kMainWindowId, kOfflineButtonId), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 0);
    ProcessPendingEvents();
    EXPECT_EQ(clicks, 2);
}

LRESULT CALLBACK RepostingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) {
        ++*reinterpret_cast<int*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        PostMessageA(window, WM_APP, 0, 0);   // a flood: every message brings the next
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(RuntimeTest, ProcessPendingEventsReturnsThroughAFloodOfMessages) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = RepostingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "Corvalin.Test.Reposting";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    int handled = 0;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&handled));
    PostMessageA(window, WM_APP, 0, 0);
    ProcessPendingEvents();
    EXPECT_GE(handled, 1);
    const int afterFirstCall = handled;
    ProcessPendingEvents();   // the next call takes the one posted meanwhile
    EXPECT_GT(handled, afterFirstCall);
    DestroyWindow(window);
    UnregisterClassA(wc.lpszClassName, wc.hInstance);
}

TEST_F(RuntimeTest, TheMessageLoopEndsWhenTheLastWindowIsGone) {
    LoadMain();
    RegisterEventHandler("OnStatusPoll", [] { DestroyLoadedWindow(kMainWindowId); });
    SetControlProperty(kMainWindowId, kStatusPollTimerId, kPropInterval, 30);
    EXPECT_EQ(RunMessageLoop(), 0);
    EXPECT_FALSE(IsWindowLoaded(kMainWindowId));
}

}  // namespace
}  // namespace corvalin::shell::testing
