// The object model reached by name, exactly as the page toolkit reaches it.
#include <gtest/gtest.h>

#include "browser/html/html_parser.h"
#include "browser/om/dispatch_object.h"
#include "browser/om/html_document.h"
#include "browser/om/node_objects.h"
#include "browser/om/late_bound.h"
#include "browser/om/recording_host.h"

using namespace corvalin::browser;
using namespace corvalin::testing;

namespace {

const wchar_t* kLoginPage =
    L"<html><head><title>挂机</title><script>var a = 1 < 2;</script></head><body>"
    L"<form name=f1 action=/login.php method=POST>"
    L"<input name=userqq id=userqq value=10001>"
    L"<input type=password name=pwd>"
    L"<input type=checkbox name=keep id=keep checked>"
    L"<input type=radio name=mode value=a id=ra checked><input type=radio name=mode value=b id=rb>"
    L"<select name=sel id=sel><option value=1>one<option value=2 selected>two<option>three</select>"
    L"<textarea name=note id=note>hello</textarea>"
    L"<input type=submit name=button id=button value=start>"
    L"<input type=hidden name=token value=abc>"
    L"</form>"
    L"<span id=zt_msg class=status name=spanname>状态：<b>离线</b></span>"
    L"<a id=link href=\"next.php?x=1\" target=_blank>next</a><img id=pic src=\"/img/a.png\" width=40 height=30>"
    L"<table id=t><tr><td>a<td>b</tr><tr><td>c<td id=d>d</tr></table>"
    L"<div id=box style=\"color: red\">box</div>"
    L"</body></html>";

class HtmlDocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        nodesBefore_ = dom::Node::LiveCount();
        objectsBefore_ = om::DispatchObject::LiveCount();
        document_ = html::ParseDocument(kLoginPage, L"http://127.0.0.1:8080/dir/index.html");
        document_->SetHost(&host_);
        object_ = om::DocumentObject(*document_);
    }
    void TearDown() override {
        object_.Reset();
        document_ = nullptr;
        EXPECT_EQ(dom::Node::LiveCount(), nodesBefore_);
        EXPECT_EQ(om::DispatchObject::LiveCount(), objectsBefore_);
    }
    ComPtr<IDispatch> Walk(const wchar_t* tag) {
        auto body = GetObj(object_.Get(), L"body");
        auto all = GetObj(body.Get(), L"all");
        return CallObj(all.Get(), L"tags", {Var(tag)});
    }
    ComPtr<IDispatch> ById(const wchar_t* id) { return CallObj(object_.Get(), L"getElementById", {Var(id)}); }

    std::size_t nodesBefore_ = 0;
    std::size_t objectsBefore_ = 0;
    RecordingHost host_;
    dom::Ref<dom::Document> document_;
    ComPtr<IDispatch> object_;
};

}  // namespace

TEST_F(HtmlDocumentTest, ElementWalkReachesInputsAsTheToolkitDoes) {
    auto inputs = Walk(L"input");
    ASSERT_TRUE(inputs);
    EXPECT_EQ(Get(inputs.Get(), L"length").Number(), 7);
    auto first = CallObj(inputs.Get(), L"item", {Var(0.0)});
    ASSERT_TRUE(first);
    EXPECT_EQ(Get(first.Get(), L"value").Text(), L"10001");
    EXPECT_EQ(Get(first.Get(), L"type").Text(), L"text");
    EXPECT_EQ(Get(first.Get(), L"tagName").Text(), L"INPUT");
    // Property reads with arguments work the same as calls.
    auto all = GetObj(GetObj(object_.Get(), L"body").Get(), L"all");
    auto viaGet = GetObj(all.Get(), L"tags", {Var(L"input")});
    ASSERT_TRUE(viaGet);
    auto second = GetObj(viaGet.Get(), L"item", {Var(1)});
    EXPECT_EQ(Get(second.Get(), L"name").Text(), L"pwd");
    // Out of range gives an empty object, not a failure.
    EXPECT_FALSE(CallObj(inputs.Get(), L"item", {Var(99.0)}));
    // By name, and by DISPID_VALUE call.
    auto byName = CallObj(all.Get(), L"item", {Var(L"userqq")});
    EXPECT_EQ(Get(byName.Get(), L"id").Text(), L"userqq");
    Var v;
    DISPPARAMS params{nullptr, nullptr, 0, 0};
    Var index(2);
    params.rgvarg = &index;
    params.cArgs = 1;
    ASSERT_EQ(inputs->Invoke(DISPID_VALUE, IID_NULL, 0, DISPATCH_METHOD, &params, &v, nullptr, nullptr), S_OK);
    EXPECT_EQ(Get(v.Object().Get(), L"id").Text(), L"keep");
    // Same object for the same element, whatever the route.
    EXPECT_EQ(byName.Get(), ById(L"userqq").Get());
}

// A caller (or a proxy) that calls a claimed interface's own methods must land
// in them: every interface the document answers is called through its table.
TEST_F(HtmlDocumentTest, AnswersOnlyInterfacesItImplementsWhole) {
    host_.window = CallObj(object_.Get(), L"createElement", {Var(L"div")});   // any object stands for the window
    ComPtr<om::DocumentInterface> document;
    ASSERT_EQ(object_->QueryInterface(om::kIID_IHTMLDocument, reinterpret_cast<void**>(document.GetAddressOf())), S_OK);
    ComPtr<IDispatch> script;
    ASSERT_EQ(document->get_Script(script.GetAddressOf()), S_OK);
    EXPECT_EQ(script.Get(), host_.window.Get());
    EXPECT_EQ(Get(document.Get(), L"title").Text(), L"挂机");   // its IDispatch part

    ComPtr<IDispatchEx> ex;
    ASSERT_EQ(object_.As(&ex), S_OK);
    BSTR name = SysAllocString(L"TITLE");
    DISPID id = DISPID_UNKNOWN;
    EXPECT_EQ(ex->GetDispID(name, fdexNameCaseInsensitive, &id), S_OK);
    SysFreeString(name);
    EXPECT_NE(id, DISPID_UNKNOWN);

    // One identity behind every interface.
    ComPtr<IUnknown> a, b;
    object_.As(&a);
    document.As(&b);
    EXPECT_EQ(a.Get(), b.Get());

    // IHTMLDocument2 and IHTMLDocument3 have tables of their own, which the document does not implement.
    const GUID document2 = {0x332C4425, 0x26CB, 0x11D0, {0xB4, 0x83, 0x00, 0xC0, 0x4F, 0xD9, 0x01, 0x19}};
    const GUID document3 = {0x3050F485, 0x98B5, 0x11CF, {0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B}};
    for (const GUID& iid : {document2, document3}) {
        void* p = reinterpret_cast<void*>(1);
        EXPECT_EQ(object_->QueryInterface(iid, &p), E_NOINTERFACE);
        EXPECT_EQ(p, nullptr);
    }
    host_.window.Reset();
}

TEST_F(HtmlDocumentTest, CheckedReadsAsVariantBoolAndConvertsWrites) {
    auto keep = ById(L"keep");
    Var checked = Get(keep.Get(), L"checked");
    EXPECT_EQ(checked.vt(), VT_BOOL);
    EXPECT_EQ(checked.Text(), L"-1");
    struct Case {
        Var value;
        const wchar_t* reads;
    } cases[] = {
        {Var(L""), L"0"},      {Var(L"checked"), L"-1"}, {Var::Bool(false), L"0"},
        {Var(L"false"), L"-1"}, {Var(0), L"0"},          {Var(1), L"-1"},
    };
    for (auto& c : cases) {
        ASSERT_TRUE(Put(keep.Get(), L"checked", c.value));
        EXPECT_EQ(Get(keep.Get(), L"checked").Text(), c.reads) << Var(c.value).Text();
    }
    EXPECT_EQ(Get(keep.Get(), L"defaultChecked").Text(), L"-1");

    // Radios: checking one unchecks the rest of its group.
    auto rb = ById(L"rb");
    ASSERT_TRUE(Put(rb.Get(), L"checked", Var::Bool(true)));
    EXPECT_EQ(Get(ById(L"ra").Get(), L"checked").Text(), L"0");
    EXPECT_EQ(Get(rb.Get(), L"checked").Text(), L"-1");
}

TEST_F(HtmlDocumentTest, MarkupPropertiesReadAndWrite) {
    auto span = ById(L"zt_msg");
    EXPECT_EQ(Get(span.Get(), L"innerHTML").Text(), L"状态：<B>离线</B>");
    EXPECT_EQ(Get(span.Get(), L"innerText").Text(), L"状态：离线");
    EXPECT_EQ(Get(span.Get(), L"outerHTML").Text(), L"<SPAN id=zt_msg class=status name=spanname>状态：<B>离线</B></SPAN>");

    ASSERT_TRUE(Put(span.Get(), L"innerHTML", Var(L"<font color=red>在线</font>")));
    EXPECT_EQ(Get(span.Get(), L"innerHTML").Text(), L"<FONT color=red>在线</FONT>");
    Call(span.Get(), L"insertAdjacentHTML", {Var(L"afterBegin"), Var(L"<i>!</i>")});
    EXPECT_EQ(Get(span.Get(), L"innerHTML").Text(), L"<I>!</I><FONT color=red>在线</FONT>");

    ASSERT_TRUE(Put(span.Get(), L"innerText", Var(L"a<b>\r\nc")));
    EXPECT_EQ(Get(span.Get(), L"innerHTML").Text(), L"a&lt;b&gt;<BR>c");
    EXPECT_EQ(Get(span.Get(), L"innerText").Text(), L"a<b>\r\nc");

    auto box = ById(L"box");
    ASSERT_TRUE(Put(box.Get(), L"outerText", Var(L"plain")));
    EXPECT_FALSE(ById(L"box"));
    EXPECT_NE(Get(GetObj(object_.Get(), L"body").Get(), L"innerHTML").Text().find(L"</TABLE>plain"), std::wstring::npos);

    // An input holds no markup: the write fails.
    EXPECT_FALSE(Put(ById(L"userqq").Get(), L"innerHTML", Var(L"<b>x</b>")));
}

TEST_F(HtmlDocumentTest, StyleWritesShowInTheMarkup) {
    auto box = ById(L"box");
    auto style = GetObj(box.Get(), L"style");
    ASSERT_TRUE(style);
    EXPECT_EQ(Get(style.Get(), L"color").Text(), L"red");
    EXPECT_EQ(Get(style.Get(), L"display").Text(), L"");
    ASSERT_TRUE(Put(style.Get(), L"display", Var(L"none")));
    ASSERT_TRUE(Put(style.Get(), L"backgroundColor", Var(L"#D6F20D")));
    ASSERT_TRUE(Put(style.Get(), L"Zoom", Var(1.5)));
    EXPECT_EQ(Get(style.Get(), L"cssText").Text(), L"COLOR: red; DISPLAY: none; BACKGROUND-COLOR: #D6F20D; ZOOM: 1.5");
    EXPECT_EQ(Get(style.Get(), L"zoom").Text(), L"1.5");
    EXPECT_EQ(Get(box.Get(), L"outerHTML").Text(),
              L"<DIV id=box style=\"COLOR: red; DISPLAY: none; BACKGROUND-COLOR: #D6F20D; ZOOM: 1.5\">box</DIV>");
    ASSERT_TRUE(Put(style.Get(), L"display", Var(L"")));
    EXPECT_EQ(Get(GetObj(box.Get(), L"style").Get(), L"display").Text(), L"");
}

TEST_F(HtmlDocumentTest, MissingMembersFailAndAttributesReadAsProperties) {
    auto span = ById(L"zt_msg");
    EXPECT_FALSE(HasMember(span.Get(), L"value"));
    EXPECT_FALSE(HasMember(span.Get(), L"checked"));
    EXPECT_FALSE(HasMember(span.Get(), L"href"));
    Var r;
    EXPECT_EQ(Invoke(span.Get(), L"value", DISPATCH_PROPERTYGET, {}, &r), DISP_E_UNKNOWNNAME);
    // The markup's own attribute answers as a property, as that browser does.
    EXPECT_EQ(Get(span.Get(), L"name").Text(), L"spanname");
    Var none;
    EXPECT_TRUE(FAILED(Invoke(ById(L"box").Get(), L"name", DISPATCH_PROPERTYGET, {}, &none)));
    // Names match without regard to case; ID is id.
    EXPECT_EQ(Get(span.Get(), L"ID").Text(), L"zt_msg");
    EXPECT_EQ(Get(span.Get(), L"CLASSNAME").Text(), L"status");

    // DISPIDs stay the same for a name in any case, across objects.
    DISPID a = 0, b = 0;
    LPOLESTR n1[] = {const_cast<LPOLESTR>(L"innerText")};
    LPOLESTR n2[] = {const_cast<LPOLESTR>(L"INNERTEXT")};
    span->GetIDsOfNames(IID_NULL, n1, 1, 0, &a);
    ById(L"link")->GetIDsOfNames(IID_NULL, n2, 1, 0, &b);
    EXPECT_EQ(a, b);
}

TEST_F(HtmlDocumentTest, ExpandosThroughGetDispIdEnsure) {
    auto span = ById(L"zt_msg");
    ComPtr<IDispatchEx> ex;
    ASSERT_EQ(span.As(&ex), S_OK);
    BSTR name = SysAllocString(L"myData");
    DISPID id = 0;
    EXPECT_EQ(ex->GetDispID(name, 0, &id), DISP_E_UNKNOWNNAME);
    ASSERT_EQ(ex->GetDispID(name, fdexNameEnsure, &id), S_OK);
    SysFreeString(name);
    Var value(42);
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params{&value, &put, 1, 1};
    ASSERT_EQ(ex->InvokeEx(id, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(Get(span.Get(), L"myData").Text(), L"42");
    // While held, every route gives the same object, expando and all.
    EXPECT_EQ(Get(CallObj(Walk(L"span").Get(), L"item", {Var(0)}).Get(), L"myData").Text(), L"42");
    // Released, the object takes its expandos along.
    std::size_t held = om::DispatchObject::LiveCount();
    span.Reset();
    ex.Reset();
    EXPECT_EQ(om::DispatchObject::LiveCount(), held - 1);
    EXPECT_FALSE(HasMember(ById(L"zt_msg").Get(), L"myData"));
}

TEST_F(HtmlDocumentTest, ElementObjectsStayTheSameAcrossWalksWithoutBeingHeld) {
    auto inputs = Walk(L"input");
    const std::size_t live = om::DispatchObject::LiveCount();
    std::wstring firstId;
    {
        auto first = CallObj(inputs.Get(), L"item", {Var(0.0)});
        EXPECT_EQ(CallObj(inputs.Get(), L"item", {Var(0.0)}).Get(), first.Get());
        EXPECT_EQ(om::DispatchObject::LiveCount(), live + 1);
        firstId = Get(first.Get(), L"uniqueID").Text();
        ASSERT_FALSE(firstId.empty());
    }
    // Released with nothing added, it is no longer counted; read again it is
    // the same object (its uniqueID as before), whole again: its tree answers.
    EXPECT_EQ(om::DispatchObject::LiveCount(), live);
    for (int walk = 0; walk < 3; ++walk) {
        for (double i = 0; i < 7; ++i) EXPECT_EQ(Get(CallObj(inputs.Get(), L"item", {Var(i)}).Get(), L"tagName").Text(), L"INPUT");
    }
    auto again = CallObj(inputs.Get(), L"item", {Var(0.0)});
    EXPECT_EQ(Get(again.Get(), L"uniqueID").Text(), firstId);
    EXPECT_EQ(Get(again.Get(), L"value").Text(), L"10001");
    EXPECT_EQ(Get(GetObj(again.Get(), L"form").Get(), L"name").Text(), L"f1");
    again.Reset();
    EXPECT_EQ(om::DispatchObject::LiveCount(), live);

    // An object resting on its element holds nothing: an element taken out
    // of the page goes with its last holder, its object with it.
    Get(ById(L"box").Get(), L"innerText");
    const std::size_t nodes = dom::Node::LiveCount();
    Call(ById(L"box").Get(), L"removeNode", {Var(true)});
    EXPECT_EQ(dom::Node::LiveCount(), nodes - 2);   // the div and its text
    EXPECT_EQ(om::DispatchObject::LiveCount(), live);
    EXPECT_FALSE(ById(L"box"));
    // The fixture's end checks that the page frees every node and object.
}

TEST_F(HtmlDocumentTest, AddressesAreAbsoluteWhenRead) {
    EXPECT_EQ(Get(ById(L"link").Get(), L"href").Text(), L"http://127.0.0.1:8080/dir/next.php?x=1");
    EXPECT_EQ(Get(ById(L"link").Get(), L"target").Text(), L"_blank");
    EXPECT_EQ(Get(ById(L"pic").Get(), L"src").Text(), L"http://127.0.0.1:8080/img/a.png");
    EXPECT_EQ(Get(ById(L"pic").Get(), L"width").Text(), L"40");
    EXPECT_EQ(Get(ById(L"pic").Get(), L"height").Text(), L"30");
    EXPECT_EQ(Get(ById(L"link").Get(), L"getAttribute", {Var(L"href")}).Text(), L"next.php?x=1");
    EXPECT_EQ(Call(ById(L"link").Get(), L"getAttribute", {Var(L"href")}).Text(), L"next.php?x=1");
}

TEST_F(HtmlDocumentTest, DocumentMembers) {
    EXPECT_EQ(Get(object_.Get(), L"title").Text(), L"挂机");
    ASSERT_TRUE(Put(object_.Get(), L"title", Var(L"新")));
    EXPECT_EQ(Get(object_.Get(), L"title").Text(), L"新");
    EXPECT_EQ(Get(object_.Get(), L"url").Text(), L"http://127.0.0.1:8080/dir/index.html");
    EXPECT_EQ(Get(object_.Get(), L"URL").Text(), L"http://127.0.0.1:8080/dir/index.html");
    EXPECT_EQ(Get(object_.Get(), L"domain").Text(), L"127.0.0.1");
    EXPECT_EQ(Get(object_.Get(), L"readyState").Text(), L"complete");
    document_->SetFileSize(1234);
    EXPECT_EQ(Get(object_.Get(), L"fileSize").Text(), L"1234");
    EXPECT_EQ(Get(GetObj(object_.Get(), L"documentElement").Get(), L"tagName").Text(), L"HTML");
    EXPECT_EQ(Get(GetObj(object_.Get(), L"forms").Get(), L"length").Number(), 1);
    EXPECT_EQ(Get(CallObj(object_.Get(), L"getElementsByName", {Var(L"mode")}).Get(), L"length").Number(), 2);
    // getElementsByTagName reaches the head too, unlike body.all.
    EXPECT_EQ(Get(CallObj(object_.Get(), L"getElementsByTagName", {Var(L"script")}).Get(), L"length").Number(), 1);
    EXPECT_EQ(Get(Walk(L"script").Get(), L"length").Number(), 0);
    // Named forms answer as document properties.
    EXPECT_EQ(Get(GetObj(object_.Get(), L"f1").Get(), L"tagName").Text(), L"FORM");

    auto created = CallObj(object_.Get(), L"createElement", {Var(L"<input name=made type=radio>")});
    ASSERT_TRUE(created);
    EXPECT_EQ(Get(created.Get(), L"type").Text(), L"radio");
    Call(GetObj(object_.Get(), L"body").Get(), L"appendChild", {Var::Object(created.Get())});
    EXPECT_EQ(Get(Walk(L"input").Get(), L"length").Number(), 8);

    // open/write/close replace the page.
    Call(object_.Get(), L"open");
    Call(object_.Get(), L"write", {Var(L"<p id=n>new "), Var(L"page</p>")});
    Call(object_.Get(), L"Close");
    EXPECT_EQ(Get(ById(L"n").Get(), L"innerText").Text(), L"new page");
    EXPECT_FALSE(ById(L"userqq"));
}

TEST_F(HtmlDocumentTest, SelectBoxesTablesAndForms) {
    auto sel = ById(L"sel");
    EXPECT_EQ(Get(sel.Get(), L"selectedIndex").Number(), 1);
    EXPECT_EQ(Get(sel.Get(), L"value").Text(), L"2");
    EXPECT_EQ(Get(sel.Get(), L"type").Text(), L"select-one");
    auto options = GetObj(sel.Get(), L"options");
    EXPECT_EQ(Get(options.Get(), L"length").Number(), 3);
    auto third = CallObj(options.Get(), L"item", {Var(2.0)});
    EXPECT_EQ(Get(third.Get(), L"text").Text(), L"three");
    EXPECT_EQ(Get(third.Get(), L"value").Text(), L"three");
    EXPECT_EQ(Get(third.Get(), L"index").Number(), 2);
    ASSERT_TRUE(Put(third.Get(), L"text", Var(L"组合框1")));
    ASSERT_TRUE(Put(third.Get(), L"value", Var(L"3")));
    ASSERT_TRUE(Put(sel.Get(), L"selectedIndex", Var(2.0)));
    EXPECT_EQ(Get(third.Get(), L"selected").Text(), L"-1");
    EXPECT_EQ(Get(sel.Get(), L"value").Text(), L"3");
    EXPECT_EQ(Get(CallObj(sel.Get(), L"item", {Var(0)}).Get(), L"text").Text(), L"one");

    auto table = ById(L"t");
    EXPECT_EQ(Get(GetObj(table.Get(), L"rows").Get(), L"length").Number(), 2);
    EXPECT_EQ(Get(GetObj(table.Get(), L"cells").Get(), L"length").Number(), 4);
    auto row = CallObj(CallObj(table.Get(), L"rows").Get(), L"item", {Var(1.0)});
    EXPECT_EQ(Get(row.Get(), L"rowIndex").Number(), 1);
    auto cell = CallObj(GetObj(row.Get(), L"cells").Get(), L"item", {Var(1.0)});
    EXPECT_EQ(Get(cell.Get(), L"innerText").Text(), L"d");
    EXPECT_EQ(Get(cell.Get(), L"cellIndex").Number(), 1);
    EXPECT_EQ(Get(table.Get(), L"innerText").Text(), L"a\tb\r\nc\td");

    auto form = CallObj(GetObj(object_.Get(), L"forms").Get(), L"item", {Var(0.0)});
    EXPECT_EQ(Get(form.Get(), L"name").Text(), L"f1");
    EXPECT_EQ(Get(form.Get(), L"method").Text(), L"post");
    EXPECT_EQ(Get(form.Get(), L"action").Text(), L"/login.php");
    EXPECT_EQ(Get(GetObj(form.Get(), L"elements").Get(), L"length").Number(), 9);
    EXPECT_EQ(Get(GetObj(form.Get(), L"userqq").Get(), L"value").Text(), L"10001");
    EXPECT_EQ(Get(GetObj(form.Get(), L"mode").Get(), L"length").Number(), 2);
}

TEST_F(HtmlDocumentTest, ReleasedReferencesFreeEverything) {
    // Hold an element after the document goes: the page stays whole, then frees.
    auto span = ById(L"zt_msg");
    auto inputs = Walk(L"input");
    object_.Reset();
    document_ = nullptr;
    EXPECT_EQ(Get(span.Get(), L"tagName").Text(), L"SPAN");
    EXPECT_EQ(Get(GetObj(span.Get(), L"parentElement").Get(), L"tagName").Text(), L"BODY");
    EXPECT_EQ(Get(GetObj(span.Get(), L"document").Get(), L"title").Text(), L"挂机");
    EXPECT_GT(dom::Node::LiveCount(), nodesBefore_);
    span.Reset();
    inputs.Reset();
    EXPECT_EQ(dom::Node::LiveCount(), nodesBefore_);
    EXPECT_EQ(om::DispatchObject::LiveCount(), objectsBefore_);
}
