#include "automation/automation_object.h"

#include <gtest/gtest.h>
#include <oleauto.h>

#include "automation/fake_dispatch.h"

namespace corvalin {
namespace {

using Microsoft::WRL::ComPtr;
using testing::CallLog;
using testing::FakeCall;
using testing::FakeDispatch;

class AutomationObjectTest : public ::testing::Test {
protected:
    void SetUp() override { CoInitialize(nullptr); }
    void TearDown() override { CoUninitialize(); }

    std::shared_ptr<CallLog> log = std::make_shared<CallLog>();
};

TEST_F(AutomationObjectTest, TextResultsAreThePlatformConversionInTheAnsiCodePage) {
    ComPtr<FakeDispatch> element = FakeDispatch::Create("element", log);
    element->SetBool("checked", true);
    element->SetBool("disabled", false);
    element->SetNumber("width", 120);
    element->SetNumber("ratio", 2.5);
    element->SetText("innerText", L"状态：在线");
    element->SetText("empty", L"");
    AutomationObject object(element);

    const struct {
        const char* member;
        std::string text;
    } cases[] = {
        {"checked", "-1"}, {"disabled", "0"}, {"width", "120"}, {"ratio", "2.5"},
        {"innerText", "状态：在线"}, {"empty", ""}, {"missing", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(object.GetText(c.member), c.text) << c.member;
}

// The finder's comparison skips the code page for ASCII strings; it must
// answer exactly what comparing the converted text answers.
TEST_F(AutomationObjectTest, TextComparisonsAgreeWithTheConvertedText) {
    ASSERT_EQ(GetACP(), 936u);
    struct Case {
        VARIANT value;
        const char* text;
    };
    auto text = [](const wchar_t* s) {
        VARIANT v;
        v.vt = VT_BSTR;
        v.bstrVal = SysAllocString(s);
        return v;
    };
    VARIANT flag{};
    flag.vt = VT_BOOL;
    flag.boolVal = VARIANT_TRUE;
    VARIANT nothing{};
    nothing.vt = VT_NULL;
    VARIANT missing{};   // VT_EMPTY: what a missing member answers
    Case cases[] = {
        {text(L"zt_msg"), "zt_msg"}, {text(L"zt_msg"), "zt_ms"},  {text(L"Zt_msg"), "zt_msg"},
        {text(L""), ""},             {text(L"在线"), "在线"},    {text(L"\u0e01"), "?"},
        {text(L"\u0e01"), ""},   {flag, "-1"},                 {nothing, ""},
        {missing, ""},               {missing, "zt_msg"},
    };
    for (Case& c : cases) {
        EXPECT_EQ(VariantTextEquals(c.value, c.text), VariantToText(c.value) == c.text) << c.text;
        VariantClear(&c.value);
    }
}

TEST_F(AutomationObjectTest, NumberAndBoolResultsConvertOrAreEmpty) {
    ComPtr<FakeDispatch> element = FakeDispatch::Create("element", log);
    element->SetText("digits", L"42");
    element->SetText("letters", L"abc");
    element->SetBool("yes", true);
    element->SetHandler("ok", [](FakeCall& call) {
        call.result->vt = VT_BOOL;
        call.result->boolVal = VARIANT_TRUE;
        return S_OK;
    });
    element->SetHandler("textTrue", [](FakeCall& call) {
        call.result->vt = VT_BSTR;
        call.result->bstrVal = SysAllocString(L"-1");
        return S_OK;
    });
    element->SetHandler("words", [](FakeCall& call) {
        call.result->vt = VT_BSTR;
        call.result->bstrVal = SysAllocString(L"perhaps");
        return S_OK;
    });
    AutomationObject object(element);

    EXPECT_EQ(object.GetNumber("digits"), 42);
    EXPECT_EQ(object.GetNumber("letters"), 0);
    EXPECT_EQ(object.GetNumber("yes"), -1);
    EXPECT_EQ(object.GetNumber("missing"), 0);
    EXPECT_TRUE(object.CallBool("ok"));
    EXPECT_TRUE(object.CallBool("textTrue"));
    EXPECT_FALSE(object.CallBool("words"));
    EXPECT_FALSE(object.CallBool("missing"));
    EXPECT_EQ(object.GetVariant("digits").ToNumber(), 42);
    EXPECT_EQ(object.GetVariant("letters").ToNumber(), 0);
    EXPECT_TRUE(object.GetVariant("missing").IsEmpty());
}

TEST_F(AutomationObjectTest, ArgumentsArriveInOrderWithTheirAutomationTypes) {
    ComPtr<FakeDispatch> element = FakeDispatch::Create("element", log);
    ComPtr<FakeDispatch> other = FakeDispatch::Create("other", log);
    element->SetHandler("f", [](FakeCall&) { return S_OK; });
    AutomationObject object(element);
    AutomationVariant variant = AutomationObject(other).GetVariant("missing");
    ComPtr<FakeDispatch> holder = FakeDispatch::Create("holder", log);
    holder->SetText("v", L"copied");
    variant = AutomationObject(holder).GetVariant("v");

    object.Call("f", "状态", 7, 1.5, true, false, AutomationObject(other), variant);
    ASSERT_EQ(log->lines.size(), 3u);
    EXPECT_EQ(log->lines[2], "element.f call(\"状态\", 7, 1.5, true, false, <other>, \"copied\")");
}

TEST_F(AutomationObjectTest, ReadsAndCallsUseTheirDispatchKinds) {
    ComPtr<FakeDispatch> collection = FakeDispatch::Create("all", log);
    collection->SetHandler("tags", [](FakeCall&) { return S_OK; });
    collection->SetNumber("length", 3);
    AutomationObject object(collection);

    object.GetNumber("length");
    object.GetObject("tags", "input");
    object.CallObject("tags", "span");
    object.Put("length", 4);
    EXPECT_EQ(log->lines, (std::vector<std::string>{
                              "all.length get()",
                              "all.tags call(\"input\")",   // a read with arguments may also be a method
                              "all.tags call(\"span\")",
                              "all.length put(4)",
                          }));
}

TEST_F(AutomationObjectTest, WritesReportSuccessAndPassTheValueLast) {
    ComPtr<FakeDispatch> element = FakeDispatch::Create("input", log);
    element->SetText("value", L"");
    element->SetText("type", L"text");
    element->SetReadOnly("type");
    std::vector<std::string> seen;
    element->SetHandler("cell", [&seen](FakeCall& call) {
        for (const VARIANT& arg : call.args) seen.push_back(testing::DescribeVariant(arg));
        return S_OK;
    });
    AutomationObject object(element);

    EXPECT_TRUE(object.Put("value", "10001"));
    EXPECT_EQ(testing::DescribeVariant(*element->Value("value")), "\"10001\"");
    EXPECT_FALSE(object.Put("type", "password"));
    EXPECT_FALSE(object.Put("missing", "x"));
    EXPECT_TRUE(object.Put("cell", "text", 2, 3));
    EXPECT_EQ(seen, (std::vector<std::string>{"2", "3", "\"text\""}));
}

TEST_F(AutomationObjectTest, FailingCallsAnswerEmptyResults) {
    ComPtr<FakeDispatch> element = FakeDispatch::Create("element", log);
    for (const char* name : {"refuse", "throw"}) {
        element->SetHandler(name, [name](FakeCall& call) {
            if (call.result) {   // a value left behind by a failing call must not leak out
                call.result->vt = VT_BSTR;
                call.result->bstrVal = SysAllocString(L"leftover");
            }
            return std::string(name) == "refuse" ? E_FAIL : DISP_E_EXCEPTION;
        });
    }
    AutomationObject object(element);
    for (const char* name : {"refuse", "throw", "missing"}) {
        EXPECT_EQ(object.GetText(name), "") << name;
        EXPECT_EQ(object.GetNumber(name), 0) << name;
        EXPECT_TRUE(object.GetObject(name).IsEmpty()) << name;
        EXPECT_TRUE(object.GetVariant(name).IsEmpty()) << name;
        EXPECT_FALSE(object.CallBool(name)) << name;
        EXPECT_TRUE(object.CallObject(name).IsEmpty()) << name;
        EXPECT_TRUE(object.CallVariant(name).IsEmpty()) << name;
        EXPECT_FALSE(object.Put(name, 1)) << name;
        object.Call(name);
    }
}

TEST_F(AutomationObjectTest, EmptyObjectAcceptsEveryCall) {
    AutomationObject empty;
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_EQ(empty.GetText("innerHTML"), "");
    EXPECT_EQ(empty.GetNumber("length"), 0);
    EXPECT_TRUE(empty.GetObject("body").IsEmpty());
    EXPECT_TRUE(empty.GetVariant("value").IsEmpty());
    EXPECT_FALSE(empty.Put("value", "x"));
    empty.Call("click");
    EXPECT_FALSE(empty.CallBool("fireEvent", "onclick"));
    EXPECT_TRUE(empty.CallObject("item", 0.0).IsEmpty());
    EXPECT_TRUE(empty.CallVariant("item", 0.0).IsEmpty());
}

TEST_F(AutomationObjectTest, ReferencesAreOwnedCopiedAndReleased) {
    ComPtr<FakeDispatch> document = FakeDispatch::Create("document", log);
    ComPtr<FakeDispatch> body = FakeDispatch::Create("body", log);
    document->SetObject("body", body);
    ComPtr<FakeDispatch> other = FakeDispatch::Create("other", log);
    document->SetHandler("take", [](FakeCall&) { return S_OK; });
    const ULONG documentBase = document->references();
    const ULONG bodyBase = body->references();
    const ULONG otherBase = other->references();
    {
        AutomationObject object(document);
        EXPECT_EQ(document->references(), documentBase + 1);
        AutomationObject copy = object;
        EXPECT_EQ(document->references(), documentBase + 2);
        copy.Clear();
        EXPECT_TRUE(copy.IsEmpty());
        EXPECT_EQ(document->references(), documentBase + 1);

        AutomationObject found = object.GetObject("body");
        EXPECT_EQ(body->references(), bodyBase + 1);
        found = object.CallObject("body");
        EXPECT_EQ(body->references(), bodyBase + 1);
        AutomationVariant held = object.GetVariant("body");
        EXPECT_EQ(body->references(), bodyBase + 2);
        held.Clear();
        EXPECT_EQ(body->references(), bodyBase + 1);
        object.GetObject("body");   // a result nobody keeps is released at once
        EXPECT_EQ(body->references(), bodyBase + 1);

        object.Call("take", AutomationObject(other));
        EXPECT_EQ(other->references(), otherBase);
    }
    EXPECT_EQ(document->references(), documentBase);
    EXPECT_EQ(body->references(), bodyBase);
}

TEST_F(AutomationObjectTest, VariantCopiesItsValueAndConvertsToNumber) {
    ComPtr<FakeDispatch> element = FakeDispatch::Create("element", log);
    element->SetText("size", L"12.5");
    AutomationVariant first = AutomationObject(element).GetVariant("size");
    AutomationVariant second = first;
    first.Clear();
    EXPECT_TRUE(first.IsEmpty());
    EXPECT_EQ(first.ToNumber(), 0);
    EXPECT_EQ(second.ToNumber(), 12.5);
}

}  // namespace
}  // namespace corvalin
