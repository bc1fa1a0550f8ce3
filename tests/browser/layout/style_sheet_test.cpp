// Style sheets as pages of that era write them: media blocks, comment
// wrappers, at-rules and selectors the engine does not know among the ones
// it does, and the cascade's order between them.
#include "browser/layout/computed_style.h"

#include <gtest/gtest.h>

#include "browser/html/html_parser.h"
#include "browser/layout/geometry.h"

namespace corvalin::browser::layout {
namespace {

COLORREF ColorOf(dom::Document& d, const wchar_t* id) {
    dom::Element* e = d.GetElementById(id);
    EXPECT_NE(e, nullptr) << id;
    const ComputedStyle* s = e ? CurrentStyleOf(*e) : nullptr;
    return s ? s->color : CLR_INVALID;
}

dom::Ref<dom::Document> Parse(std::wstring_view sheet, std::wstring_view body) {
    return html::ParseDocument(L"<style>" + std::wstring(sheet) + L"</style>" + std::wstring(body), L"http://h/a.html");
}

TEST(StyleSheetTest, MediaBlocksForTheScreenApplyAndOthersDoNot) {
    auto d = Parse(LR"(
        @media screen { #a { color: #010101 } }
        @media print { #b { color: #020202 } }
        @media PRINT, Screen { #c { color: #030303 } .x { color: #040404 } }
        @media all { @media print { #e { color: #050505 } } #e { color: #060606 } }
        @import url(other.css);
        @font-face { font-family: f; src: url(f.eot) }
        #f { color: #070707 }
        @media handheld { #f { color: #080808 } }
        @page { margin: 1cm }
        #g { color: #090909 })",
                   L"<p id=a>a<p id=b>b<p id=c>c<p id=d class=x>d<p id=e>e<p id=f>f<p id=g>g");
    EXPECT_EQ(ColorOf(*d, L"a"), RGB(1, 1, 1));
    EXPECT_EQ(ColorOf(*d, L"b"), RGB(0, 0, 0));
    EXPECT_EQ(ColorOf(*d, L"c"), RGB(3, 3, 3));
    EXPECT_EQ(ColorOf(*d, L"d"), RGB(4, 4, 4));
    EXPECT_EQ(ColorOf(*d, L"e"), RGB(6, 6, 6));
    EXPECT_EQ(ColorOf(*d, L"f"), RGB(7, 7, 7));
    EXPECT_EQ(ColorOf(*d, L"g"), RGB(9, 9, 9));
}

TEST(StyleSheetTest, ARuleWithASelectorNotUnderstoodIsDroppedWholeAndTheRestStay) {
    auto d = Parse(LR"(<!--
        #a, #a:first-line { color: #010101 }
        #b { color: #020202 }
        div + #c { color: #030303 }
        /* a comment { with braces } */ #c { color: #040404 /* inside */ }
        } #d { color: #050505 }
        #e::after, [title] { color: #060606 }
        #e { color: #070707; }
    -->)",
                   L"<p id=a>a<p id=b>b<p id=c>c<p id=d>d<p id=e title=t>e");
    EXPECT_EQ(ColorOf(*d, L"a"), RGB(0, 0, 0));
    EXPECT_EQ(ColorOf(*d, L"b"), RGB(2, 2, 2));
    EXPECT_EQ(ColorOf(*d, L"c"), RGB(4, 4, 4));
    EXPECT_EQ(ColorOf(*d, L"d"), RGB(5, 5, 5));
    EXPECT_EQ(ColorOf(*d, L"e"), RGB(7, 7, 7));
}

TEST(StyleSheetTest, SpecificityThenOrderThenImportanceDecide) {
    auto d = Parse(LR"(
        div span.x { color: #010101 }
        span.x { color: #020202 }
        .x.y { color: #030303 }
        span.y { color: #040404 }
        #i1 { color: #050505 }
        *.w { color: #0a0a0a }
        p { color: #060606 ! important }
        p.z { color: #070707 !IMPORTANT }
        #f { color: #080808 !important }
        p { color: #0b0b0b })",
                   L"<div><span id=a class=x>a</span></div><span id=b class=x>b</span><span id=c class='y  x'>c</span>"
                   L"<span id=i1 class=x>d</span><span id=g class=w>g</span><span id=h class=\"a\tw\">h</span>"
                   L"<p id=p>p<p id=e class=z>e<p id=f style='color:#090909 !important'>f<p id=q style='color:#0c0c0c'>q");
    struct Case { const wchar_t* id; COLORREF color; } cases[] = {
        {L"a", RGB(1, 1, 1)},      // a descendant selector adds its tag
        {L"b", RGB(2, 2, 2)},
        {L"c", RGB(3, 3, 3)},      // two classes beat a tag and a class, whatever the order
        {L"i1", RGB(5, 5, 5)},
        {L"g", RGB(10, 10, 10)},
        {L"h", RGB(10, 10, 10)},   // class names split at any white space
        {L"p", RGB(6, 6, 6)},      // an important rule beats a later normal one
        {L"e", RGB(7, 7, 7)},      // between important rules, specificity counts
        {L"f", RGB(9, 9, 9)},      // an important inline style beats an important rule
        {L"q", RGB(6, 6, 6)},      // an important rule beats a normal inline style
    };
    for (const auto& c : cases) EXPECT_EQ(ColorOf(*d, c.id), c.color) << c.id;
}

}  // namespace
}  // namespace corvalin::browser::layout
