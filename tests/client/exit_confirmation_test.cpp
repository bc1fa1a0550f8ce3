// Closing the main window: the confirmation, its buttons and its system-wide hot keys.
#include <windows.h>

#include <algorithm>
#include <functional>

#include <gtest/gtest.h>

#include "client/client_flow_fixture.h"

namespace corvalin::testing {
namespace {

constexpr char kDialogTitle[] = "友情提示：";

HWND WaitForDialog(CorvalinRun& run) {
    HWND dialog = nullptr;
    WaitUntil([&] { return (dialog = run.FindOwnWindow(kDialogTitle)) != nullptr; }, 3000);
    // The window shows before its created handler has registered the hot keys.
    Sleep(300);
    return dialog;
}

bool DialogGone(CorvalinRun& run) {
    return WaitUntil([&] { return run.FindOwnWindow(kDialogTitle) == nullptr; }, 3000);
}

void EscapeInMain(CorvalinRun& run) {
    Click(run.AccountBox());
    PressKey(VK_ESCAPE);
}

TEST(ExitConfirmationTest, EveryCloseRequestAsksAndEveryNoLeavesTheMainWindowAsItWas) {
    CorvalinRun run;
    ASSERT_TRUE(run.started()) << run.failure();
    ASSERT_FALSE(WaitForPageSession(run).empty());
    Click(run.AccountBox());
    TypeInto(run.AccountBox(), "12345");
    ASSERT_TRUE(WaitUntil([&] { return TextOf(run.AccountBox()) == "12345"; }, 1000)) << TextOf(run.AccountBox());
    HWND main = run.mainWindow();

    const struct {
        const char* how;
        std::function<void()> open;
        std::function<void(HWND)> close;
    } cases[] = {
        {"Esc, then N", [&] { EscapeInMain(run); }, [](HWND) { PressKey('N'); }},
        {"system close, then the No button",
         [&] { PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0); },
         [](HWND dialog) { Click(FindDescendant(dialog, "Button", "否(N)")); }},
        {"close request, then N", [&] { PostMessageA(main, WM_CLOSE, 0, 0); }, [](HWND) { PressKey('N'); }},
        {"Esc, then Esc in the dialog", [&] { EscapeInMain(run); },
         [](HWND dialog) {
             BringToFront(dialog);
             PressKey(VK_ESCAPE);
         }},
    };
    int round = 0;
    for (const auto& c : cases) {
        c.open();
        HWND dialog = WaitForDialog(run);
        ASSERT_NE(dialog, nullptr) << c.how;
        const auto texts = DescendantTexts(dialog);
        for (const char* text : {"您真的要退出么？", "是(Y)", "否(N)"})
            EXPECT_NE(std::find(texts.begin(), texts.end(), text), texts.end()) << c.how << ": " << text;
        // The main window's timers run on behind the dialog.
        const std::string status = "round " + std::to_string(++round);
        ASSERT_TRUE(run.service().SetStatus(status));
        EXPECT_TRUE(WaitUntil([&] { return run.StatusText() == "状态：" + status; }, 2500)) << c.how;

        c.close(dialog);
        ASSERT_TRUE(DialogGone(run)) << c.how;
        EXPECT_TRUE(run.process().Running());
        EXPECT_TRUE(IsWindowVisible(main));
        EXPECT_TRUE(IsWindowEnabled(main)) << c.how;
        EXPECT_EQ(TextOf(run.AccountBox()), "12345") << c.how << "; focus on " << TextOf(run.FocusedWindow());
        EXPECT_EQ(WindowHeight(main), 218) << c.how;
        EXPECT_EQ(run.StatusText(), "状态：" + status) << c.how;
    }
    // After all these openings (hot keys 33001 to 33008), N was answered every time;
    // and once closed, the keys belong to everyone again.
    EXPECT_EQ(SessionValue(run, "starts"), "0");
}

TEST(ExitConfirmationTest, YKeyEndsTheProgramWithExitCodeZero) {
    CorvalinRun run;
    ASSERT_TRUE(run.started()) << run.failure();
    PostMessageA(run.mainWindow(), WM_CLOSE, 0, 0);
    ASSERT_NE(WaitForDialog(run), nullptr);
    BringToFront(GetDesktopWindow());   // the key is system-wide: the focus need not be in the program
    PressKey('Y');
    EXPECT_EQ(run.process().Wait(5000), 0);
}

TEST(ExitConfirmationTest, SecondOpeningsHotKeysAndTheYesButtonWork) {
    CorvalinRun run;
    ASSERT_TRUE(run.started()) << run.failure();
    PostMessageA(run.mainWindow(), WM_CLOSE, 0, 0);
    ASSERT_NE(WaitForDialog(run), nullptr);
    PressKey('N');
    ASSERT_TRUE(DialogGone(run));
    PostMessageA(run.mainWindow(), WM_CLOSE, 0, 0);   // 33003 and 33004 now
    ASSERT_NE(WaitForDialog(run), nullptr);
    PressKey('N');
    ASSERT_TRUE(DialogGone(run));
    PostMessageA(run.mainWindow(), WM_CLOSE, 0, 0);
    HWND dialog = WaitForDialog(run);
    ASSERT_NE(dialog, nullptr);
    Click(FindDescendant(dialog, "Button", "是(Y)"));
    EXPECT_EQ(run.process().Wait(5000), 0);
}

TEST(ExitConfirmationTest, SecondOpeningsYKeyEndsTheProgram) {
    CorvalinRun run;
    ASSERT_TRUE(run.started()) << run.failure();
    PostMessageA(run.mainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
    HWND dialog = WaitForDialog(run);
    ASSERT_NE(dialog, nullptr);
    Click(FindDescendant(dialog, "Button", "否(N)"));
    ASSERT_TRUE(DialogGone(run));
    PostMessageA(run.mainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_NE(WaitForDialog(run), nullptr);
    PressKey('Y');
    EXPECT_EQ(run.process().Wait(5000), 0);
}

TEST(ExitConfirmationTest, KeyHeldByAnotherProgramLeavesTheButtonsAndTheOtherKey) {
    CorvalinRun run;
    ASSERT_TRUE(run.started()) << run.failure();
    ASSERT_TRUE(RegisterHotKey(nullptr, 7, 0, 'Y'));   // this test program holds the bare Y
    PostMessageA(run.mainWindow(), WM_CLOSE, 0, 0);
    ASSERT_NE(WaitForDialog(run), nullptr);
    PressKey('Y');
    MSG message{};
    const bool oursFired = WaitUntil([&] { return PeekMessageA(&message, nullptr, WM_HOTKEY, WM_HOTKEY, PM_REMOVE) != 0; }, 2000);
    EXPECT_TRUE(oursFired);
    EXPECT_TRUE(run.process().Running());
    EXPECT_NE(run.FindOwnWindow(kDialogTitle), nullptr);
    PressKey('N');
    EXPECT_TRUE(DialogGone(run));

    PostMessageA(run.mainWindow(), WM_CLOSE, 0, 0);
    HWND dialog = WaitForDialog(run);
    ASSERT_NE(dialog, nullptr);
    Click(FindDescendant(dialog, "Button", "是(Y)"));
    EXPECT_EQ(run.process().Wait(5000), 0);
    UnregisterHotKey(nullptr, 7);
}

}  // namespace
}  // namespace corvalin::testing
