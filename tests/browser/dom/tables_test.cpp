// Tables as old pages write them: forms between a table and its rows, and
// sections in any order, seen through rows, cells and their indices.
#include <gtest/gtest.h>

#include "browser/html/html_markup.h"
#include "browser/html/html_parser.h"
#include "browser/om/late_bound.h"
#include "browser/om/node_objects.h"

using namespace corvalin::browser;
using namespace corvalin::testing;

namespace {

class TablesTest : public ::testing::Test {
protected:
    void Load(const wchar_t* markup) {
        document_ = html::ParseDocument(markup, L"http://h/page.php");
        object_ = om::DocumentObject(*document_);
    }
    ComPtr<IDispatch> ById(const wchar_t* id) { return CallObj(object_.Get(), L"getElementById", {Var(id)}); }
    double Number(const wchar_t* id, const wchar_t* member) { return Get(ById(id).Get(), member).Number(); }
    void TearDown() override {
        object_.Reset();
        document_ = nullptr;
    }

    dom::Ref<dom::Document> document_;
    ComPtr<IDispatch> object_;
};

TEST_F(TablesTest, RowsInsideAFormBetweenTheTableAndItsRowsStayTheTables) {
    struct Case { const wchar_t* markup; int rows; int cells; };
    const Case cases[] = {
        {L"<table id=t><form id=f><tr id=r0><td>a<td id=c>b</tr><tr id=r1><td>c</tr></form></table>", 2, 3},
        {L"<table id=t><tr id=r0><td>a</tr><form id=f><tr id=r1><td>b<td id=c>c</tr></form></table>", 2, 3},
        {L"<table id=t><tbody><form id=f><tr id=r0><td>a<td id=c>b</tr></form><tr id=r1><td>c</tr></tbody></table>", 2, 3},
    };
    for (const auto& c : cases) {
        Load(c.markup);
        EXPECT_EQ(Get(GetObj(ById(L"t").Get(), L"rows").Get(), L"length").Number(), c.rows) << c.markup;
        EXPECT_EQ(Get(GetObj(ById(L"t").Get(), L"cells").Get(), L"length").Number(), c.cells) << c.markup;
        EXPECT_EQ(Number(L"r1", L"rowIndex"), 1) << c.markup;
        EXPECT_EQ(Number(L"c", L"cellIndex"), 1) << c.markup;
    }
}

TEST_F(TablesTest, InsertAndDeleteRowsThroughAForm) {
    Load(L"<table id=t><form id=f><tr id=a><td>a</tr><tr id=b><td>b</tr></form></table>");
    auto t = ById(L"t");
    auto row = CallObj(t.Get(), L"insertRow", {Var(1)});
    ASSERT_TRUE(row);
    Put(row.Get(), L"id", Var(L"mid"));
    EXPECT_EQ(Number(L"mid", L"rowIndex"), 1);
    EXPECT_EQ(Number(L"b", L"rowIndex"), 2);
    auto last = CallObj(t.Get(), L"insertRow", {Var(-1)});
    Put(last.Get(), L"id", Var(L"end"));
    EXPECT_EQ(Number(L"end", L"rowIndex"), 3);
    Call(t.Get(), L"deleteRow", {Var(0)});
    EXPECT_EQ(html::InnerHtml(*document_->GetElementById(L"f")), L"<TR id=mid></TR><TR id=b><TD>b</TD></TR><TR id=end></TR>");
    Var r;
    EXPECT_TRUE(FAILED(Invoke(t.Get(), L"insertRow", DISPATCH_METHOD, {Var(5)}, &r)));
}

TEST_F(TablesTest, SectionRowIndicesAndCellIndicesSkipWhatIsNotARowOrCell) {
    Load(L"<table id=t><thead><tr id=h><th>h</tr></thead>"
         L"<tbody><tr id=b0><td>x</tr><tr id=b1><td id=c0>1<!-- c --><td id=c1>2</tr></tbody>"
         L"<tfoot><tr id=f><td>f</tr></tfoot></table>");
    EXPECT_EQ(Number(L"b1", L"rowIndex"), 2);
    EXPECT_EQ(Number(L"b1", L"sectionRowIndex"), 1);
    EXPECT_EQ(Number(L"f", L"rowIndex"), 3);
    EXPECT_EQ(Number(L"f", L"sectionRowIndex"), 0);
    EXPECT_EQ(Number(L"c1", L"cellIndex"), 1);
    auto cells = GetObj(ById(L"b1").Get(), L"cells");
    EXPECT_EQ(Get(cells.Get(), L"length").Number(), 2);
    // Deleting the last cell by default, then a cell past the end fails.
    Call(ById(L"b1").Get(), L"deleteCell", {Var(-1)});
    EXPECT_EQ(Get(cells.Get(), L"length").Number(), 1);
    Var r;
    EXPECT_TRUE(FAILED(Invoke(ById(L"b1").Get(), L"deleteCell", DISPATCH_METHOD, {Var(3)}, &r)));
    EXPECT_TRUE(FAILED(Invoke(ById(L"b1").Get(), L"insertCell", DISPATCH_METHOD, {Var(3)}, &r)));
}

}  // namespace
