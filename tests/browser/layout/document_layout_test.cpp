#include "browser/layout/document_layout.h"

#include <gtest/gtest.h>

#include "browser/html/html_parser.h"
#include "browser/layout/geometry.h"

namespace corvalin::browser::layout {
namespace {

// Documents outside a window lay out in an 800 by 600 view.
class DocumentLayoutTest : public ::testing::Test {
protected:
    void Parse(std::wstring_view markup) { doc = html::ParseDocument(markup, L"http://h/a/b.html"); }
    dom::Element& E(const wchar_t* id) {
        dom::Element* e = doc->GetElementById(id);
        EXPECT_NE(e, nullptr) << id;
        return *e;
    }
    OffsetBox Offset(const wchar_t* id) { return OffsetOf(E(id)); }
    // Where the element is on the canvas, summed up its offset parents.
    POINT PagePosition(const wchar_t* id) {
        POINT p{0, 0};
        for (dom::Element* e = &E(id); e;) {
            const OffsetBox box = OffsetOf(*e);
            p.x += box.left;
            p.y += box.top;
            e = box.offsetParent;
        }
        return p;
    }
    dom::Ref<dom::Document> doc;
};

TEST_F(DocumentLayoutTest, NestedBlocksStackInsideTheirPaddingAndBorders) {
    Parse(LR"(<body style="margin:0"><div id=outer style="padding:10px; border:5px solid black">
        <div id=inner style="margin:7px; height:30px">x</div></div><p id=after style="margin:20px 0">y</p></body>)");
    const OffsetBox outer = Offset(L"outer"), inner = Offset(L"inner"), after = Offset(L"after");
    EXPECT_EQ(outer.left, 0);
    EXPECT_EQ(outer.width, 800);
    EXPECT_EQ(inner.offsetParent, doc->Body());
    EXPECT_EQ(inner.left, 22);
    EXPECT_EQ(inner.top, 22);
    EXPECT_EQ(inner.width, 800 - 2 * 22);
    EXPECT_EQ(inner.height, 30);
    EXPECT_EQ(outer.height, 74);
    EXPECT_EQ(after.top, 74 + 20);
    const RECT r = BoundingClientRect(E(L"inner"));
    EXPECT_EQ(r.left, 22);
    EXPECT_EQ(r.bottom, 52);
}

TEST_F(DocumentLayoutTest, TablesPlaceSpanningCellsOnTheirColumnsAndRows) {
    Parse(LR"(<body style="margin:0"><table id=t cellspacing=2 cellpadding=0 border=0>
        <tr><td id=a rowspan=2 width=50>A</td><td id=b width=100>B</td><td id=c width=60>C</td></tr>
        <tr><td id=d colspan=2 height=40>D</td></tr></table></body>)");
    const OffsetBox a = Offset(L"a"), b = Offset(L"b"), c = Offset(L"c"), d = Offset(L"d"), t = Offset(L"t");
    EXPECT_EQ(a.offsetParent, &E(L"t"));
    EXPECT_EQ(a.width, 50);
    EXPECT_EQ(b.width, 100);
    EXPECT_EQ(b.left, a.left + a.width + 2);
    EXPECT_EQ(c.left, b.left + b.width + 2);
    EXPECT_EQ(d.left, b.left);
    EXPECT_EQ(d.width, b.width + 2 + c.width);
    EXPECT_EQ(d.height, 40);
    EXPECT_EQ(d.top, b.top + b.height + 2);
    EXPECT_EQ(a.height, b.height + 2 + d.height);
    EXPECT_EQ(t.width, 2 + 50 + 2 + 100 + 2 + 60 + 2);
    // Content decides widths when nothing is given; the wider text gets the wider column.
    Parse(L"<table><tr><td id=x>a</td><td id=y>a much longer piece of text</td></tr></table>");
    EXPECT_GT(Offset(L"y").width, 3 * Offset(L"x").width);
}

TEST_F(DocumentLayoutTest, PercentageCellsAndColumnsTakeTheirShareOfTheTable) {
    // Cells by attribute and by style, an auto column taking the rest.
    Parse(LR"(<body style="margin:0"><table id=t width=400 cellspacing=0 cellpadding=0 border=0>
        <tr><td id=a width="30%">a</td><td id=b>b</td><td id=c style="width:20%">c</td></tr></table></body>)");
    EXPECT_EQ(Offset(L"t").width, 400);
    EXPECT_EQ(Offset(L"a").width, 120);
    EXPECT_EQ(Offset(L"c").width, 80);
    EXPECT_EQ(Offset(L"b").width, 200);
    EXPECT_EQ(Offset(L"b").left, 120);
    // Columns by <col>, spacing left out of the share; a percentage column
    // never gets less than its content needs.
    Parse(LR"(<body style="margin:0"><table id=t width=406 cellspacing=2 cellpadding=0 border=0>
        <colgroup><col width="25%"><col width="75%"></colgroup>
        <tr><td id=a>a</td><td id=b>b</td></tr></table>
        <table width=200 cellspacing=0 cellpadding=0><tr><td id=small width="10%"><div style="width:90px">wide</div></td><td id=rest>r</td></tr></table></body>)");
    EXPECT_EQ(Offset(L"a").width, 100);
    EXPECT_EQ(Offset(L"b").width, 300);
    EXPECT_EQ(Offset(L"b").left, 2 + 100 + 2);
    EXPECT_EQ(Offset(L"small").width, 90);
    EXPECT_EQ(Offset(L"rest").width, 110);
    // Percentages past 100 give way in the later columns; a table without a
    // width grows until each percentage column gets its share.
    Parse(LR"(<body style="margin:0"><table width=300 cellspacing=0 cellpadding=0><tr>
        <td id=x width="80%">x</td><td id=y width="50%">y</td></tr></table>
        <table id=auto cellspacing=0 cellpadding=0><tr><td id=half width="50%">one two three</td><td id=other>z</td></tr></table></body>)");
    EXPECT_EQ(Offset(L"x").width, 240);
    EXPECT_EQ(Offset(L"y").width, 60);
    EXPECT_EQ(Offset(L"half").width, Offset(L"other").width);
    EXPECT_EQ(Offset(L"auto").width, Offset(L"half").width * 2);
    // A cell spanning two columns shares its percentage among them.
    Parse(LR"(<body style="margin:0"><table width=500 cellspacing=0 cellpadding=0><tr><td id=span colspan=2 width="60%">s</td><td id=last>l</td></tr>
        <tr><td id=p>p</td><td id=q>q</td><td>r</td></tr></table></body>)");
    EXPECT_EQ(Offset(L"span").width, 300);
    EXPECT_EQ(Offset(L"p").width, 150);
    EXPECT_EQ(Offset(L"last").width, 200);
}

TEST_F(DocumentLayoutTest, FloatsAndPositionedBoxes) {
    Parse(LR"(<body style="margin:0"><img id=i style="float:left; width:40px; height:40px"><span id=s>beside</span>
        <div id=r style="float:right; width:100px; height:10px"></div>
        <div id=rel style="position:relative; left:5px; top:6px; height:100px">
          <div id=abs style="position:absolute; left:30px; top:40px; width:50px; height:20px"></div></div></body>)");
    EXPECT_GE(Offset(L"s").left, 40);
    EXPECT_LT(Offset(L"s").top, 40);
    EXPECT_EQ(Offset(L"r").left + 100, 800);
    const OffsetBox abs = Offset(L"abs");
    EXPECT_EQ(abs.offsetParent, &E(L"rel"));
    EXPECT_EQ(abs.left, 30);
    EXPECT_EQ(abs.top, 40);
    EXPECT_EQ(abs.width, 50);
    const RECT rel = BoundingClientRect(E(L"rel"));
    const RECT absRect = BoundingClientRect(E(L"abs"));
    EXPECT_EQ(absRect.left, rel.left + 30);
    EXPECT_EQ(absRect.top, rel.top + 40);
    EXPECT_EQ(PagePosition(L"abs").x, absRect.left);
    EXPECT_EQ(PagePosition(L"abs").y, absRect.top);
    EXPECT_EQ(ElementFromPoint(*doc, absRect.left + 2, absRect.top + 2), &E(L"abs"));
}

TEST_F(DocumentLayoutTest, TextWrapsInsideItsBoxAndChineseBreaksBetweenCharacters) {
    Parse(LR"(<div id=box style="width:100px"><span id=cjk>中文中文中文中文中文中文中文中文中文中文中文中文</span></div>
        <div id=latin style="width:100px"><span id=words>some words that will not fit on one line</span></div>
        <div id=lines>one<br id=br>two</div>)");
    for (const wchar_t* id : {L"cjk", L"words"}) {
        const auto rects = ClientRects(E(id));
        EXPECT_GT(rects.size(), 1u) << id;
        const RECT box = BoundingClientRect(*E(id).ParentElement());
        for (const RECT& r : rects) EXPECT_LE(r.right, box.right) << id;
    }
    EXPECT_GT(Offset(L"lines").height, Offset(L"br").height);
}

TEST_F(DocumentLayoutTest, ControlsTakeThePlatformsSizes) {
    Parse(LR"(<input id=text><input id=check type=checkbox><input id=radio type=radio>
        <input id=short type=submit value=Go><input id=long type=submit value="Go somewhere far away">
        <select id=sel><option>one</option><option>a much longer option</option></select>)");
    EXPECT_EQ(Offset(L"check").width, 13);
    EXPECT_EQ(Offset(L"radio").height, 13);
    EXPECT_GE(Offset(L"text").height, 18);
    EXPECT_LE(Offset(L"text").height, 24);
    EXPECT_GT(Offset(L"long").width, Offset(L"short").width + 40);
    EXPECT_GT(Offset(L"sel").width, Offset(L"short").width);
}

TEST_F(DocumentLayoutTest, ZoomScrollAndRelayoutOnlyOnChange) {
    Parse(LR"(<body style="margin:0; zoom:1.5"><div id=z style="width:100px; height:10px"></div>
        <div id=tall style="height:3000px"></div></body>)");
    EXPECT_EQ(Offset(L"z").width, 150);
    EXPECT_EQ(Offset(L"z").height, 15);
    dom::Element* html = doc->DocumentElement();
    EXPECT_EQ(ScrollHeight(*html), 15 + 4500);
    EXPECT_EQ(ScrollHeight(*doc->Body()), ScrollHeight(*html));
    // The scroll position stays inside what the content allows, and the body mirrors it.
    ScrollTo(*html, -5, 1000000);
    EXPECT_EQ(ScrollLeft(*html), 0);
    EXPECT_EQ(ScrollTop(*html), ScrollHeight(*html) - ClientHeight(*html));
    EXPECT_EQ(ScrollTop(*doc->Body()), ScrollTop(*html));
    EXPECT_EQ(BoundingClientRect(E(L"z")).top, -ScrollTop(*html));

    const DocumentLayout* first = &CurrentLayout(*doc);
    for (int i = 0; i < 100; ++i) OffsetOf(E(L"z"));
    EXPECT_EQ(&CurrentLayout(*doc), first);
    E(L"z").SetStyleValue(L"width", L"200px");
    EXPECT_EQ(Offset(L"z").width, 300);
}

}  // namespace
}  // namespace corvalin::browser::layout
