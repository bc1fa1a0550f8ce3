#include "browser/layout/computed_style.h"

#include <gtest/gtest.h>

#include "browser/html/html_parser.h"
#include "browser/layout/geometry.h"

namespace corvalin::browser::layout {
namespace {

dom::Ref<dom::Document> Parse(std::wstring_view markup) { return html::ParseDocument(markup, L"http://h/a/b.html"); }

const ComputedStyle& StyleOf(dom::Document& d, const wchar_t* id) {
    const ComputedStyle* s = CurrentStyleOf(*d.GetElementById(id));
    EXPECT_NE(s, nullptr) << id;
    static const ComputedStyle none;
    return s ? *s : none;
}

TEST(StyleCascadeTest, SpecificityOrderImportanceAndInlineStyle) {
    auto d = Parse(LR"(<style>
        p { color: #ff0000 }
        .note { color: #00ff00 }
        p.note { color: #0000ff }
        #lead { color: #010101 }
        .weak { color: #020202 !important }
        div > p { font-weight: bold }
        div em { font-style: normal }
        h1, .also { text-decoration: underline }
        p { color: #030303 }
    </style>
    <p id=tag>a</p><p id=cls class=note>b</p><span id=spanned class=note>c</span>
    <p id=lead class=note>d</p><p id=inline class=note style="color:#040404">e</p>
    <p id=important class="weak" style="color:#050505">f</p>
    <div><p id=child>g</p><span><p id=grandchild>h</p></span></div>
    <div><em id=em>i</em></div><span id=also class=also>j</span>)");
    // The later rule of equal weight wins; a class beats a tag; tag+class beats a class.
    EXPECT_EQ(StyleOf(*d, L"tag").color, RGB(3, 3, 3));
    EXPECT_EQ(StyleOf(*d, L"cls").color, RGB(0, 0, 255));
    EXPECT_EQ(StyleOf(*d, L"spanned").color, RGB(0, 255, 0));
    EXPECT_EQ(StyleOf(*d, L"lead").color, RGB(1, 1, 1));
    // Inline style beats every rule, except an important one.
    EXPECT_EQ(StyleOf(*d, L"inline").color, RGB(4, 4, 4));
    EXPECT_EQ(StyleOf(*d, L"important").color, RGB(2, 2, 2));
    // Child and descendant combinators, comma lists.
    EXPECT_EQ(StyleOf(*d, L"child").fontWeight, 700);
    EXPECT_EQ(StyleOf(*d, L"grandchild").fontWeight, 400);
    EXPECT_FALSE(StyleOf(*d, L"em").italic);
    EXPECT_TRUE(StyleOf(*d, L"also").underline);
}

// Within one declaration block a later declaration of the same property does
// not undo an earlier !important one, in a rule or in a style attribute.
TEST(StyleCascadeTest, ImportantHoldsAgainstLaterDeclarationsOfItsBlock) {
    auto d = Parse(LR"(<style>
        #rule { color: #ff0000 !important; color: #0000ff; font-weight: bold ! IMPORTANT; font-weight: normal }
        #both { color: #ff0000 !important; color: #00ff00 !important }
        #plain { color: #ff0000; color: #0000ff }
    </style>
    <p id=rule>a</p><p id=both>b</p><p id=plain>c</p>
    <p id=inline style="color: #ff0000 !important; color: #0000ff; margin-left: 7px !important; margin-left: 1px">d</p>
    <p id=later style="color: #ff0000; color: #0000ff !important">e</p>)");
    EXPECT_EQ(StyleOf(*d, L"rule").color, RGB(255, 0, 0));
    EXPECT_EQ(StyleOf(*d, L"rule").fontWeight, 700);
    EXPECT_EQ(StyleOf(*d, L"both").color, RGB(0, 255, 0));
    EXPECT_EQ(StyleOf(*d, L"plain").color, RGB(0, 0, 255));
    EXPECT_EQ(StyleOf(*d, L"inline").color, RGB(255, 0, 0));
    EXPECT_EQ(StyleOf(*d, L"inline").margin[3].Resolve(0), 7);
    EXPECT_EQ(StyleOf(*d, L"later").color, RGB(0, 0, 255));
}

TEST(StyleCascadeTest, InheritanceDefaultsAndPresentationalAttributes) {
    auto d = Parse(LR"(<body style="font-size:20px; color:#123456; background-color:#eeeeee">
        <div id=d>x <span id=s>y</span></div><font id=f color=red size=5 face=Arial>z</font>
        <table id=t bgcolor="#00ff00" cellpadding=6><tr><td id=td>c</td></tr></table>
        <p id=p style="margin: 4px 8px; border: 2px solid black; font: italic bold 10px/20px Courier New">p</p>
        <div id=zoomed style="zoom: 150%"><div id=inner style="width:100px; font-size:10px">w</div></div></body>)");
    const ComputedStyle& span = StyleOf(*d, L"s");
    EXPECT_EQ(span.color, RGB(0x12, 0x34, 0x56));   // text properties inherit
    EXPECT_EQ(span.fontSize, 20);
    EXPECT_EQ(span.background, kTransparent);       // backgrounds do not
    EXPECT_EQ(span.display, Display::Inline);
    EXPECT_EQ(StyleOf(*d, L"d").display, Display::Block);
    EXPECT_EQ(StyleOf(*d, L"f").color, RGB(255, 0, 0));
    EXPECT_EQ(StyleOf(*d, L"f").fontSize, 24);
    EXPECT_EQ(StyleOf(*d, L"f").fontFamily, L"Arial");
    EXPECT_EQ(StyleOf(*d, L"t").background, RGB(0, 255, 0));
    EXPECT_EQ(StyleOf(*d, L"td").padding[1], 6);
    const ComputedStyle& p = StyleOf(*d, L"p");
    EXPECT_EQ(p.margin[0].Resolve(0), 4);
    EXPECT_EQ(p.margin[1].Resolve(0), 8);
    EXPECT_EQ(p.borderWidth[2], 2);
    EXPECT_TRUE(p.italic);
    EXPECT_EQ(p.fontWeight, 700);
    EXPECT_EQ(p.fontSize, 10);
    EXPECT_EQ(p.lineHeight, 20);
    EXPECT_EQ(p.fontFamily, L"Courier New");
    // Zoom multiplies down the tree and scales every length.
    const ComputedStyle& inner = StyleOf(*d, L"inner");
    EXPECT_FLOAT_EQ(inner.zoom, 1.5f);
    EXPECT_EQ(inner.width.Resolve(0), 150);
    EXPECT_EQ(inner.fontSize, 15);
}

TEST(StyleCascadeTest, ScriptMadeSheetsAndUnknownSyntax) {
    auto d = Parse(LR"(<style>
        @media print { div { color: red } }
        div[title] { color: #ff0000 }
        div { color: #00ff00 /* comment */ }
        garbage {{ color }
    </style><div id=d>x</div>)");
    // The attribute selector is not understood: that rule drops, the others stand.
    EXPECT_EQ(StyleOf(*d, L"d").color, RGB(0, 255, 0));
    // A sheet added later (as createStyleSheet does) joins the cascade.
    dom::Ref<dom::Element> style = d->CreateElement(L"style");
    style->AppendChild(d->CreateTextNode(L"#d { color: #0000ff }"));
    d->Head()->AppendChild(style);
    EXPECT_EQ(StyleOf(*d, L"d").color, RGB(0, 0, 255));
}

TEST(StyleCascadeTest, ColoursAsPagesWriteThem) {
    const struct {
        const wchar_t* text;
        std::optional<COLORREF> color;
    } cases[] = {
        {L"#fff", RGB(255, 255, 255)}, {L"#102030", RGB(0x10, 0x20, 0x30)}, {L"102030", RGB(0x10, 0x20, 0x30)},
        {L"rgb(1, 2, 3)", RGB(1, 2, 3)}, {L"Red", RGB(255, 0, 0)}, {L"rgb(100%,0%,0%)", RGB(255, 0, 0)},
        {L"nonsense", std::nullopt}, {L"", std::nullopt}, {L"#12", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseColor(c.text), c.color) << c.text;
}

}  // namespace
}  // namespace corvalin::browser::layout
