// The calls the field operations make on a document of the test's own, in
// order, and the references they give back.
#include <gtest/gtest.h>

#include "automation/fake_browser_window.h"
#include "automation/fake_dispatch.h"
#include "automation/page_automation.h"

namespace corvalin {
namespace {

using Microsoft::WRL::ComPtr;
using testing::FakeDispatch;
using testing::FakePage;
using Lines = std::vector<std::string>;

class FieldOperationsCallsTest : public ::testing::Test {
protected:
    void Attach() {
        server = testing::CreateFakeBrowserServer(nullptr, page.document.Get());
        ASSERT_TRUE(automation.AttachBrowser(server.get()));
        page.log->lines.clear();
        alive = FakeDispatch::Alive();
        for (const ComPtr<FakeDispatch>& object : Persistent()) references.push_back(object->references());
    }
    std::vector<ComPtr<FakeDispatch>> Persistent() {
        std::vector<ComPtr<FakeDispatch>> objects{page.document, page.body, page.all};
        objects.insert(objects.end(), elements.begin(), elements.end());
        return objects;
    }
    // Every reference the operation took is given back, and every object it
    // made the page create is gone again.
    void ExpectEverythingReleased() {
        EXPECT_EQ(FakeDispatch::Alive(), alive);
        const std::vector<ComPtr<FakeDispatch>> objects = Persistent();
        for (size_t i = 0; i < objects.size(); ++i) {
            EXPECT_EQ(objects[i]->references(), references[i]) << objects[i]->label();
        }
    }
    ComPtr<FakeDispatch> Add(const std::string& label, const std::string& tag,
                             const std::vector<std::pair<std::string, std::wstring>>& properties) {
        ComPtr<FakeDispatch> element = page.AddElement(label, tag, properties);
        elements.push_back(element);
        return element;
    }

    FakePage page;
    PageAutomation automation;
    UniqueWindow server;
    std::vector<ComPtr<FakeDispatch>> elements;
    std::vector<ULONG> references;
    int alive = 0;
};

TEST_F(FieldOperationsCallsTest, StatusReadWalksSpansComparingPropertiesInOrder) {
    Add("first", "span", {{"className", L"tip"}, {"innerText", L"hello"}, {"name", L""}, {"id", L"a"}, {"title", L""}});
    Add("status", "span", {{"className", L""}, {"innerText", L"ok"}, {"id", L"zt_msg"}, {"innerHTML", L"<B>ok</B>"}});
    Attach();

    EXPECT_EQ(automation.GetSpanInnerHtml("zt_msg"), "<B>ok</B>");
    EXPECT_EQ(page.log->lines, (Lines{
                                   "document.body get()",
                                   "body.all get()",
                                   "all.tags call(\"span\")",
                                   "tags:span.length get()",
                                   "tags:span.item call(0.0)",
                                   "first.className get()",
                                   "first.innerText get()",
                                   "first.name get()",
                                   "first.id get()",
                                   "first.title get()",
                                   "tags:span.item call(1.0)",
                                   "status.className get()",
                                   "status.innerText get()",
                                   "status.name unknown",
                                   "status.id get()",
                                   "status.innerHTML get()",
                               }));
    ExpectEverythingReleased();
}

TEST_F(FieldOperationsCallsTest, TextInputWriteFiltersByTypeBeforeComparing) {
    Add("box", "input", {{"type", L"checkbox"}, {"name", L"pwd"}});
    Add("password", "input", {{"type", L"password"}, {"name", L"pwd"}, {"value", L""}});
    Attach();

    EXPECT_TRUE(automation.SetTextInputValue("pwd", "秘密"));
    EXPECT_EQ(testing::DescribeVariant(*elements[1]->Value("value")), "\"秘密\"");
    EXPECT_EQ(page.log->lines, (Lines{
                                   "document.body get()",
                                   "body.all get()",
                                   "all.tags call(\"input\")",
                                   "tags:input.length get()",
                                   "tags:input.item call(0.0)",
                                   "box.type get()",   // not a text input: no property is read
                                   "tags:input.item call(1.0)",
                                   "password.type get()",
                                   "password.name get()",
                                   "password.value put(\"秘密\")",
                               }));
    ExpectEverythingReleased();
}

TEST_F(FieldOperationsCallsTest, ButtonSearchGoesOnToButtonElements) {
    Add("text", "input", {{"type", L"text"}, {"name", L"userqq"}, {"id", L""}, {"title", L""}});
    ComPtr<FakeDispatch> button =
        Add("start", "button", {{"type", L"submit"}, {"name", L"button"}});
    int clicks = 0;
    button->SetHandler("click", [&clicks](testing::FakeCall&) {
        ++clicks;
        return S_OK;
    });
    Attach();

    EXPECT_TRUE(automation.ClickButton("button"));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(page.log->lines, (Lines{
                                   "document.body get()",
                                   "body.all get()",
                                   "all.tags call(\"input\")",
                                   "tags:input.length get()",
                                   "tags:input.item call(0.0)",
                                   "text.type get()",
                                   "document.body get()",
                                   "body.all get()",
                                   "all.tags call(\"button\")",
                                   "tags:button.length get()",
                                   "tags:button.item call(0.0)",
                                   "start.type get()",
                                   "start.name get()",
                                   "start.click call()",
                               }));
    ExpectEverythingReleased();
}

TEST_F(FieldOperationsCallsTest, RefusedWriteAndClickReportAsDocumented) {
    ComPtr<FakeDispatch> locked = Add("locked", "input", {{"type", L"text"}, {"name", L"userqq"}, {"value", L""}});
    locked->SetReadOnly("value");
    ComPtr<FakeDispatch> button = Add("start", "input", {{"type", L"button"}, {"name", L"button"}});
    button->SetHandler("click", [](testing::FakeCall&) { return DISP_E_EXCEPTION; });
    Attach();

    EXPECT_FALSE(automation.SetTextInputValue("userqq", "10001"));
    EXPECT_TRUE(automation.ClickButton("button"));   // found, though the page refused the click
    ExpectEverythingReleased();
}

TEST_F(FieldOperationsCallsTest, NothingFoundReleasesEverything) {
    Add("text", "input", {{"type", L"text"}, {"name", L"other"}});
    Add("note", "span", {{"id", L"note"}});
    Attach();

    EXPECT_FALSE(automation.SetTextInputValue("userqq", "x"));
    EXPECT_FALSE(automation.ClickButton("button2"));
    EXPECT_EQ(automation.GetSpanInnerHtml("zt_msg"), "");
    int ordinal = 0;
    EXPECT_TRUE(automation.FindSpanElement("zt_msg", 0, ordinal).IsEmpty());
    EXPECT_EQ(ordinal, -1);
    ExpectEverythingReleased();
}

TEST_F(FieldOperationsCallsTest, OrdinalContinuesFromTheCallersStartValue) {
    Add("one", "span", {{"id", L"a"}});
    Add("two", "span", {{"id", L"b"}});
    Attach();

    int ordinal = 5;
    AutomationObject found = automation.FindSpanElement("b", 0, ordinal);
    EXPECT_EQ(found.get(), static_cast<IDispatch*>(elements[1].Get()));
    EXPECT_EQ(ordinal, 7);
    ordinal = 1;   // key "3" now meets the ordinal at the second span
    found = automation.FindSpanElement("3", 0, ordinal);
    EXPECT_EQ(found.get(), static_cast<IDispatch*>(elements[1].Get()));
    EXPECT_EQ(ordinal, 3);
}

}  // namespace
}  // namespace corvalin
