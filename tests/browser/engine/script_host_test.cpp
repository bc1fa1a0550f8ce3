#include "browser/script/script_host.h"

#include <ole2.h>

#include <gtest/gtest.h>

#include "browser/om/dispatch_object.h"

namespace corvalin::browser {
namespace {

// A global object with one property and one method, standing in for a window.
class Globals final : public om::DispatchObject {
public:
    std::wstring written;
    int calls = 0;

protected:
    const om::MemberTable& Members() const override {
        static const om::MemberTable table{{
            {L"written", &om::Bind<Globals, &Globals::GetWritten>, &om::Bind<Globals, &Globals::PutWritten>},
            {L"note", nullptr, nullptr, &om::Bind<Globals, &Globals::Note>},
        }};
        return table;
    }

private:
    HRESULT GetWritten(om::Invocation& call) { return call.ReturnText(written); }
    HRESULT PutWritten(om::Invocation& call) {
        written = call.ValueText();
        return S_OK;
    }
    HRESULT Note(om::Invocation& call) {
        ++calls;
        return call.ReturnInteger(calls);
    }
};

class ScriptHostTest : public ::testing::Test {
protected:
    void SetUp() override { OleInitialize(nullptr); }
    void TearDown() override {
        globals.Reset();
        OleUninitialize();
    }
    om::ComPtr<Globals> globals = om::MakeDispatch<Globals>();
};

TEST_F(ScriptHostTest, LanguagesByName) {
    struct Case { const wchar_t* name; ScriptLanguage language; };
    const Case cases[] = {
        {L"", ScriptLanguage::JScript}, {L"JavaScript", ScriptLanguage::JScript}, {L"javascript1.2", ScriptLanguage::JScript},
        {L"JScript", ScriptLanguage::JScript}, {L"text/javascript", ScriptLanguage::JScript},
        {L"VBScript", ScriptLanguage::VBScript}, {L"vbs", ScriptLanguage::VBScript}, {L"text/vbscript", ScriptLanguage::VBScript},
        {L"text/template", ScriptLanguage::Unknown}, {L"python", ScriptLanguage::Unknown},
    };
    for (const auto& c : cases) EXPECT_EQ(ScriptLanguageFromName(c.name), c.language) << c.name;
}

TEST_F(ScriptHostTest, BothEnginesSeeTheGlobalObjectsMembers) {
    ScriptHost host(globals.Get(), nullptr);
    EXPECT_TRUE(host.Run(L"written = 'from jscript ' + note();", ScriptLanguage::JScript));
    EXPECT_EQ(globals->written, L"from jscript 1");
    EXPECT_TRUE(host.Run(L"written = \"vb \" & note()", ScriptLanguage::VBScript));
    EXPECT_EQ(globals->written, L"vb 2");
    EXPECT_TRUE(host.Run(L"window.written = 'through the item name'", ScriptLanguage::JScript));
    EXPECT_EQ(globals->written, L"through the item name");
    VARIANT result;
    VariantInit(&result);
    EXPECT_TRUE(host.Run(L"6 * 7", ScriptLanguage::JScript, &result));
    EXPECT_EQ(result.vt == VT_I4 ? result.lVal : -1, 42);
    EXPECT_FALSE(host.Run(L"anything", ScriptLanguage::Unknown));
    EXPECT_TRUE(host.Errors().empty());
}

TEST_F(ScriptHostTest, ErrorsAreRecordedAndLaterScriptsStillRun) {
    ScriptHost host(globals.Get(), nullptr);
    std::vector<std::wstring> heard;
    host.SetErrorListener([&](const ScriptError& error) { heard.push_back(error.message); });
    EXPECT_FALSE(host.Run(L"var x = ;", ScriptLanguage::JScript));
    EXPECT_FALSE(host.Run(L"\n\nnoSuchFunction();", ScriptLanguage::JScript));
    EXPECT_FALSE(host.Run(L"Err.Raise 5", ScriptLanguage::VBScript));
    EXPECT_TRUE(host.Run(L"written = 'still running'", ScriptLanguage::JScript));
    EXPECT_EQ(globals->written, L"still running");
    ASSERT_EQ(host.Errors().size(), 3u);
    EXPECT_EQ(host.Errors()[1].line, 3);
    EXPECT_EQ(host.Errors()[2].language, L"VBScript");
    EXPECT_EQ(heard.size(), 3u);
}

TEST_F(ScriptHostTest, HandlersRunWithTheirThisObject) {
    ScriptHost host(globals.Get(), nullptr);
    om::ComPtr<Globals> element = om::MakeDispatch<Globals>();
    om::ComPtr<IDispatch> handler = host.CompileHandler(L"this.written = 'clicked'; return false;", ScriptLanguage::JScript);
    ASSERT_TRUE(handler);
    VARIANT result;
    VariantInit(&result);
    EXPECT_TRUE(host.CallFunction(handler.Get(), element.Get(), {}, &result));
    EXPECT_EQ(element->written, L"clicked");
    EXPECT_EQ(result.vt, VT_BOOL);
    EXPECT_EQ(result.boolVal, VARIANT_FALSE);

    // A script function, as a page assigns one to onclick.
    VARIANT function;
    VariantInit(&function);
    ASSERT_TRUE(host.Run(L"(function (e) { this.written = 'fn ' + e; })", ScriptLanguage::JScript, &function));
    ASSERT_EQ(function.vt, VT_DISPATCH);
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_I4;
    argument.lVal = 7;
    EXPECT_TRUE(host.CallFunction(function.pdispVal, element.Get(), {argument}));
    EXPECT_EQ(element->written, L"fn 7");

    EXPECT_FALSE(host.CompileHandler(L"if (", ScriptLanguage::JScript));
    om::ComPtr<IDispatch> failing = host.CompileHandler(L"throw new Error('boom')", ScriptLanguage::JScript);
    EXPECT_FALSE(host.CallFunction(failing.Get(), element.Get(), {}));
    EXPECT_EQ(host.Errors().size(), 2u);
    VariantClear(&function);

    host.Close();
    EXPECT_FALSE(host.Run(L"written = 'closed'", ScriptLanguage::JScript));
    EXPECT_NE(globals->written, L"closed");
}

}  // namespace
}  // namespace corvalin::browser
