// Where a table's rows and cells land: sections in the order a browser
// draws them, rows a form wraps, and spans that reach past the table.
#include "browser/layout/document_layout.h"

#include <gtest/gtest.h>

#include "browser/html/html_parser.h"
#include "browser/layout/geometry.h"

namespace corvalin::browser::layout {
namespace {

class TableLayoutTest : public ::testing::Test {
protected:
    void Parse(std::wstring_view markup) { doc = html::ParseDocument(markup, L"http://h/a/b.html"); }
    OffsetBox Offset(const wchar_t* id) {
        dom::Element* e = doc->GetElementById(id);
        EXPECT_NE(e, nullptr) << id;
        return e ? OffsetOf(*e) : OffsetBox{};
    }
    dom::Ref<dom::Document> doc;
};

TEST_F(TableLayoutTest, HeaderRowsGoFirstAndFooterRowsLastWhereverTheMarkupPutsThem) {
    // The markup of that era put tfoot before tbody; a second thead is an ordinary group.
    Parse(LR"(<body style="margin:0"><table cellspacing=0 cellpadding=0 border=0>
        <tfoot><tr><td id=foot height=10>f</td></tr></tfoot>
        <tbody><tr><td id=body1 height=20>b</td></tr></tbody>
        <thead><tr><td id=head height=30>h</td></tr></thead>
        <tr><td id=loose height=40>r</td></tr>
        <thead><tr><td id=head2 height=50>h2</td></tr></thead>
        <tfoot><tr><td id=foot2 height=60>f2</td></tr></tfoot></table></body>)");
    EXPECT_EQ(Offset(L"head").top, 0);
    EXPECT_EQ(Offset(L"body1").top, 30);
    EXPECT_EQ(Offset(L"loose").top, 50);
    EXPECT_EQ(Offset(L"head2").top, 90);
    EXPECT_EQ(Offset(L"foot2").top, 140);
    EXPECT_EQ(Offset(L"foot").top, 200);
}

TEST_F(TableLayoutTest, RowsInsideAFormAreLaidOutAsTheTablesRows) {
    Parse(LR"(<body style="margin:0"><table id=t cellspacing=0 cellpadding=0 border=0>
        <form id=f><tr><td id=a width=50 height=20>a</td><td id=b width=70>b</td></tr></form>
        <tr><td id=c height=30>c</td><td id=d>d</td></tr>
        <tbody><form><tr><td id=e height=25>e</td></tr></form></tbody></table></body>)");
    EXPECT_EQ(Offset(L"a").width, 50);
    EXPECT_EQ(Offset(L"b").left, 50);
    EXPECT_EQ(Offset(L"b").width, 70);
    EXPECT_EQ(Offset(L"c").top, 20);
    EXPECT_EQ(Offset(L"d").left, 50);
    EXPECT_EQ(Offset(L"e").top, 50);
    EXPECT_EQ(Offset(L"t").height, 75);
    // The form spans the rows it holds.
    EXPECT_EQ(Offset(L"f").height, 20);
    EXPECT_EQ(Offset(L"f").width, 120);
}

TEST_F(TableLayoutTest, RowSpansStopAtTheLastRowAndZeroReachesIt) {
    Parse(LR"(<body style="margin:0"><table id=t cellspacing=0 cellpadding=0 border=0>
        <tr><td id=tall rowspan=9 width=10>t</td><td id=zero rowspan=0 width=10>z</td><td id=r1 height=20 width=10>1</td></tr>
        <tr><td id=r2 height=30>2</td></tr>
        <tr><td id=r3 height=40>3</td><td id=extra width=10>x</td></tr></table></body>)");
    EXPECT_EQ(Offset(L"tall").height, 90);
    EXPECT_EQ(Offset(L"zero").height, 90);
    // Later rows' cells move past the columns the spans hold.
    EXPECT_EQ(Offset(L"r2").left, 20);
    EXPECT_EQ(Offset(L"r3").left, 20);
    EXPECT_EQ(Offset(L"extra").left, 30);
    EXPECT_EQ(Offset(L"t").height, 90);
}

}  // namespace
}  // namespace corvalin::browser::layout
