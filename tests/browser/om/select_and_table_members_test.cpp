// What automation does to select boxes and tables, seen from a recording
// host: script-style writes that raise nothing by themselves, and text
// writes that replace markup.
#include <gtest/gtest.h>

#include "browser/html/html_parser.h"
#include "browser/om/late_bound.h"
#include "browser/om/node_objects.h"
#include "browser/om/recording_host.h"

using namespace corvalin::browser;
using namespace corvalin::testing;

namespace {

class SelectAndTableMembersTest : public ::testing::Test {
protected:
    void Load(const wchar_t* markup) {
        document_ = html::ParseDocument(markup, L"http://h/page.php");
        document_->SetHost(&host_);
        object_ = om::DocumentObject(*document_);
    }
    ComPtr<IDispatch> ById(const wchar_t* id) { return CallObj(object_.Get(), L"getElementById", {Var(id)}); }
    void TearDown() override {
        object_.Reset();
        document_ = nullptr;
    }

    RecordingHost host_;
    dom::Ref<dom::Document> document_;
    ComPtr<IDispatch> object_;
};

TEST_F(SelectAndTableMembersTest, ASelectedIndexWriteRaisesNothingUntilChangeIsFired) {
    Load(L"<select id=s onchange=changed><option>a<option selected>b<option value=cv>c</select>");
    auto box = ById(L"s");
    ASSERT_TRUE(Put(box.Get(), L"selectedIndex", Var(2.0)));
    EXPECT_TRUE(host_.handlers.empty());
    EXPECT_EQ(Get(box.Get(), L"value").Text(), L"cv");
    EXPECT_EQ(Get(CallObj(box.Get(), L"item", {Var(1.0)}).Get(), L"selected").Text(), L"0");

    EXPECT_EQ(Call(box.Get(), L"fireEvent", {Var(L"onchange")}).Text(), L"-1");
    ASSERT_EQ(host_.handlers.size(), 1u);
    EXPECT_EQ(host_.handlers[0].type, L"change");
    EXPECT_EQ(host_.handlers[0].element, L"s");
    EXPECT_EQ(Get(box.Get(), L"selectedIndex").Number(), 2);
}

TEST_F(SelectAndTableMembersTest, AnOptionsTextWriteReplacesItsContentAndKeepsTheChoice) {
    Load(L"<select id=s><option value=1>one<option id=o value=2 selected>  two <b>2</b></select>");
    auto option = ById(L"o");
    EXPECT_EQ(Get(option.Get(), L"text").Text(), L"two 2");
    ASSERT_TRUE(Put(option.Get(), L"text", Var(L"组合框1")));
    EXPECT_EQ(Get(option.Get(), L"text").Text(), L"组合框1");
    EXPECT_EQ(Get(option.Get(), L"innerHTML").Text(), L"组合框1");
    EXPECT_EQ(Get(option.Get(), L"value").Text(), L"2");
    EXPECT_EQ(Get(ById(L"s").Get(), L"selectedIndex").Number(), 1);
    ASSERT_TRUE(Put(option.Get(), L"value", Var(L"v")));
    EXPECT_EQ(Get(ById(L"s").Get(), L"value").Text(), L"v");
    EXPECT_EQ(Get(option.Get(), L"text").Text(), L"组合框1");
}

TEST_F(SelectAndTableMembersTest, RowsAndCellsSpanTheSectionsAndACellTakesPlainText) {
    Load(L"<table id=t><thead><tr><th>h1<th>h2</thead>"
         L"<tbody><tr><td id=c><a href=x><b>bold</b></a><td>2</tbody>"
         L"<tfoot><tr><td colspan=2>sum</tfoot></table>");
    auto table = ById(L"t");
    EXPECT_EQ(Get(GetObj(table.Get(), L"rows").Get(), L"length").Number(), 3);
    EXPECT_EQ(Get(GetObj(table.Get(), L"cells").Get(), L"length").Number(), 5);
    auto head = CallObj(CallObj(table.Get(), L"rows").Get(), L"item", {Var(0.0)});
    EXPECT_EQ(Get(GetObj(head.Get(), L"cells").Get(), L"length").Number(), 2);
    EXPECT_FALSE(CallObj(CallObj(table.Get(), L"rows").Get(), L"item", {Var(3.0)}));

    auto cell = ById(L"c");
    EXPECT_EQ(Get(cell.Get(), L"outerText").Text(), L"bold");
    ASSERT_TRUE(Put(cell.Get(), L"innerText", Var(L"<i>new</i>")));
    EXPECT_EQ(Get(cell.Get(), L"innerHTML").Text(), L"&lt;i&gt;new&lt;/i&gt;");
    EXPECT_EQ(Get(cell.Get(), L"outerText").Text(), L"<i>new</i>");
    EXPECT_EQ(Get(GetObj(table.Get(), L"cells").Get(), L"length").Number(), 5);
}

}  // namespace
