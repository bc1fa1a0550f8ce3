// Handlers and default actions, seen from a recording host.
#include <gtest/gtest.h>

#include "browser/html/html_parser.h"
#include "browser/om/dispatch_object.h"
#include "browser/om/node_objects.h"
#include "browser/om/late_bound.h"
#include "browser/om/recording_host.h"

using namespace corvalin::browser;
using namespace corvalin::testing;

namespace {

class HtmlEventsTest : public ::testing::Test {
protected:
    void Load(const wchar_t* markup) {
        document_ = html::ParseDocument(markup, L"http://h/app/page.php");
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

// A script function: counts its calls and answers with a fixed value.
class CountingFunction final : public om::DispatchObject {
public:
    explicit CountingFunction(bool result) : result_(result) {}
    int calls = 0;

protected:
    const om::MemberTable& Members() const override {
        static const om::MemberTable table{{}};
        return table;
    }
    HRESULT InvokeValue(om::Invocation& call) override {
        ++calls;
        return call.ReturnBool(result_);
    }

private:
    bool result_;
};

}  // namespace

TEST_F(HtmlEventsTest, SubmitButtonRunsHandlersThenSubmitsTheFormDataSet) {
    Load(L"<form id=f action=go.php method=post onsubmit=\"track\">"
         L"<input name=a value=1><input name=skip disabled value=x><input name=noval>"
         L"<input type=checkbox name=c1 checked><input type=checkbox name=c2 value=v2>"
         L"<input type=radio name=r value=x><input type=radio name=r value=y checked>"
         L"<select name=s><option>o1<option value=v selected>o2</select>"
         L"<select name=m multiple><option selected>p<option>q<option selected value=r>x</select>"
         L"<textarea name=t>l1\nl2</textarea>"
         L"<input type=submit name=go value=Go id=go onclick=\"track\"><input type=submit name=other value=Other>"
         L"<input type=reset name=rs><input type=button name=b value=B><input type=hidden name=h value=hv>"
         L"</form>");
    Call(ById(L"go").Get(), L"click");
    ASSERT_EQ(host_.handlers.size(), 2u);
    EXPECT_EQ(host_.handlers[0].type, L"click");
    EXPECT_EQ(host_.handlers[1].type, L"submit");
    ASSERT_EQ(host_.submissions.size(), 1u);
    const auto& s = host_.submissions[0];
    EXPECT_EQ(s.action, L"http://h/app/go.php");
    EXPECT_EQ(s.method, L"post");
    std::vector<std::pair<std::wstring, std::wstring>> fields;
    for (const auto& f : s.fields) fields.emplace_back(f.name, f.value);
    std::vector<std::pair<std::wstring, std::wstring>> expected{
        {L"a", L"1"}, {L"noval", L""}, {L"c1", L"on"}, {L"r", L"y"},     {L"s", L"v"},
        {L"m", L"p"}, {L"m", L"r"},    {L"t", L"l1\r\nl2"}, {L"go", L"Go"}, {L"h", L"hv"}};
    EXPECT_EQ(fields, expected);

    // submit() from script sends without the submit button and without onsubmit.
    host_.handlers.clear();
    Call(ById(L"f").Get(), L"submit");
    ASSERT_EQ(host_.submissions.size(), 2u);
    EXPECT_TRUE(host_.handlers.empty());
    for (const auto& f : host_.submissions[1].fields) EXPECT_NE(f.name, L"go");
}

TEST_F(HtmlEventsTest, CancellingHandlersStopDefaultActions) {
    Load(L"<form id=f><input type=submit id=s1 onclick=\"return false\"><input type=submit id=s2 onclick=cancel>"
         L"<input type=submit id=s3></form><form id=g onsubmit=\"return false\"><input type=image id=img name=pic></form>"
         L"<a id=a href=x.html onclick=\"return false\">x</a>");
    Call(ById(L"s1").Get(), L"click");
    Call(ById(L"s2").Get(), L"click");
    Call(ById(L"img").Get(), L"click");
    Call(ById(L"a").Get(), L"click");
    EXPECT_TRUE(host_.submissions.empty());
    EXPECT_TRUE(host_.navigations.empty());
    Call(ById(L"s3").Get(), L"click");
    EXPECT_EQ(host_.submissions.size(), 1u);
    // fireEvent runs the handler only, and reports its verdict.
    host_.handlers.clear();
    EXPECT_EQ(Call(ById(L"s1").Get(), L"fireEvent", {Var(L"onclick")}).Text(), L"0");
    EXPECT_EQ(Call(ById(L"s3").Get(), L"FireEvent", {Var(L"onclick")}).Text(), L"-1");
    EXPECT_EQ(host_.handlers.size(), 1u);
    EXPECT_EQ(host_.submissions.size(), 1u);
}

TEST_F(HtmlEventsTest, ClicksToggleNavigateResetAndChooseFiles) {
    Load(L"<form id=f><input type=checkbox id=c><input type=radio name=r id=r1 checked><input type=radio name=r id=r2>"
         L"<input type=checkbox id=veto onclick=\"return false\"><input id=t value=orig>"
         L"<input type=file id=file name=up onchange=changed><button id=b name=bn value=bv>B</button>"
         L"<button id=rb type=reset>R</button></form>"
         L"<div onclick=outer id=outer><a id=a href=\"../next.php\" target=main><span id=inner>go</span></a></div>");
    auto c = ById(L"c");
    Call(c.Get(), L"click");
    EXPECT_EQ(Get(c.Get(), L"checked").Text(), L"-1");
    Call(c.Get(), L"click");
    EXPECT_EQ(Get(c.Get(), L"checked").Text(), L"0");
    Call(ById(L"r2").Get(), L"click");
    EXPECT_EQ(Get(ById(L"r1").Get(), L"checked").Text(), L"0");
    EXPECT_EQ(Get(ById(L"r2").Get(), L"checked").Text(), L"-1");
    Call(ById(L"veto").Get(), L"click");
    EXPECT_EQ(Get(ById(L"veto").Get(), L"checked").Text(), L"0");

    // A click inside a link bubbles and follows the link, with its target.
    Call(ById(L"inner").Get(), L"click");
    ASSERT_EQ(host_.navigations.size(), 1u);
    EXPECT_EQ(host_.navigations[0].url, L"http://h/next.php");
    EXPECT_EQ(host_.navigations[0].target, L"main");
    EXPECT_EQ(host_.handlers.back().element, L"outer");

    // Reset puts controls back to the markup.
    Put(ById(L"t").Get(), L"value", Var(L"typed"));
    Call(ById(L"rb").Get(), L"click");
    EXPECT_EQ(Get(ById(L"t").Get(), L"value").Text(), L"orig");
    EXPECT_EQ(Get(ById(L"r1").Get(), L"checked").Text(), L"-1");

    // The file dialog's choice becomes the value; script can't set it.
    EXPECT_FALSE(Put(ById(L"file").Get(), L"value", Var(L"C:\\evil.txt")));
    host_.chosenFile = L"C:\\pic.jpg";
    Call(ById(L"file").Get(), L"click");
    EXPECT_EQ(host_.fileDialogs, 1);
    EXPECT_EQ(Get(ById(L"file").Get(), L"value").Text(), L"C:\\pic.jpg");
    EXPECT_EQ(host_.handlers.back().type, L"change");

    // A <button> without a type submits, with its own name and value.
    Call(ById(L"b").Get(), L"click");
    ASSERT_EQ(host_.submissions.size(), 1u);
    bool sawButton = false;
    for (const auto& f : host_.submissions[0].fields) sawButton |= f.name == L"bn" && f.value == L"bv";
    EXPECT_TRUE(sawButton);
}

TEST_F(HtmlEventsTest, HandlersAssignedFromScriptWinAndRunAsFunctions) {
    Load(L"<div id=p onclick=parent><input type=submit id=s onclick=attr></div>");
    auto s = ById(L"s");
    auto function = om::MakeDispatch<CountingFunction>(false);
    ASSERT_TRUE(Put(s.Get(), L"onclick", Var::Object(function.Get())));
    EXPECT_EQ(Get(s.Get(), L"onclick").Object().Get(), static_cast<IDispatch*>(function.Get()));
    Call(s.Get(), L"click");
    EXPECT_EQ(function->calls, 1);
    ASSERT_EQ(host_.handlers.size(), 2u);
    EXPECT_TRUE(host_.handlers[0].function);
    EXPECT_EQ(host_.handlers[1].element, L"p");   // bubbled to the parent

    // cancelBubble stops at the handler that sets it.
    host_.handlers.clear();
    ASSERT_TRUE(Put(s.Get(), L"onclick", Var(L"stop")));
    Call(s.Get(), L"fireEvent", {Var(L"onclick")});
    EXPECT_EQ(host_.handlers.size(), 1u);

    // The attribute's handler read from script is callable.
    auto handler = GetObj(ById(L"p").Get(), L"onclick");
    ASSERT_TRUE(handler);
    host_.handlers.clear();
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    Var r;
    handler->Invoke(DISPID_VALUE, IID_NULL, 0, DISPATCH_METHOD, &none, &r, nullptr, nullptr);
    ASSERT_EQ(host_.handlers.size(), 1u);
    EXPECT_EQ(host_.handlers[0].source, L"parent");
    EXPECT_FALSE(HasMember(s.Get(), L"onnotanevent"));
}

TEST_F(HtmlEventsTest, EventObjectCarriesWhatScriptSetBack) {
    Load(L"<span id=x>x</span>");
    dom::Element* x = document_->GetElementById(L"x");
    dom::Event event;
    event.type = L"click";
    event.target = x;
    auto object = om::EventObject(event);
    EXPECT_EQ(Get(object.Get(), L"type").Text(), L"click");
    EXPECT_EQ(Get(GetObj(object.Get(), L"srcElement").Get(), L"id").Text(), L"x");
    ASSERT_TRUE(Put(object.Get(), L"returnValue", Var::Bool(false)));
    ASSERT_TRUE(Put(object.Get(), L"cancelBubble", Var::Bool(true)));
    om::ReadBackEvent(object.Get(), event);
    EXPECT_FALSE(event.returnValue);
    EXPECT_TRUE(event.cancelBubble);
}

TEST(HtmlEventsCycleTest, ReleasingScriptObjectsBreaksTheHandlerCycle) {
    std::size_t nodes = dom::Node::LiveCount();
    std::size_t objects = om::DispatchObject::LiveCount();
    {
        auto document = html::ParseDocument(L"<input type=button id=b>", L"http://h/");
        auto object = om::DocumentObject(*document);
        // A "script function" that holds the document object, as a closure
        // holds the script's window and through it the document.
        class Closure final : public om::DispatchObject {
        public:
            explicit Closure(IDispatch* held) : held_(held) {}

        protected:
            const om::MemberTable& Members() const override {
                static const om::MemberTable table{{}};
                return table;
            }

        private:
            ComPtr<IDispatch> held_;
        };
        auto closure = om::MakeDispatch<Closure>(object.Get());
        auto button = CallObj(object.Get(), L"getElementById", {Var(L"b")});
        ASSERT_TRUE(Put(button.Get(), L"onclick", Var::Object(closure.Get())));
        button.Reset();
        closure.Reset();
        object.Reset();
        dom::Document* page = document.get();
        document = nullptr;
        // The cycle keeps everything alive until the page lets go of script.
        EXPECT_GT(dom::Node::LiveCount(), nodes);
        page->ReleaseScriptObjects();
    }
    EXPECT_EQ(dom::Node::LiveCount(), nodes);
    EXPECT_EQ(om::DispatchObject::LiveCount(), objects);
}
