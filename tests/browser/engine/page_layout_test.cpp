#include "browser/box/page_layout.h"

#include <gtest/gtest.h>

#include "base/unique.h"
#include "browser/html/html_parser.h"

namespace corvalin::browser {
namespace {

class PageLayoutTest : public ::testing::Test {
protected:
    std::vector<LaidOutItem> LayOut(const wchar_t* markup, int width = 300) {
        document = html::ParseDocument(markup, L"http://127.0.0.1/");
        return LayOutDocument(dc.get(), *document, width);
    }
    UniqueMemoryDc dc{CreateCompatibleDC(nullptr)};
    SelectScope font{dc.get(), GetStockObject(DEFAULT_GUI_FONT)};
    dom::Ref<dom::Document> document;
};

TEST_F(PageLayoutTest, ShowsTextAndControlsButNothingHidden) {
    const auto items = LayOut(LR"(<title>not shown</title><style>p{}</style><p>Hello world</p>
<input name=a value=typed><input type=hidden name=h value=secret><input type=password value=abc>
<div style="display:none">gone</div><input type=checkbox checked><select><option>one<option selected>two</select>)");
    std::wstring text;
    std::vector<std::wstring> controls;
    for (const auto& item : items) {
        if (item.kind == LaidOutItem::Kind::Text) text += item.text;
        if (item.kind == LaidOutItem::Kind::Control) controls.push_back(item.type + L"=" + item.text + (item.checked ? L"*" : L""));
    }
    EXPECT_EQ(text.find(L"not shown"), std::wstring::npos);
    EXPECT_EQ(text.find(L"gone"), std::wstring::npos);
    EXPECT_NE(text.find(L"Hello world"), std::wstring::npos);
    EXPECT_EQ(controls, (std::vector<std::wstring>{L"text=typed", L"password=***", L"checkbox=*", L"select-one=two"}));
}

TEST_F(PageLayoutTest, TextWrapsAtTheWidthAndBlocksStartNewLines) {
    std::wstring markup = L"<div>";
    for (int i = 0; i < 40; ++i) markup += L"word ";
    markup += L"</div><div id=next>next</div>";
    const auto items = LayOut(markup.c_str(), 200);
    LONG right = 0, lastTop = 0;
    for (const auto& item : items) {
        right = std::max(right, item.bounds.right);
        if (item.text.rfind(L"word", 0) == 0) lastTop = item.bounds.top;
    }
    EXPECT_LE(right, 200);
    ASSERT_FALSE(items.empty());
    EXPECT_GT(lastTop, items.front().bounds.top);   // more than one line
    EXPECT_EQ(items.back().text, L"next");
    EXPECT_GT(items.back().bounds.top, lastTop);
    EXPECT_EQ(items.back().bounds.left, items.front().bounds.left);
}

TEST_F(PageLayoutTest, FindsTheElementUnderAPoint) {
    const auto items = LayOut(L"<a id=l href=next>link text</a><br><img id=i width=40 height=30 alt=pic>");
    ASSERT_GE(items.size(), 2u);
    const RECT link = items.front().bounds;
    dom::Element* hit = ElementAt(items, POINT{link.left + 2, link.top + 2});
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(hit->Id(), L"l");
    const RECT image = items.back().bounds;
    EXPECT_EQ(image.right - image.left, 40);
    EXPECT_EQ(ElementAt(items, POINT{image.left + 20, image.top + 15})->Id(), L"i");
    EXPECT_EQ(ElementAt(items, POINT{290, 400}), nullptr);
}

}  // namespace
}  // namespace corvalin::browser

namespace corvalin::browser {
namespace {

TEST_F(PageLayoutTest, DeepOrHugePagesLayOutOnlyWhatCanBeSeen) {
    std::wstring deep;
    for (int i = 0; i < 5000; ++i) deep += L"<span>";
    deep += L"bottom";
    EXPECT_NO_FATAL_FAILURE(LayOut(deep.c_str()));
    std::wstring huge = L"<p>" + std::wstring(2000000, L'x') + L"</p><p>after</p>";
    const auto items = LayOut(huge.c_str(), 300);
    const auto limited = LayOutDocument(dc.get(), *document, 300, 100);
    EXPECT_LT(limited.size(), items.size());
    for (const auto& item : limited) EXPECT_LT(item.bounds.top, 100);
    for (const auto& item : items) EXPECT_LE(item.text.size(), 512u);
}

}  // namespace
}  // namespace corvalin::browser
