// Text ranges as the toolkit's highlighting and selection operations use them.
#include <gtest/gtest.h>

#include "browser/dom/text_range.h"
#include "browser/html/html_markup.h"
#include "browser/html/html_parser.h"
#include "browser/html/text_range_markup.h"
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

TEST(HtmlTextRangeTest, UnitsMoveByWordsSentencesAndTheWholeText) {
    Page page(L"<body>One two, three. Four <b>five</b>! Six</body>");
    dom::TextRange range(*page.document->Body());
    range.Collapse(true);
    // A word takes the spaces after it; punctuation is a word of its own.
    EXPECT_EQ(range.MoveEnd(1, dom::TextUnit::Word), 1);
    EXPECT_EQ(range.Text(), L"One ");
    EXPECT_EQ(range.MoveEnd(2, dom::TextUnit::Word), 2);
    EXPECT_EQ(range.Text(), L"One two, ");
    EXPECT_EQ(range.MoveStart(1, dom::TextUnit::Sentence), 1);
    EXPECT_EQ(range.Text(), L"");   // the start passed the end and dragged it along
    EXPECT_EQ(range.MoveEnd(1, dom::TextUnit::Sentence), 1);
    EXPECT_EQ(range.Text(), L"Four five! ");
    EXPECT_EQ(range.Move(-1, dom::TextUnit::Word), -1);
    EXPECT_TRUE(range.Collapsed());
    EXPECT_EQ(range.MoveEnd(1, dom::TextUnit::Word), 1);
    EXPECT_EQ(range.Text(), L". ");
    EXPECT_EQ(range.MoveEnd(5, dom::TextUnit::TextEdit), 1);
    EXPECT_EQ(range.Text(), L". Four five! Six");
    EXPECT_EQ(range.MoveEnd(1, dom::TextUnit::Character), 0);
    EXPECT_EQ(range.MoveStart(-100, dom::TextUnit::Word), -4);

    // The units by name, through the object model.
    auto object = CallObj(page.Body().Get(), L"createTextRange");
    Call(object.Get(), L"collapse");
    EXPECT_EQ(Call(object.Get(), L"moveEnd", {Var(L"word"), Var(3)}).Text(), L"3");
    EXPECT_EQ(Get(object.Get(), L"text").Text(), L"One two, ");
    EXPECT_EQ(Call(object.Get(), L"moveStart", {Var(L"Character"), Var(-1)}).Text(), L"0");
    EXPECT_EQ(Call(object.Get(), L"moveEnd", {Var(L"paragraph"), Var(1)}).Text(), L"");   // refused
}

TEST(HtmlTextRangeTest, ExpandGrowsToWholeUnits) {
    Page page(L"<body>alpha beta gamma. Second one.</body>");
    dom::TextRange range(*page.document->Body());
    ASSERT_TRUE(range.Find(L"et"));
    EXPECT_TRUE(range.Expand(dom::TextUnit::Word));
    EXPECT_EQ(range.Text(), L"beta ");
    EXPECT_FALSE(range.Expand(dom::TextUnit::Word));
    EXPECT_TRUE(range.Expand(dom::TextUnit::Sentence));
    EXPECT_EQ(range.Text(), L"alpha beta gamma. ");
    range.Collapse(false);
    EXPECT_TRUE(range.Expand(dom::TextUnit::Character));
    EXPECT_EQ(range.Text(), L"S");
    EXPECT_TRUE(range.Expand(dom::TextUnit::TextEdit));
    EXPECT_EQ(range.Text(), L"alpha beta gamma. Second one.");

    auto object = CallObj(page.Body().Get(), L"createTextRange");
    Call(object.Get(), L"findText", {Var(L"mm")});
    EXPECT_EQ(Call(object.Get(), L"expand", {Var(L"word")}).Text(), L"-1");
    EXPECT_EQ(Get(object.Get(), L"text").Text(), L"gamma");
    // The word at a double click leaves the spaces out.
    range.SelectWordAt({range.ParentElement()->FirstChild(), 8});
    EXPECT_EQ(range.Text(), L"beta");
}

TEST(HtmlTextRangeTest, EndPointsCompareAndMoveBetweenRanges) {
    Page page(L"<body>first <i>second</i> third</body>");
    auto body = page.Body();
    auto a = CallObj(body.Get(), L"createTextRange");
    auto b = CallObj(body.Get(), L"createTextRange");
    Call(a.Get(), L"findText", {Var(L"second")});
    Call(b.Get(), L"findText", {Var(L"third")});
    const struct {
        const wchar_t* how;
        const wchar_t* answer;
    } comparisons[] = {{L"StartToStart", L"-1"}, {L"EndToStart", L"-1"}, {L"endtoend", L"-1"}, {L"StartToEnd", L"-1"}};
    for (const auto& c : comparisons)
        EXPECT_EQ(Call(a.Get(), L"compareEndPoints", {Var(c.how), Var::Object(b.Get())}).Text(), c.answer) << c.how;
    EXPECT_EQ(Call(b.Get(), L"compareEndPoints", {Var(L"StartToEnd"), Var::Object(a.Get())}).Text(), L"1");
    EXPECT_EQ(Call(a.Get(), L"compareEndPoints", {Var(L"StartToStart"), Var::Object(a.Get())}).Text(), L"0");
    EXPECT_EQ(Call(a.Get(), L"compareEndPoints", {Var(L"Sideways"), Var::Object(b.Get())}).Text(), L"");

    Call(a.Get(), L"setEndPoint", {Var(L"EndToEnd"), Var::Object(b.Get())});
    EXPECT_EQ(Get(a.Get(), L"text").Text(), L"second third");
    // A start moved past the end takes the end with it.
    Call(b.Get(), L"setEndPoint", {Var(L"StartToEnd"), Var::Object(b.Get())});
    EXPECT_EQ(Get(b.Get(), L"text").Text(), L"");
    Call(a.Get(), L"setEndPoint", {Var(L"StartToStart"), Var::Object(b.Get())});
    EXPECT_EQ(Get(a.Get(), L"text").Text(), L"");
}

TEST(HtmlTextRangeTest, HtmlTextCarriesTheMarkupOfTheElementsItCrosses) {
    Page page(L"<body><p id=p>one <b>two <i>three</i></b> four &amp; <u>five</u></p></body>");
    dom::TextRange range(*page.document->Body());
    ASSERT_TRUE(range.Find(L"two three four"));
    // Elements cut by the range keep their tags; elements it misses are left out.
    EXPECT_EQ(html::RangeHtml(range), L"<B>two <I>three</I></B> four");
    range.MoveEnd(3);
    EXPECT_EQ(html::RangeHtml(range), L"<B>two <I>three</I></B> four &amp; ");
    ASSERT_TRUE(range.Find(L"hre"));
    EXPECT_EQ(html::RangeHtml(range), L"hre");
    range.Collapse(true);
    EXPECT_EQ(html::RangeHtml(range), L"");
}
