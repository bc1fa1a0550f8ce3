// The mouse's selection in a shown box, the document's own event handler
// properties, writing after the load, and the window members automation
// reads (location as text, frames and their count).
// Loopback server first: its socket header must come before windows.h.
#include "browser/engine/page_fixture.h"

#include <algorithm>

#include "support/message_pump.h"

namespace corvalin::browser::testing {
namespace {

class PageSelectionTest : public PageTest {
protected:
    void SetUp() override {
        PageTest::SetUp();
        CreateBox();
        ShowWindow(parent_, SW_SHOWNOACTIVATE);
    }
    // Client point of a character boundary: `index` characters into the
    // element's text (measured in the body's font), half way down its first line.
    POINT At(const wchar_t* id, int index) {
        const std::wstring text = Eval(
            std::wstring(L"(function(){var e = document.getElementById('") + id +
            L"'), r = e.getBoundingClientRect(), s = document.createElement('span');"
            L"s.innerText = e.innerText.substring(0, " + std::to_wstring(index) +
            L").replace(/ /g, '\u00a0'); document.body.appendChild(s); var w = s.offsetWidth; document.body.removeChild(s);"
            L"return (r.left + w) + ',' + Math.floor((r.top + r.bottom) / 2);})()");
        POINT p{-1, -1};
        swscanf(text.c_str(), L"%ld,%ld", &p.x, &p.y);
        return p;
    }
    void Mouse(UINT message, POINT at, WPARAM keys = 0) {
        SendMessageW(box_->RenderingWindow(), message, keys, MAKELPARAM(at.x, at.y));
    }
    void Drag(POINT from, POINT to) {
        Mouse(WM_LBUTTONDOWN, from, MK_LBUTTON);
        Mouse(WM_MOUSEMOVE, {(from.x + to.x) / 2, from.y}, MK_LBUTTON);
        Mouse(WM_MOUSEMOVE, to, MK_LBUTTON);
        Mouse(WM_LBUTTONUP, to);
    }
    std::wstring Selected() { return Eval(L"document.selection.createRange().text"); }
    // Pixels of the system's highlight colour in the rendering window.
    long HighlightedPixels() {
        corvalin::testing::PumpMessagesFor(0);
        UpdateWindow(box_->RenderingWindow());
        HDC dc = GetDC(box_->RenderingWindow());
        RECT client;
        GetClientRect(box_->RenderingWindow(), &client);
        long count = 0;
        for (long y = 0; y < std::min<long>(client.bottom, 80); ++y)
            for (long x = 0; x < std::min<long>(client.right, 400); ++x)
                count += GetPixel(dc, x, y) == GetSysColor(COLOR_HIGHLIGHT);
        ReleaseDC(box_->RenderingWindow(), dc);
        return count;
    }
};

TEST_F(PageSelectionTest, DraggingSelectsFromWhereTheButtonWentDown) {
    LoadMarkup(L"<body style='margin:8px;font:16px Arial'><p id=p>alpha <u>beta</u> gamma delta</p></body>");
    EXPECT_EQ(Eval(L"document.selection.type"), L"None");
    EXPECT_EQ(HighlightedPixels(), 0);
    Drag(At(L"p", 2), At(L"p", 13));
    EXPECT_EQ(Selected(), L"pha beta ga");
    EXPECT_EQ(Eval(L"document.selection.type"), L"Text");
    EXPECT_EQ(Eval(L"document.selection.createRange().htmlText"), L"pha <U>beta</U> ga");
    EXPECT_GT(HighlightedPixels(), 50);

    // Backwards works the same; a drag that ends where it began selects nothing.
    Drag(At(L"p", 10), At(L"p", 6));
    EXPECT_EQ(Selected(), L"beta");
    Drag(At(L"p", 3), At(L"p", 3));
    EXPECT_EQ(Eval(L"document.selection.type"), L"None");
    EXPECT_EQ(HighlightedPixels(), 0);

    Mouse(WM_LBUTTONDOWN, At(L"p", 8), MK_LBUTTON);
    Mouse(WM_LBUTTONUP, At(L"p", 8));
    Mouse(WM_LBUTTONDBLCLK, At(L"p", 8), MK_LBUTTON);
    Mouse(WM_LBUTTONUP, At(L"p", 8));
    EXPECT_EQ(Selected(), L"beta");
    Eval(L"document.selection.empty()");
    EXPECT_EQ(Eval(L"document.selection.type"), L"None");
}

TEST_F(PageSelectionTest, DocumentHandlersAssignedFromScriptTakeEffect) {
    LoadMarkup(L"<body style='font:16px Arial'><p id=p>some words here</p><script>var seen = [];"
               L"document.onmousedown = function(){ seen.push('down ' + event.srcElement.id); };"
               L"document.oncontextmenu = function(){ seen.push('menu'); return false; };"
               L"document.onselectstart = function(){ seen.push('select'); return false; };</script></body>");
    Drag(At(L"p", 0), At(L"p", 10));
    EXPECT_EQ(Eval(L"document.selection.type"), L"None");
    POINT screen = At(L"p", 3);
    ClientToScreen(box_->RenderingWindow(), &screen);
    SendMessageW(box_->RenderingWindow(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(box_->RenderingWindow()),
                 MAKELPARAM(screen.x, screen.y));
    EXPECT_EQ(Eval(L"seen.join()"), L"select,down p,menu");
    EXPECT_EQ(Eval(L"typeof document.onselectstart"), L"function");

    Eval(L"document.onselectstart = null");
    Drag(At(L"p", 0), At(L"p", 4));
    EXPECT_EQ(Selected(), L"some");
}

TEST_F(PageSelectionTest, PageFunctionsShadowTheWindowsDialogs) {
    int dialogs = 0;
    box_->SetDialogHandler([&](const DialogRequest&) {
        ++dialogs;
        return DialogAnswer{};
    });
    LoadMarkup(L"<body><script>function ask(){ alert('a'); confirm('b'); return prompt('c'); }</script></body>");
    Eval(L"ask()");
    EXPECT_EQ(dialogs, 3);
    box_->ExecScript(L"function alert(){return;}", L"JScript");
    box_->ExecScript(L"function confirm(){return;}", L"JScript");
    box_->ExecScript(L"function prompt(){return 'mine';}", L"JScript");
    EXPECT_EQ(Eval(L"ask()"), L"mine");
    EXPECT_EQ(dialogs, 3);
    // The window's own stay reachable through the window.
    Eval(L"window.alert('x')");
    EXPECT_EQ(dialogs, 4);
}

TEST_F(PageSelectionTest, WritingAfterTheLoadShowsAtOnce) {
    LoadMarkup(L"<body><p>loaded</p></body>");
    Eval(L"document.write('<p id=w>written</p>')");
    EXPECT_EQ(Eval(L"document.body.innerText"), L"written");
    Eval(L"document.write('<p>and more</p>')");
    EXPECT_EQ(Eval(L"document.getElementsByTagName('p').length"), L"2");
    Eval(L"document.close()");
    EXPECT_EQ(Eval(L"document.getElementById('w').innerText"), L"written");
}

TEST_F(PageSelectionTest, LocationReadsAsTextAndFramesAreCounted) {
    Serve("/inner", "<html><body>inner</body></html>");
    Serve("/", "<html><body><iframe name=a src=/inner></iframe><iframe name=b src=/inner></iframe></body></html>");
    ASSERT_GT(server_.Start(), 0);
    Load(Url("/"));
    ASSERT_TRUE(corvalin::testing::PumpUntil([&] { return Eval(L"frames.length") == L"2"; }));
    const ComPtr<IDispatch> document = Document();
    EXPECT_EQ(GetText(document.Get(), L"location"), Url("/"));
    const ComPtr<IDispatch> window = GetObject(document.Get(), L"parentWindow");
    EXPECT_EQ(GetText(window.Get(), L"length"), L"2");
    const ComPtr<IDispatch> frames = GetObject(window.Get(), L"frames");
    EXPECT_EQ(GetText(frames.Get(), L"length"), L"2");
    const ComPtr<IDispatch> second = CallObject(frames.Get(), L"item", {NumberArg(1)});
    ASSERT_TRUE(second);
    EXPECT_EQ(GetText(GetObject(second.Get(), L"document").Get(), L"location"), Url("/inner"));
    EXPECT_EQ(GetText(GetObject(document.Get(), L"frames").Get(), L"length"), L"2");
}

}  // namespace
}  // namespace corvalin::browser::testing
