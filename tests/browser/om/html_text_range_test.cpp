// Text ranges as the toolkit's highlighting and selection operations use them.
#include <gtest/gtest.h>

#include "browser/dom/text_range.h"
#include "browser/html/html_markup.h"
#include "browser/html/html_parser.h"
#include "browser/om/dispatch_object.h"
#include "browser/om/node_objects.h"
#include "browser/om/late_bound.h"

using namespace corvalin::browser;
using namespace corvalin::testing;

namespace {

struct Page {
    explicit Page(const wchar_t* markup)
        : document(html::ParseDocument(markup, L"http://h/")), object(om::DocumentObject(*document)) {}
    ComPtr<IDispatch> Body() { return GetObj(object.Get(), L"body"); }
    dom::Ref<dom::Document> document;
    ComPtr<IDispatch> object;
};

}  // namespace

TEST(HtmlTextRangeTest, HighlightWrapsEveryOccurrenceOnce) {
    std::size_t nodes = dom::Node::LiveCount();
    std::size_t objects = om::DispatchObject::LiveCount();
    {
        Page page(L"<body><p>QQ online. qq <i>again</i> and QQ</p><script>var QQ;</script></body>");
        auto range = CallObj(page.Body().Get(), L"createTextRange");
        ASSERT_TRUE(range);
        int found = 0;
        while (Call(range.Get(), L"findText", {Var(L"QQ")}).Text() == L"-1" && found < 10) {
            std::wstring text = Get(range.Get(), L"text").Text();
            Call(range.Get(), L"pasteHTML", {Var(L"<B style='COLOR: #ff0000'>" + text + L"</B>")});
            Call(range.Get(), L"moveStart", {Var(L"character"), Var(1)});
            ++found;
        }
        EXPECT_EQ(found, 3);
        EXPECT_EQ(html::InnerHtml(*page.document->GetElementsByTagName(L"p").Item(0)),
                  L"<B style=\"COLOR: #ff0000\">QQ</B> online. <B style=\"COLOR: #ff0000\">qq</B> <I>again</I> and "
                  L"<B style=\"COLOR: #ff0000\">QQ</B>");
        // Script text is never searched.
        EXPECT_EQ(page.document->Scripts().Item(0)->TextContent(), L"var QQ;");
    }
    EXPECT_EQ(dom::Node::LiveCount(), nodes);
    EXPECT_EQ(om::DispatchObject::LiveCount(), objects);
}

TEST(HtmlTextRangeTest, SelectionIsEmptyUntilARangeIsSelected) {
    Page page(L"<body><span id=s>pick me</span> rest</body>");
    auto selection = GetObj(page.object.Get(), L"selection");
    EXPECT_EQ(Get(selection.Get(), L"type").Text(), L"None");
    auto none = CallObj(selection.Get(), L"createRange");
    ASSERT_TRUE(none);
    EXPECT_EQ(Get(none.Get(), L"text").Text(), L"");
    EXPECT_EQ(Get(none.Get(), L"htmlText").Text(), L"");

    auto range = CallObj(page.Body().Get(), L"createTextRange");
    Call(range.Get(), L"moveToElementText", {Var::Object(CallObj(page.object.Get(), L"getElementById", {Var(L"s")}).Get())});
    EXPECT_EQ(Get(range.Get(), L"text").Text(), L"pick me");
    Call(range.Get(), L"select");
    EXPECT_EQ(Get(selection.Get(), L"type").Text(), L"Text");
    auto selected = CallObj(selection.Get(), L"createRange");
    EXPECT_EQ(Get(selected.Get(), L"text").Text(), L"pick me");
    // Pasting at the selection replaces it.
    Call(selected.Get(), L"pasteHTML", {Var(L"<u>new</u>")});
    EXPECT_EQ(html::InnerHtml(*page.document->Body()), L"<SPAN id=s><U>new</U></SPAN> rest");
    Call(selection.Get(), L"empty");
    EXPECT_EQ(Get(selection.Get(), L"type").Text(), L"None");
}

TEST(HtmlTextRangeTest, EndsMoveByCharactersWithinTheScope) {
    Page page(L"<body>abc<b>def</b>ghi</body>");
    dom::TextRange range(*page.document->Body());
    EXPECT_EQ(range.Text(), L"abcdefghi");
    EXPECT_EQ(range.MoveStart(2), 2);
    EXPECT_EQ(range.MoveEnd(-3), -3);
    EXPECT_EQ(range.Text(), L"cdef");
    EXPECT_EQ(range.MoveStart(100), 7);   // clamped at the end, dragging the end along
    EXPECT_TRUE(range.Collapsed());
    range.SelectAll();
    EXPECT_TRUE(range.Find(L"EFG"));
    EXPECT_EQ(range.Text(), L"efg");
    EXPECT_EQ(range.ParentElement()->LocalName(), L"b");
    range.SetText(L"<x>");
    EXPECT_EQ(html::InnerHtml(*page.document->Body()), L"abc<B>d&lt;x&gt;</B>hi");
    EXPECT_FALSE(range.Find(L"zzz"));
}
