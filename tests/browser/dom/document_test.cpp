// Document-level behaviour of the DOM core: structure, focus, submissions,
// select boxes and tables changed from script.
#include <gtest/gtest.h>

#include "browser/html/html_markup.h"
#include "browser/html/html_parser.h"
#include "browser/om/late_bound.h"
#include "browser/om/node_objects.h"
#include "browser/om/recording_host.h"

using namespace corvalin::browser;
using namespace corvalin::testing;
using dom::Element;

namespace {

dom::Ref<dom::Document> Parse(std::wstring_view markup) { return html::ParseDocument(markup, L"http://h/d/p.asp?q=1"); }

}  // namespace

TEST(DocumentTest, PageMarkupAndTitleComeFromTheWholeTree) {
    auto doc = Parse(L"<title> A  title </title><p>x");
    EXPECT_EQ(doc->Title(), L"A title");
    EXPECT_EQ(html::OuterHtml(*doc->DocumentElement()),
              L"<HTML><HEAD><TITLE> A  title </TITLE></HEAD><BODY><P>x</P></BODY></HTML>");
    EXPECT_EQ(doc->DocumentElement()->InnerText(), L"x");
    doc->SetTitle(L"new");
    EXPECT_EQ(doc->Title(), L"new");
    auto frames = Parse(L"<frameset cols=*,*><frame name=a src=a.html><frame name=b src=b.html></frameset>");
    ASSERT_NE(frames->Body(), nullptr);
    EXPECT_EQ(frames->Body()->LocalName(), L"frameset");
    EXPECT_EQ(frames->Frames().Length(), 2u);
    EXPECT_EQ(frames->Frames().Item(1)->ResolvedUrlAttribute(L"src"), L"http://h/d/b.html");
}

TEST(DocumentTest, FocusMovesWithEventsThatDoNotBubble) {
    auto doc = Parse(L"<div id=outer onfocus=outer onblur=outer><input id=a onfocus=fa onblur=ba><input id=b onfocus=fb></div>");
    RecordingHost host;
    doc->SetHost(&host);
    Element* a = doc->GetElementById(L"a");
    Element* b = doc->GetElementById(L"b");
    a->Focus();
    EXPECT_EQ(doc->ActiveElement(), a);
    b->Focus();
    EXPECT_EQ(doc->ActiveElement(), b);
    std::vector<std::wstring> sources;
    for (const auto& run : host.handlers) sources.push_back(run.source);
    EXPECT_EQ(sources, (std::vector<std::wstring>{L"fa", L"ba", L"fb"}));
    b->Blur();
    EXPECT_EQ(doc->ActiveElement(), nullptr);
    // An element freed while focused no longer holds the focus.
    a->Focus();
    a->Remove();   // nothing else holds it: freed here
    EXPECT_EQ(doc->ActiveElement(), nullptr);
}

TEST(DocumentTest, SubmissionDefaultsAndImageButtons) {
    auto doc = Parse(L"<form id=f><input name=q value=\"a b\"><input type=image id=i>"
                     L"<select name=s><option disabled selected>x<option>y</select></form>"
                     L"<form id=g action=\"../go\" method=GET target=_top enctype=MULTIPART/FORM-DATA>"
                     L"<input type=image name=pic id=pic></form>");
    auto s = doc->BuildSubmission(*doc->GetElementById(L"f"), doc->GetElementById(L"i"));
    EXPECT_EQ(s.action, L"http://h/d/p.asp?q=1");
    EXPECT_EQ(s.method, L"get");
    EXPECT_EQ(s.enctype, L"application/x-www-form-urlencoded");
    ASSERT_EQ(s.fields.size(), 3u);
    EXPECT_EQ(s.fields[0].value, L"a b");
    EXPECT_EQ(s.fields[1].name, L"x");   // an image button without a name sends x and y
    EXPECT_EQ(s.fields[2].name, L"y");
    auto g = doc->BuildSubmission(*doc->GetElementById(L"g"), doc->GetElementById(L"pic"));
    EXPECT_EQ(g.action, L"http://h/go");
    EXPECT_EQ(g.target, L"_top");
    EXPECT_EQ(g.enctype, L"multipart/form-data");
    ASSERT_EQ(g.fields.size(), 2u);
    EXPECT_EQ(g.fields[0].name, L"pic.x");
    EXPECT_EQ(g.fields[1].value, L"0");
    // Without a host nothing is sent and nothing breaks.
    doc->SubmitForm(*doc->GetElementById(L"f"), nullptr);
    doc->Click(*doc->GetElementById(L"pic"));
}

TEST(DocumentTest, SelectBoxesChangedFromScript) {
    auto doc = Parse(L"<select id=m multiple><option selected>a<option>b<option selected>c</select>"
                     L"<select id=s><option>1<option>2</select>");
    auto object = om::DocumentObject(*doc);
    auto m = CallObj(object.Get(), L"getElementById", {Var(L"m")});
    EXPECT_EQ(Get(m.Get(), L"selectedIndex").Number(), 0);
    EXPECT_EQ(Get(m.Get(), L"type").Text(), L"select-multiple");
    auto options = GetObj(m.Get(), L"options");
    ASSERT_TRUE(Put(CallObj(options.Get(), L"item", {Var(0)}).Get(), L"selected", Var::Bool(false)));
    EXPECT_EQ(Get(m.Get(), L"selectedIndex").Number(), 2);

    auto s = CallObj(object.Get(), L"getElementById", {Var(L"s")});
    auto sOptions = GetObj(s.Get(), L"options");
    auto added = CallObj(object.Get(), L"createElement", {Var(L"option")});
    Put(added.Get(), L"text", Var(L"zero"));
    Put(added.Get(), L"value", Var(L"0"));
    Call(sOptions.Get(), L"add", {Var::Object(added.Get()), Var(0)});
    EXPECT_EQ(Get(s.Get(), L"length").Number(), 3);
    EXPECT_EQ(Get(CallObj(sOptions.Get(), L"item", {Var(0)}).Get(), L"text").Text(), L"zero");
    ASSERT_TRUE(Put(s.Get(), L"value", Var(L"2")));
    EXPECT_EQ(Get(s.Get(), L"selectedIndex").Number(), 2);
    Call(s.Get(), L"remove", {Var(2)});
    EXPECT_EQ(Get(s.Get(), L"length").Number(), 2);
    ASSERT_TRUE(Put(sOptions.Get(), L"length", Var(0)));
    EXPECT_EQ(Get(s.Get(), L"length").Number(), 0);
    EXPECT_EQ(Get(s.Get(), L"selectedIndex").Number(), -1);
}

TEST(DocumentTest, TablesChangedFromScript) {
    auto doc = Parse(L"<table id=t><tbody><tr><td>a</td></tr></tbody></table>");
    auto object = om::DocumentObject(*doc);
    auto t = CallObj(object.Get(), L"getElementById", {Var(L"t")});
    auto row = CallObj(t.Get(), L"insertRow", {Var(-1)});
    ASSERT_TRUE(row);
    auto cell = CallObj(row.Get(), L"insertCell", {Var(0)});
    Put(cell.Get(), L"innerText", Var(L"b"));
    EXPECT_EQ(Get(row.Get(), L"rowIndex").Number(), 1);
    EXPECT_EQ(html::InnerHtml(*doc->GetElementById(L"t")), L"<TBODY><TR><TD>a</TD></TR><TR><TD>b</TD></TR></TBODY>");
    Call(t.Get(), L"deleteRow", {Var(0)});
    EXPECT_EQ(Get(GetObj(t.Get(), L"rows").Get(), L"length").Number(), 1);
    EXPECT_EQ(Get(t.Get(), L"innerText").Text(), L"b");
    Var r;
    EXPECT_TRUE(FAILED(Invoke(t.Get(), L"deleteRow", DISPATCH_METHOD, {Var(5)}, &r)));
}
