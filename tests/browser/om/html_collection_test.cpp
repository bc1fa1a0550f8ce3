// Collections and tree members as scripts reach them, and the object model
// over hostile pages.
#include <gtest/gtest.h>

#include "browser/html/html_parser.h"
#include "browser/om/dispatch_object.h"
#include "browser/om/node_objects.h"
#include "browser/om/late_bound.h"
#include "browser/om/recording_host.h"

using namespace corvalin::browser;
using namespace corvalin::testing;

namespace {

struct Page {
    explicit Page(std::wstring_view markup)
        : document(html::ParseDocument(markup, L"http://h/p.html")), object(om::DocumentObject(*document)) {}
    ComPtr<IDispatch> All() { return GetObj(object.Get(), L"all"); }
    ComPtr<IDispatch> ById(const wchar_t* id) { return CallObj(object.Get(), L"getElementById", {Var(id)}); }
    dom::Ref<dom::Document> document;
    ComPtr<IDispatch> object;
};

// The id of element `i` of a collection, through an index read as a property.
std::wstring IndexedId(IDispatch* collection, const wchar_t* index) {
    ComPtr<IDispatchEx> ex;
    if (FAILED(collection->QueryInterface(__uuidof(IDispatchEx), reinterpret_cast<void**>(ex.GetAddressOf())))) return L"?";
    BSTR name = SysAllocString(index);
    DISPID id = 0;
    HRESULT hr = ex->GetDispID(name, fdexNameCaseSensitive, &id);
    SysFreeString(name);
    if (FAILED(hr)) return L"unknown";
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    Var result;
    if (FAILED(ex->InvokeEx(id, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr))) return L"failed";
    return Get(result.Object().Get(), L"id").Text();
}

}  // namespace

TEST(HtmlCollectionTest, IndicesAndNamesReadAsProperties) {
    Page page(L"<input id=a name=mode type=radio><input id=b name=mode type=radio><span id=c>x</span>");
    auto all = page.All();
    EXPECT_EQ(Get(all.Get(), L"length").Number(), 6);   // html, head, body and the three elements
    auto inputs = CallObj(all.Get(), L"tags", {Var(L"INPUT")});
    EXPECT_EQ(IndexedId(inputs.Get(), L"1"), L"b");
    EXPECT_EQ(IndexedId(inputs.Get(), L"5"), L"");   // past the end: null
    EXPECT_EQ(IndexedId(inputs.Get(), L"c"), L"unknown");
    EXPECT_EQ(IndexedId(all.Get(), L"c"), L"c");
    // Two elements of one name: a collection of both.
    auto group = CallObj(all.Get(), L"item", {Var(L"mode")});
    EXPECT_EQ(Get(group.Get(), L"length").Number(), 2);
    EXPECT_EQ(Get(CallObj(all.Get(), L"item", {Var(L"mode"), Var(1)}).Get(), L"id").Text(), L"b");
    EXPECT_EQ(Get(CallObj(all.Get(), L"namedItem", {Var(L"c")}).Get(), L"tagName").Text(), L"SPAN");
    // document.all("c") from script arrives as a method call on the property.
    EXPECT_EQ(Get(CallObj(page.object.Get(), L"all", {Var(L"c")}).Get(), L"id").Text(), L"c");
    // Collections are live.
    Call(page.ById(L"c").Get(), L"insertAdjacentHTML", {Var(L"afterEnd"), Var(L"<input id=d>")});
    EXPECT_EQ(Get(inputs.Get(), L"length").Number(), 3);
}

TEST(HtmlCollectionTest, TreeMembersAndTextNodes) {
    Page page(L"<div id=d>one<b id=b>two</b><!--c--></div>");
    auto d = page.ById(L"d");
    auto nodes = GetObj(d.Get(), L"childNodes");
    EXPECT_EQ(Get(nodes.Get(), L"length").Number(), 3);
    auto text = CallObj(nodes.Get(), L"item", {Var(0)});
    EXPECT_EQ(Get(text.Get(), L"nodeType").Number(), 3);
    EXPECT_EQ(Get(text.Get(), L"nodeValue").Text(), L"one");
    ASSERT_TRUE(Put(text.Get(), L"data", Var(L"uno")));
    EXPECT_EQ(Get(d.Get(), L"innerText").Text(), L"unotwo");
    EXPECT_EQ(Get(GetObj(d.Get(), L"children").Get(), L"length").Number(), 1);
    EXPECT_EQ(Get(GetObj(page.ById(L"b").Get(), L"parentElement").Get(), L"id").Text(), L"d");
    EXPECT_EQ(Call(d.Get(), L"contains", {Var::Object(page.ById(L"b").Get())}).Text(), L"-1");
    EXPECT_EQ(Call(page.ById(L"b").Get(), L"contains", {Var::Object(d.Get())}).Text(), L"0");
    EXPECT_GT(Get(page.ById(L"b").Get(), L"sourceIndex").Number(), Get(d.Get(), L"sourceIndex").Number());

    auto copy = CallObj(d.Get(), L"cloneNode", {Var::Bool(true)});
    ASSERT_TRUE(copy);
    EXPECT_EQ(Get(copy.Get(), L"outerHTML").Text(), L"<DIV id=d>uno<B id=b>two</B><!--c--></DIV>");
    auto removed = CallObj(d.Get(), L"removeChild", {Var::Object(page.ById(L"b").Get())});
    EXPECT_EQ(Get(removed.Get(), L"innerText").Text(), L"two");
    EXPECT_FALSE(page.ById(L"b"));
    // Only nodes of ours can be inserted.
    Var r;
    EXPECT_TRUE(FAILED(Invoke(d.Get(), L"appendChild", DISPATCH_METHOD, {Var::Object(nodes.Get())}, &r)));
}

TEST(HtmlCollectionTest, HostObjectsThroughTheDocument) {
    Page page(L"<p>x</p>");
    RecordingHost host;
    page.document->SetHost(&host);
    EXPECT_EQ(Get(page.object.Get(), L"location").Text(), L"http://h/p.html");   // no location object: the address
    host.window = page.object;   // any object stands in for the window here
    EXPECT_EQ(GetObj(page.object.Get(), L"parentWindow").Get(), page.object.Get());
    ASSERT_TRUE(Put(page.object.Get(), L"location", Var(L"next.html")));
    ASSERT_EQ(host.navigations.size(), 1u);
    EXPECT_EQ(host.navigations[0].url, L"http://h/next.html");
    host.window.Reset();
}

TEST(HtmlCollectionTest, HostilePagesWalkWithoutHarm) {
    std::size_t nodes = dom::Node::LiveCount();
    std::size_t objects = om::DispatchObject::LiveCount();
    {
        std::wstring garbage;
        unsigned seed = 99;
        for (int i = 0; i < 20000; ++i) {
            seed = seed * 1664525 + 1013904223;
            const wchar_t pieces[] = L"<>/=\"' abc&;#!-\x4e2d\x0001\xffff";
            garbage += pieces[(seed >> 24) % (sizeof(pieces) / sizeof(wchar_t) - 1)];
        }
        std::wstring deep;
        for (int i = 0; i < 10000; ++i) deep += (i % 2) ? L"<span>" : L"<div>";
        deep += L"bottom";
        for (const std::wstring& markup : {garbage, deep}) {
            Page page(markup);
            auto all = page.All();
            long count = static_cast<long>(Get(all.Get(), L"length").Number());
            ASSERT_GT(count, 2);
            for (long i = 0; i < count; i += std::max(1L, count / 50)) {
                auto e = CallObj(all.Get(), L"item", {Var(static_cast<double>(i))});
                ASSERT_TRUE(e);
                Get(e.Get(), L"outerHTML");
                Get(e.Get(), L"innerText");
                Get(e.Get(), L"offsetTop");
                Get(e.Get(), L"className");
            }
            auto body = GetObj(page.object.Get(), L"body");
            Get(body.Get(), L"scrollHeight");
            CallObj(page.object.Get(), L"elementFromPoint", {Var(5.0), Var(5.0)});
        }
    }
    EXPECT_EQ(dom::Node::LiveCount(), nodes);
    EXPECT_EQ(om::DispatchObject::LiveCount(), objects);
}

TEST(HtmlCollectionTest, FramesReachTheirPagesAndConstructorsMakeElements) {
    Page page(L"<iframe id=f name=inner src=in.html></iframe><select id=s></select>");
    auto frames = GetObj(page.object.Get(), L"frames");
    auto frame = CallObj(frames.Get(), L"item", {Var(0.0)});
    EXPECT_FALSE(GetObj(frame.Get(), L"document"));   // nothing loaded yet
    auto inner = html::ParseDocument(L"<iframe></iframe><iframe></iframe>", L"http://h/in.html");
    page.document->GetElementById(L"f")->SetContentDocument(inner.get());
    auto innerObject = GetObj(frame.Get(), L"document");
    ASSERT_TRUE(innerObject);
    EXPECT_EQ(Get(GetObj(innerObject.Get(), L"frames").Get(), L"length").Number(), 2);
    EXPECT_EQ(Get(innerObject.Get(), L"url").Text(), L"http://h/in.html");

    auto option = om::OptionConstructor(*page.document);
    Var made;
    DISPPARAMS params{nullptr, nullptr, 0, 0};
    Var args[2] = {Var(L"v1"), Var(L"Text 1")};   // reversed: value, then text
    params.rgvarg = &args[0];
    params.cArgs = 2;
    ComPtr<IDispatchEx> ex;
    ASSERT_EQ(option.As(&ex), S_OK);
    ASSERT_EQ(ex->InvokeEx(DISPID_VALUE, 0, DISPATCH_CONSTRUCT, &params, &made, nullptr, nullptr), S_OK);
    EXPECT_EQ(Get(made.Object().Get(), L"text").Text(), L"Text 1");
    EXPECT_EQ(Get(made.Object().Get(), L"value").Text(), L"v1");
    auto select = page.ById(L"s");
    Call(GetObj(select.Get(), L"options").Get(), L"add", {made});
    EXPECT_EQ(Get(select.Get(), L"value").Text(), L"v1");
}
