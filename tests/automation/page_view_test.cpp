// What the document operations do to the painted page: geometry, scrolling,
// scroll bars and the mouse's selection, checked on the pixels of a real
// browser box on the screen.
#include <gtest/gtest.h>

#include <vector>

#include "automation/hosted_page.h"
#include "automation/page_automation.h"
#include "base/unique.h"
#include "support/dc_pixels.h"
#include "support/message_pump.h"

namespace corvalin {
namespace {

constexpr int kLeft = 40;
constexpr int kTop = 60;
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);

// The rendering window's pixels, scroll bars included, as painted.
struct WindowPixels {
    explicit WindowPixels(HWND window) {
        // The first paint may change the scroll bars and so the client area:
        // the second paints what is then shown.
        for (int pass = 0; pass < 2; ++pass) {
            testing::PumpMessagesFor(0);
            RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
        }
        RECT frame;
        GetWindowRect(window, &frame);
        width = frame.right - frame.left;
        height = frame.bottom - frame.top;
        POINT client{0, 0};
        ClientToScreen(window, &client);
        clientOffset = {client.x - frame.left, client.y - frame.top};
        pixels = testing::ReadDcPixels(WholeWindowDc(window).get(), width, height);
    }
    // In client coordinates.
    COLORREF At(long x, long y) const {
        x += clientOffset.x;
        y += clientOffset.y;
        if (x < 0 || y < 0 || x >= width || y >= height) return CLR_INVALID;
        return pixels[static_cast<size_t>(y) * width + x];
    }
    // Top left of the first pixel of `color`, in client coordinates.
    POINT Find(COLORREF color) const {
        for (long y = 0; y < height; ++y)
            for (long x = 0; x < width; ++x)
                if (pixels[static_cast<size_t>(y) * width + x] == color) return {x - clientOffset.x, y - clientOffset.y};
        return {-1, -1};
    }
    long Count(COLORREF color) const {
        long n = 0;
        for (COLORREF c : pixels) n += c == color;
        return n;
    }

    long width = 0, height = 0;
    POINT clientOffset{};
    std::vector<COLORREF> pixels;
};

class PageViewTest : public ::testing::Test {
protected:
    void SetUp() override { SetWindowPos(page.top(), HWND_TOPMOST, kLeft, kTop, 420, 320, SWP_SHOWWINDOW); }
    void Show(const std::string& markup) {
        ASSERT_TRUE(page.Load(markup));
        ASSERT_TRUE(automation.AttachBrowser(page.box()));
    }
    AutomationObject Element(const char* id) const { return automation.GetDocument().CallObject("getElementById", id); }

    testing::HostedPage page;
    PageAutomation automation;
};

TEST_F(PageViewTest, ElementPositionIsWhereItsPixelsArePainted) {
    Show("<html><body style='margin:0'>"
         "<div style='position:relative;left:30px;top:20px;width:300px;height:200px'>"
         "<table style='margin-left:11px' cellspacing=0 cellpadding=5 border=0><tr><td>"
         "<div style='padding:13px 0 0 17px;width:100px;height:80px'>"
         "<div id=target style='margin-left:9px;width:40px;height:30px;background:#ff0000'></div>"
         "</div></td></tr></table></div></body></html>");
    const AutomationObject target = Element("target");
    ASSERT_FALSE(target.IsEmpty());
    // The chain runs through the cell, the table and the positioned block.
    ASSERT_EQ(target.GetObject("offsetParent").GetText("tagName"), "TD");
    const WindowPixels pixels(page.renderingWindow());
    const POINT painted = pixels.Find(kRed);
    EXPECT_EQ(automation.GetElementLeft(target), painted.x);
    EXPECT_EQ(automation.GetElementTop(target), painted.y);
    EXPECT_EQ(automation.GetElementLeft(target), 30 + 11 + 5 + 17 + 9);
    EXPECT_EQ(automation.GetElementLeft(AutomationObject()), 0);
}

TEST_F(PageViewTest, ScrollingMovesThePaintedContent) {
    Show("<html><body style='margin:0'><div style='height:500px;width:900px'></div>"
         "<div style='width:50px;height:50px;margin-left:100px;background:#ff0000'></div>"
         "<div style='height:1000px'></div></body></html>");
    int height = 0, width = 0;
    EXPECT_EQ(automation.GetScrollSize(&height, &width), width);
    EXPECT_GE(height, 1550);
    EXPECT_GE(width, 900);

    automation.ScrollTo(60, 450);
    int left = 0, top = 0;
    EXPECT_EQ(automation.GetScrollPosition(&left, &top), 60);
    EXPECT_EQ(top, 450);
    POINT painted = WindowPixels(page.renderingWindow()).Find(kRed);
    EXPECT_EQ(painted.x, 100 - 60);
    EXPECT_EQ(painted.y, 500 - 450);

    automation.ScrollBy(-20, 0);
    automation.ScrollBy(-10, 1);
    automation.ScrollBy(500, 2);   // no such axis
    EXPECT_EQ(automation.GetScrollPosition(&left, &top), 50);
    EXPECT_EQ(top, 430);
    painted = WindowPixels(page.renderingWindow()).Find(kRed);
    EXPECT_EQ(painted.x, 100 - 50);
    EXPECT_EQ(painted.y, 500 - 430);
}

TEST_F(PageViewTest, HiddenScrollBarsAreNoLongerPainted) {
    Show("<html><body style='margin:0;background:#00ff00'><div style='height:2000px;width:2000px'></div>"
         "</body></html>");
    const HWND window = page.renderingWindow();
    RECT frame;
    GetWindowRect(window, &frame);
    const long right = frame.right - frame.left - 3, bottom = frame.bottom - frame.top - 3;
    const WindowPixels before(window);
    // The bars' corner and edges are not the page's green.
    EXPECT_NE(before.At(right - before.clientOffset.x, 100), kGreen);
    EXPECT_NE(before.At(100, bottom - before.clientOffset.y), kGreen);

    automation.HideScrollBars();
    const WindowPixels after(window);
    EXPECT_EQ(after.At(right - after.clientOffset.x, 100), kGreen);
    EXPECT_EQ(after.At(100, bottom - after.clientOffset.y), kGreen);
    // Scripts can still scroll what the user no longer can.
    automation.ScrollTo(0, 300);
    int top = 0;
    automation.GetScrollPosition(nullptr, &top);
    EXPECT_EQ(top, 300);
}

// The selection made with the real mouse (SendInput over the visible box).
class MouseSelectionTest : public PageViewTest {
protected:
    void SetUp() override {
        PageViewTest::SetUp();
        SetForegroundWindow(page.top());
        Show("<html><body style='margin:10px;font:20px Arial'>"
             "<div id=line><span id=s>alpha <u>beta</u> gamma</span> tail</div></body></html>");
    }
    // A point of the page in screen coordinates.
    POINT Screen(long x, long y) const {
        POINT p{x, y};
        ClientToScreen(page.renderingWindow(), &p);
        return p;
    }
    static void Send(DWORD flags, POINT at) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
        input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        SendInput(1, &input, sizeof input);
        testing::PumpMessagesFor(30);
    }
    void Drag(POINT from, POINT to) {
        Send(0, from);
        Send(MOUSEEVENTF_LEFTDOWN, from);
        Send(0, {(from.x + to.x) / 2, from.y});
        Send(0, to);
        Send(MOUSEEVENTF_LEFTUP, to);
    }
    // The span's box in client coordinates.
    RECT SpanBox() {
        const AutomationObject span = Element("s");
        const long left = automation.GetElementLeft(span), top = automation.GetElementTop(span);
        return {left, top, left + static_cast<long>(span.GetNumber("offsetWidth")),
                top + static_cast<long>(span.GetNumber("offsetHeight"))};
    }
};

TEST_F(MouseSelectionTest, DraggingSelectsTheTextUnderThePointer) {
    EXPECT_EQ(automation.GetSelection(), "");
    const RECT span = SpanBox();
    const long middle = (span.top + span.bottom) / 2;
    const long highlightBefore = WindowPixels(page.renderingWindow()).Count(GetSysColor(COLOR_HIGHLIGHT));
    // From just left of the first letter to just past the last one.
    Drag(Screen(span.left + 1, middle), Screen(span.right - 1, middle));
    ASSERT_TRUE(testing::PumpUntil([&] { return !automation.GetSelection().empty(); }, 2000));
    EXPECT_EQ(automation.GetSelection(), "alpha beta gamma");
    EXPECT_EQ(automation.GetSelection(1), "alpha <U>beta</U> gamma");
    EXPECT_EQ(page.Evaluate("document.selection.type"), "Text");
    // The selected text is painted highlighted.
    EXPECT_GT(WindowPixels(page.renderingWindow()).Count(GetSysColor(COLOR_HIGHLIGHT)), highlightBefore + 100);

    // A click elsewhere takes the selection away.
    Send(MOUSEEVENTF_LEFTDOWN, Screen(span.right + 30, middle));
    Send(MOUSEEVENTF_LEFTUP, Screen(span.right + 30, middle));
    EXPECT_EQ(automation.GetSelection(), "");
    EXPECT_EQ(page.Evaluate("document.selection.type"), "None");
}

TEST_F(MouseSelectionTest, DoubleClickSelectsAWord) {
    const RECT span = SpanBox();
    const long middle = (span.top + span.bottom) / 2;
    // "beta" sits in the middle of the span.
    const POINT at = Screen((span.left + span.right) / 2, middle);
    for (DWORD flags : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP})
        Send(flags, at);
    ASSERT_TRUE(testing::PumpUntil([&] { return !automation.GetSelection().empty(); }, 2000));
    EXPECT_EQ(automation.GetSelection(), "beta");
}

TEST_F(MouseSelectionTest, APageThatRefusesSelectionGetsNone) {
    page.Evaluate("document.onselectstart = function(){ return false; }");
    const RECT span = SpanBox();
    const long middle = (span.top + span.bottom) / 2;
    Drag(Screen(span.left + 1, middle), Screen(span.right - 1, middle));
    testing::PumpMessagesFor(50);
    EXPECT_EQ(automation.GetSelection(), "");
    automation.EnableSelectionAndContextMenu();
    // Pressed again at once on the same spot the button would double-click:
    // start a little further left, in the page's margin.
    Drag(Screen(span.left - 6, middle), Screen(span.right - 1, middle));
    ASSERT_TRUE(testing::PumpUntil([&] { return !automation.GetSelection().empty(); }, 2000));
    EXPECT_EQ(automation.GetSelection(), "alpha beta gamma");
}

}  // namespace
}  // namespace corvalin
