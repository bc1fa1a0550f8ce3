// Moving and sizing a real skinned window: which system request a press
// makes, and the cursor a move shows. The test window answers the move and
// size requests itself, so no modal loop starts.
#include <gtest/gtest.h>

#include "skin/window_frame/skinned_window_fixture.h"
#include "skin/window_painting.h"

namespace corvalin::testing {
namespace {

using FrameMovingTest = SkinTest;

TEST_F(FrameMovingTest, SizingZonesOfA200By150Client) {
    const struct {
        int x, y;
        WPARAM command;   // 0: no zone
        LPCSTR cursor;
    } cases[] = {
        {0, 50, 0xF001, IDC_SIZEWE},     {3, 50, 0xF001, IDC_SIZEWE},    {4, 50, 0, nullptr},
        {197, 50, 0xF002, IDC_SIZEWE},   {196, 50, 0, nullptr},          {100, 3, 0xF003, IDC_SIZENS},
        {100, 147, 0xF006, IDC_SIZENS},  {100, 146, 0, nullptr},         {10, 10, 0xF004, IDC_SIZENWSE},
        {11, 2, 0xF003, IDC_SIZENS},     {10, 2, 0xF004, IDC_SIZENWSE},  {190, 10, 0xF005, IDC_SIZENESW},
        {189, 2, 0xF003, IDC_SIZENS},    {10, 140, 0xF007, IDC_SIZENESW}, {190, 140, 0xF008, IDC_SIZENWSE},
        {2, 10, 0xF004, IDC_SIZENWSE},   {2, 11, 0xF001, IDC_SIZEWE},    {100, 75, 0, nullptr},
    };
    for (const auto& c : cases) {
        const auto zone = FindSizingZone(c.x, c.y, 200, 150, 3);
        EXPECT_EQ(zone.has_value(), c.command != 0) << c.x << "," << c.y;
        if (zone && c.command) {
            EXPECT_EQ(zone->command, c.command) << c.x << "," << c.y;
            EXPECT_EQ(zone->cursor, c.cursor) << c.x << "," << c.y;
        }
    }
}

enum class Request { None, Move, Size };

struct Press {
    int x, y;
    Request request;
    WPARAM command;
};

void CheckPresses(SkinnedWindow& w, const std::vector<Press>& presses, const char* what) {
    for (const Press& p : presses) {
        w.ClearPassed();
        w.Mouse(WM_LBUTTONDOWN, p.x, p.y, MK_LBUTTON);
        w.Mouse(WM_LBUTTONUP, p.x, p.y);
        const auto moves = w.Passed(WM_NCLBUTTONDOWN);
        std::vector<WPARAM> sizes;
        for (const auto& m : w.Passed(WM_SYSCOMMAND)) {
            if ((m.wParam & 0xFFF0) == SC_SIZE) sizes.push_back(m.wParam);
        }
        EXPECT_EQ(moves.size(), p.request == Request::Move ? 1u : 0u) << what << " " << p.x << "," << p.y;
        if (p.request == Request::Move && !moves.empty()) {
            EXPECT_EQ(moves[0].wParam, static_cast<WPARAM>(HTCAPTION));
        }
        ASSERT_EQ(sizes.size(), p.request == Request::Size ? 1u : 0u) << what << " " << p.x << "," << p.y;
        if (!sizes.empty()) {
            EXPECT_EQ(sizes[0], p.command) << what << " " << p.x << "," << p.y;
        }
    }
}

TEST_F(FrameMovingTest, SizableWindowSizesFromItsBorderAndMovesFromItsCaption) {
    SkinnedWindow w(300, 200);
    const int gap = static_cast<int>(w.record().captionButtons[1].rect.x) - 1;   // between two buttons
    CheckPresses(w,
                 {{100, 10, Request::Move, 0},
                  {2, 2, Request::Size, 0xF004},
                  {100, 1, Request::Size, 0xF003},
                  {1, 100, Request::Size, 0xF001},
                  {298, 198, Request::Size, 0xF008},
                  {gap, 10, Request::None, 0},
                  {150, 100, Request::None, 0}},
                 "sizable");
    EXPECT_EQ(w.record().repaintAll, 1);   // a resize needs a new background
}

TEST_F(FrameMovingTest, WindowThatIsNotSizableMovesFromAnywhereInItsCaption) {
    SkinWindowOptions options;
    options.doubleClickMaximizes = 0;
    SkinnedWindow w(300, 200, SkinnedWindow::kMinMaxStyle, options);
    CheckPresses(w,
                 {{2, 2, Request::Move, 0},
                  {100, 1, Request::Move, 0},
                  {1, 100, Request::Size, 0xF001},
                  {150, 198, Request::Size, 0xF006},
                  {150, 100, Request::None, 0}},
                 "fixed");
}

TEST_F(FrameMovingTest, CaptionButtonsSwitchedOffLeaveThePressAlone) {
    SkinWindowOptions options;
    options.captionButtonsActive = 0;
    SkinnedWindow w(300, 200, SkinnedWindow::kMinMaxStyle, options);
    CheckPresses(w, {{100, 10, Request::None, 0}, {1, 100, Request::None, 0}}, "inactive");
}

TEST_F(FrameMovingTest, OnlySizableWindowsShowSizingCursors) {
    SkinnedWindow sizable(300, 200);
    SkinWindowOptions options;
    options.doubleClickMaximizes = 0;
    SkinnedWindow fixed(300, 200, SkinnedWindow::kMinMaxStyle, options);
    const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    SetCursor(arrow);
    fixed.Mouse(WM_MOUSEMOVE, 1, 100);
    EXPECT_EQ(GetCursor(), arrow);
    sizable.Mouse(WM_MOUSEMOVE, 1, 100);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_SIZEWE));
    sizable.Mouse(WM_MOUSEMOVE, 298, 198);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_SIZENWSE));
    SetCursor(arrow);
    sizable.Mouse(WM_MOUSEMOVE, 150, 100);
    EXPECT_EQ(GetCursor(), arrow);
}

TEST_F(FrameMovingTest, PagesFillTheClientAreaOnResize) {
    SkinnedWindow w(300, 200);
    HWND page = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, w.window(), nullptr,
                                nullptr, nullptr);
    w.record().pages.push_back({page, 30});
    SetWindowPos(w.window(), nullptr, 0, 0, 320, 240, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT r{};
    GetWindowRect(page, &r);
    MapWindowPoints(nullptr, w.window(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 2);
    EXPECT_EQ(r.top, 30);
    EXPECT_EQ(r.right - r.left, 316);
    EXPECT_EQ(r.bottom - r.top, 240 - 30 - 3);
}

}  // namespace
}  // namespace corvalin::testing
