// The skinned main window under the mouse: dragged by its caption, its tool
// tips, and minimised on a desktop without a task bar.
#include <windows.h>

#include <gtest/gtest.h>

#include "client/client_flow_fixture.h"

namespace corvalin::testing {
namespace {

std::string ClassName(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// A tool tip of the program that is on the screen now, or nullptr.
HWND ShownToolTip(CorvalinRun& run) {
    for (HWND w : run.VisibleWindows())
        if (lstrcmpiA(ClassName(w).c_str(), "tooltips_class32") == 0) return w;
    return nullptr;
}

DecodedPicture Part(const DecodedPicture& whole, const RECT& r) {
    DecodedPicture part;
    part.width = r.right - r.left;
    part.height = r.bottom - r.top;
    for (int y = r.top; y < r.bottom; ++y) {
        const auto row = whole.rgb.begin() + (static_cast<std::ptrdiff_t>(y) * whole.width + r.left) * 3;
        part.rgb.insert(part.rgb.end(), row, row + part.width * 3);
    }
    return part;
}

TEST(SkinnedWindowTest, DragToolTipAndMinimisedStripBehave) {
    CorvalinRun run;
    ASSERT_TRUE(run.started()) << run.failure();
    ASSERT_FALSE(WaitForPageSession(run).empty());
    HWND main = run.mainWindow();
    BringToFront(main);
    Sleep(500);

    // Dragged by its caption, the window shows the same icon and title, once.
    const RECT titleArea{0, 0, 200, 30};
    const DecodedPicture before = Part(CaptureClient(main, 377, 218), titleArea);
    const RECT start = WindowRectOf(main);
    DragFromTo({start.left + 150, start.top + 12}, {start.left + 90, start.top + 52});
    ASSERT_TRUE(WaitUntil([&] { return WindowRectOf(main).left == start.left - 60; }, 3000));
    Sleep(500);
    const DecodedPicture after = Part(CaptureClient(main, 377, 218), titleArea);
    EXPECT_LT(MeanDifference(before, after), 1.0) << "caption icon or title drawn differently after the drag";

    // The close button's tip goes when the exit dialog takes the window away.
    const RECT moved = WindowRectOf(main);
    MoveMouseTo(moved.right - 20, moved.top + 10);
    MoveMouseTo(moved.right - 22, moved.top + 11);
    if (WaitUntil([&] { return ShownToolTip(run) != nullptr; }, 4000)) {
        EXPECT_EQ(TextOf(ShownToolTip(run)), "关闭");
        PostMessageA(main, WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitUntil([&] { return run.FindOwnWindow("友情提示：") != nullptr; }, 3000));
        EXPECT_TRUE(WaitUntil([&] { return ShownToolTip(run) == nullptr; }, 1000)) << "the tip stayed on screen";
        Sleep(300);
        PressKey('N');
        ASSERT_TRUE(WaitUntil([&] { return run.FindOwnWindow("友情提示：") == nullptr; }, 3000));
    } else {
        ADD_FAILURE() << "no tool tip over the close button";
    }

    // Minimised, the strip answers a click, a double click and Alt+Space by restoring the window.
    const struct {
        const char* how;
        void (*restore)(HWND strip);
    } ways[] = {
        {"click", [](HWND strip) {
             const RECT r = WindowRectOf(strip);
             ClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
         }},
        {"double click", [](HWND strip) {
             const RECT r = WindowRectOf(strip);
             DoubleClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
         }},
        {"Alt+Space", [](HWND strip) {
             BringToFront(strip);
             PressKeyWith(VK_MENU, VK_SPACE);
         }},
    };
    for (const auto& way : ways) {
        PostMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        ASSERT_TRUE(WaitUntil([&] { return IsIconic(main) != FALSE; }, 3000)) << way.how;
        Sleep(300);
        way.restore(main);
        EXPECT_TRUE(WaitUntil([&] { return !IsIconic(main); }, 3000)) << way.how;
        EXPECT_TRUE(WaitUntil([&] { return WindowHeight(main) == 218; }, 3000)) << way.how;
    }
}

}  // namespace
}  // namespace corvalin::testing
