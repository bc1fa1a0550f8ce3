// Loopback server first: its socket header must come before windows.h.
#include "browser/engine/page_fixture.h"

#include <windows.h>
#include <oleacc.h>

#include <string>

#include "browser/dom/node.h"
#include "browser/om/dispatch_object.h"
#include "base/text.h"
#include "support/message_pump.h"

namespace corvalin::browser::testing {
namespace {

using PageObjectModelTest = PageTest;

constexpr IID kIHTMLDocument = {0x626fc520, 0xa41e, 0x11cf, {0xa7, 0x31, 0x00, 0xa0, 0xc9, 0x08, 0x26, 0x37}};

// Depth-first in FindWindowExA order, as the automation layer searches.
HWND FindServer(HWND parent) {
    for (HWND child = FindWindowExA(parent, nullptr, nullptr, nullptr); child;
         child = FindWindowExA(parent, child, nullptr, nullptr)) {
        char name[50] = {};
        GetClassNameA(child, name, sizeof name);
        if (std::string(name) == "Internet Explorer_Server") return child;
        if (HWND found = FindServer(child)) return found;
    }
    return nullptr;
}

ComPtr<IDispatch> DocumentFromWindow(HWND parent) {
    HWND server = FindServer(parent);
    if (!server) return nullptr;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(server, RegisterWindowMessageA("WM_HTML_GETOBJECT"), 0, 0, SMTO_ABORTIFHUNG, 1000, &result))
        return nullptr;
    ComPtr<IDispatch> document;
    if (FAILED(ObjectFromLresult(static_cast<LRESULT>(result), kIHTMLDocument, 0,
                                 reinterpret_cast<void**>(document.GetAddressOf()))))
        return nullptr;
    return document;
}

TEST_F(PageObjectModelTest, TheDocumentIsReachedThroughTheRenderingWindow) {
    Serve("/", "<form><input name=userqq value=10001><input type=checkbox name=c checked><input type=checkbox name=d></form>");
    ASSERT_GT(server_.Start(), 0);
    CreateBox(server_.Url("/"));   // the box loads its window text when it is created
    ASSERT_TRUE(box_->WaitForLoad());
    // The parent that the client passes holds the box, which holds the view, which holds the server.
    ComPtr<IDispatch> document = DocumentFromWindow(parent_);
    ASSERT_TRUE(document);
    // The same object: its IUnknown identity.
    ComPtr<IUnknown> answered, held;
    document.As(&answered);
    box_->Document().As(&held);
    EXPECT_EQ(answered.Get(), held.Get());
    ComPtr<IDispatch> inputs = CallObject(GetObject(GetObject(document.Get(), L"body").Get(), L"all").Get(), L"tags", {TextArg(L"input")});
    ComPtr<IDispatch> first = CallObject(inputs.Get(), L"item", {NumberArg(0)});
    EXPECT_EQ(GetText(first.Get(), L"value"), L"10001");
    EXPECT_TRUE(PutText(first.Get(), L"VALUE", L"20002"));   // names match in any case
    EXPECT_EQ(GetText(first.Get(), L"value"), L"20002");
    EXPECT_EQ(GetText(CallObject(inputs.Get(), L"item", {NumberArg(1)}).Get(), L"checked"), L"-1");
    EXPECT_EQ(GetText(CallObject(inputs.Get(), L"item", {NumberArg(2)}).Get(), L"checked"), L"0");
}

TEST_F(PageObjectModelTest, EveryNavigationReplacesTheDocument) {
    CreateBox();
    LoadMarkup(L"<span id=s>first</span>");
    ComPtr<IDispatch> first = DocumentFromWindow(parent_);
    LoadMarkup(L"<span id=s>second</span>");
    ComPtr<IDispatch> second = DocumentFromWindow(parent_);
    ASSERT_TRUE(first && second);
    EXPECT_NE(first.Get(), second.Get());
    EXPECT_EQ(GetText(ElementById(L"s").Get(), L"innerText"), L"second");
    // The stale document stays readable for whoever still holds it.
    ComPtr<IDispatch> stale = CallObject(first.Get(), L"getElementById", {TextArg(L"s")});
    EXPECT_EQ(GetText(stale.Get(), L"innerText"), L"first");
}

TEST_F(PageObjectModelTest, ReleasedDocumentsFreeTheirMemory) {
    CreateBox();
    LoadMarkup(L"<p>settle</p>");
    corvalin::testing::PumpMessagesFor(50);
    const std::size_t nodesBefore = dom::Node::LiveCount();
    const std::size_t objectsBefore = om::DispatchObject::LiveCount();
    {
        std::wstring markup = L"<div id=root>";
        for (int i = 0; i < 500; ++i) markup += L"<span class=c onclick='this.x=1'>" + std::to_wstring(i) + L"</span>";
        markup += L"</div><script>var keep = document.getElementById('root'); keep.expando = keep.children;"
                  L" setInterval(function(){ keep.title = new Date(); }, 10);</script>";
        LoadMarkup(markup);
        ComPtr<IDispatch> document = DocumentFromWindow(parent_);
        ComPtr<IDispatch> spans = CallObject(document.Get(), L"getElementsByTagName", {TextArg(L"span")});
        ComPtr<IDispatch> span = CallObject(spans.Get(), L"item", {NumberArg(7)});
        CallMethod(span.Get(), L"click");
        EXPECT_EQ(GetText(span.Get(), L"innerText"), L"7");
        EXPECT_GT(dom::Node::LiveCount(), nodesBefore + 500);
        LoadMarkup(L"<p>settle</p>");
    }
    corvalin::testing::PumpMessagesFor(100);
    EXPECT_LE(dom::Node::LiveCount(), nodesBefore + 2);
    EXPECT_LE(om::DispatchObject::LiveCount(), objectsBefore + 2);
}

TEST_F(PageObjectModelTest, ClickingTheRenderedPageClicksTheElementUnderTheMouse) {
    ShowWindow(parent_, SW_SHOWNOACTIVATE);   // drawn only when shown
    LoadMarkup(L"<input type=button id=b value='Press here' onclick=\"this.value='pressed'\">");
    HWND server = FindServer(parent_);
    ASSERT_TRUE(server);
    // The button sits at the top left of the page, inside the body's margin (10 by 15).
    SendMessageA(server, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(14, 20));
    SendMessageA(server, WM_LBUTTONUP, 0, MAKELPARAM(14, 20));
    EXPECT_EQ(GetText(ElementById(L"b").Get(), L"value"), L"pressed");
    // And it is drawn: the rendering window shows dark text on a light button.
    UpdateWindow(server);
    HDC dc = GetDC(server);
    int dark = 0;
    for (int x = 8; x < 80; ++x)
        for (int y = 8; y < 28; ++y)
            if (GetRValue(GetPixel(dc, x, y)) < 80) ++dark;
    ReleaseDC(server, dc);
    EXPECT_GT(dark, 10);
}

}  // namespace
}  // namespace corvalin::browser::testing
