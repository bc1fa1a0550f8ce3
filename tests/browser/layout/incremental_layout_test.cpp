// A change lays out again only what it touched: the result must be the very
// geometry a layout from nothing gives the same tree.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "browser/html/html_markup.h"
#include "browser/html/html_parser.h"
#include "browser/layout/document_layout.h"
#include "browser/layout/geometry.h"

namespace corvalin::browser::layout {
namespace {

// Every element's offset box and client and scroll sizes, and every painted
// rectangle, in one comparable list.
struct Geometry {
    std::vector<std::wstring> lines;
};

Geometry Measure(dom::Document& doc) {
    Geometry g;
    for (dom::Node* n = doc.FirstChild(); n; n = n->NextInTree(&doc)) {
        dom::Element* e = n->AsElement();
        if (!e) continue;
        const OffsetBox o = OffsetOf(*e);
        wchar_t line[200];
        swprintf(line, 200, L"%ls#%ls offset %ld,%ld %ldx%ld parent %p client %ldx%ld scroll %ldx%ld", e->TagName().c_str(),
                 e->GetAttribute(L"id").c_str(), o.left, o.top, o.width, o.height, static_cast<void*>(o.offsetParent),
                 ClientWidth(*e), ClientHeight(*e), ScrollWidth(*e), ScrollHeight(*e));
        g.lines.push_back(line);
    }
    const DocumentLayout& layout = CurrentLayout(doc);
    for (const std::uint32_t i : layout.paintOrder) {
        const PaintItem& item = layout.items[i];
        wchar_t line[200];
        swprintf(line, 200, L"paint %d %ld,%ld %ldx%ld clip %d %ls", static_cast<int>(item.kind), item.rect.x, item.rect.y,
                 item.rect.width, item.rect.height, item.clip, item.text.c_str());
        g.lines.push_back(line);
    }
    wchar_t canvas[100];
    swprintf(canvas, 100, L"canvas %ldx%ld view %ldx%ld bars %d%d", layout.canvasWidth, layout.canvasHeight, layout.viewWidth,
             layout.viewHeight, layout.verticalBar, layout.horizontalBar);
    g.lines.push_back(canvas);
    return g;
}

class IncrementalLayoutTest : public ::testing::Test {
protected:
    void Parse(std::wstring_view markup) {
        doc = html::ParseDocument(markup, L"http://h/a/b.html");
        doc->SetViewSize(640, 480);
        CurrentLayout(*doc);
    }
    dom::Element& E(const wchar_t* id) {
        dom::Element* e = doc->GetElementById(id);
        EXPECT_NE(e, nullptr) << id;
        return *e;
    }
    // Geometry after the change, laid out in part, against a layout of everything.
    void ExpectSameAsFresh(const std::wstring& step) {
        const Geometry partial = Measure(*doc);
        doc->LayoutInputsChanged();   // forgets what it had
        const Geometry fresh = Measure(*doc);
        ASSERT_EQ(partial.lines.size(), fresh.lines.size()) << step;
        for (std::size_t i = 0; i < fresh.lines.size(); ++i) ASSERT_EQ(partial.lines[i], fresh.lines[i]) << step;
    }
    dom::Ref<dom::Document> doc;
};

const wchar_t kPage[] = LR"(<html><head><style>
    .wide { width: 420px } .red { color: red } .gone { display: none } .pad { padding: 9px; border: 2px solid blue }
    .big { font-size: 24px } .side { float: right; width: 80px; height: 50px } .scroller { overflow: auto; height: 60px }
    </style></head><body>
    <div id=top class=pad>Top <span id=s1>inline text that is long enough to wrap somewhere inside the box</span></div>
    <div id=floaty><div id=f1 class=side>float</div><p id=p1>beside the float, words words words words words</p></div>
    <ol id=list><li id=l1>one<li id=l2>two<li id=l3>three</ol>
    <ul><li id=u1>bullet<li id=u2>bullet two</ul>
    <table id=t border=1 cellpadding=2><tr><td id=c1>a</td><td id=c2>bb</td></tr>
      <tr><td id=c3 colspan=2>spanning <b id=bold>cell</b></td></tr></table>
    <div id=rel style="position:relative; left:4px; top:3px"><div id=abs style="position:absolute; left:10px; top:5px; width:30px">x</div>
      <p id=p2>in a relative box</p></div>
    <div id=box class=scroller><p id=p3>one</p><p id=p4>two</p><p id=p5>three</p><p id=p6>four</p></div>
    <div id=bottom><span id=ib style="display:inline-block; width:50px">blk</span> <img id=img width=20 height=10> end</div>
    <div id=free style="position:absolute; left:300px; top:20px">free</div>
    </body></html>)";

TEST_F(IncrementalLayoutTest, EveryKindOfChangeGivesTheGeometryOfAFreshLayout) {
    Parse(kPage);
    const DocumentLayout* kept = &CurrentLayout(*doc);
    std::vector<std::pair<std::wstring, std::function<void()>>> steps = {
        {L"class adds padding", [&] { E(L"p1").SetAttribute(L"class", L"pad"); }},
        {L"class only recolours", [&] { E(L"p2").SetAttribute(L"class", L"red"); }},
        {L"text grows", [&] { E(L"s1").FirstChild()->SetData(L"a much longer text, long enough to wrap over several lines of the box, and then some more words"); }},
        {L"text shrinks", [&] { E(L"l2").FirstChild()->SetData(L"2"); }},
        {L"style width", [&] { E(L"top").SetAttribute(L"style", L"width:200px"); }},
        {L"display none", [&] { E(L"floaty").SetAttribute(L"class", L"gone"); }},
        {L"display block again", [&] { E(L"floaty").RemoveAttribute(L"class"); }},
        {L"insert a block", [&] {
             dom::Ref<dom::Element> d = doc->CreateElement(L"div");
             d->SetAttribute(L"id", L"new1");
             html::SetInnerHtml(*d, L"<p id=np>new <i>content</i></p><div class=side>f</div>");
             E(L"rel").ParentElement()->InsertBefore(d, &E(L"rel"));
         }},
        {L"insert a list item", [&] {
             dom::Ref<dom::Element> li = doc->CreateElement(L"li");
             li->AppendChild(doc->CreateTextNode(L"zero"));
             E(L"list").InsertBefore(li, &E(L"l1"));
         }},
        {L"remove a block", [&] { E(L"p4").ParentElement()->RemoveChild(&E(L"p4")); }},
        {L"remove a list item", [&] { E(L"list").RemoveChild(&E(L"l3")); }},
        {L"colspan", [&] { E(L"c3").SetAttribute(L"colspan", L"1"); }},
        {L"cell text", [&] { E(L"c1").FirstChild()->SetData(L"a wider cell now"); }},
        {L"font size in a cell", [&] { E(L"bold").SetAttribute(L"class", L"big"); }},
        {L"image size", [&] { E(L"img").SetAttribute(L"width", L"90"); }},
        {L"inline block width", [&] { E(L"ib").SetAttribute(L"style", L"display:inline-block; width:150px"); }},
        {L"scroller content", [&] { E(L"p5").FirstChild()->SetData(L"three, longer"); }},
        {L"positioned box moves", [&] { E(L"rel").SetAttribute(L"style", L"position:relative; left:40px; top:30px"); }},
        {L"float width", [&] { E(L"f1").SetAttribute(L"style", L"width:200px"); }},
        {L"start of the list", [&] { E(L"list").SetAttribute(L"start", L"7"); }},
        {L"move a block", [&] { E(L"bottom").AppendChild(&E(L"top")); }},
        {L"body class", [&] { doc->Body()->SetAttribute(L"class", L"big"); }},
        {L"many lines make the view scroll", [&] {
             std::wstring lines;
             for (int i = 0; i < 60; ++i) lines += L"<p>line</p>";
             html::SetInnerHtml(E(L"bottom"), lines);
         }},
        {L"and short again", [&] { html::SetInnerHtml(E(L"bottom"), L"<p>short</p>"); }},
    };
    int laidOutInPlace = 0;
    for (auto& [name, change] : steps) {
        change();
        laidOutInPlace += &CurrentLayout(*doc) == kept;
        ExpectSameAsFresh(name);
        if (HasFatalFailure()) return;
        kept = &CurrentLayout(*doc);
    }
    // Only the steps that add or take away the view's scroll bar start from nothing.
    EXPECT_GE(laidOutInPlace, static_cast<int>(steps.size()) - 2);
}

TEST_F(IncrementalLayoutTest, AColourChangeRepaintsWithoutLayingOut) {
    Parse(kPage);
    const DocumentLayout& before = CurrentLayout(*doc);
    const std::uint64_t passes = before.passes;
    E(L"p2").SetAttribute(L"class", L"red");
    doc->Body()->SetAttribute(L"style", L"background-color:#00ff00");
    const DocumentLayout& after = CurrentLayout(*doc);
    EXPECT_EQ(&after, &before);
    EXPECT_EQ(after.passes, passes);
    EXPECT_EQ(CurrentStyleOf(E(L"p2"))->color, RGB(255, 0, 0));
    EXPECT_EQ(after.canvasBackground, RGB(0, 255, 0));
    // What paints the paragraph's text paints it red.
    bool red = false;
    for (const PaintItem& item : after.items)
        if (item.kind == PaintKind::Text && item.element == &E(L"p2")) red = item.style->color == RGB(255, 0, 0);
    EXPECT_TRUE(red);
    // A change outside the tree does not lay anything out either.
    dom::Ref<dom::Element> loose = doc->CreateElement(L"div");
    loose->SetAttribute(L"style", L"width:10px");
    loose->AppendChild(doc->CreateTextNode(L"x"));
    EXPECT_EQ(CurrentLayout(*doc).passes, passes);
}

}  // namespace
}  // namespace corvalin::browser::layout
