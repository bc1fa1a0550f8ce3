// The window as pages of that browser's era use it: script globals as its
// properties, built-in methods a page replaces, screen and history, for..in.
#include "browser/engine/page_fixture.h"

namespace corvalin::browser::testing {
namespace {

using WindowMembersTest = PageTest;

TEST_F(WindowMembersTest, ScriptGlobalsAreWindowProperties) {
    LoadMarkup(LR"(<script>
var declared = 'd';
assigned = new Object(); assigned.x = 7;
function twice(n) { return n * 2; }
</script>)");
    EXPECT_EQ(Eval(L"window.declared"), L"d");
    EXPECT_EQ(Eval(L"window.assigned.x"), L"7");
    EXPECT_EQ(Eval(L"window.twice(21)"), L"42");
    EXPECT_EQ(Eval(L"window.declared = 'changed', declared"), L"changed");
    // The toolkit's late-bound view of the window sees them too.
    ComPtr<IDispatch> window = box_->WindowObject();
    EXPECT_EQ(GetText(window.Get(), L"declared"), L"changed");
    Value result;
    VARIANT argument = NumberArg(4);
    EXPECT_EQ(Invoke(window.Get(), L"twice", DISPATCH_METHOD, {argument}, &result.v), S_OK);
    EXPECT_EQ(result.Text(), L"8");
}

TEST_F(WindowMembersTest, APageReplacesBuiltInMethods) {
    int dialogs = 0;
    CreateBox();
    box_->SetDialogHandler([&](const DialogRequest&) {
        ++dialogs;
        return DialogAnswer{};
    });
    LoadMarkup(LR"(<script>
var said = [];
window.alert = function (text) { said.push(text); };
alert('quiet');
window.confirm = function () { return 'mine'; };
</script>)");
    EXPECT_EQ(dialogs, 0);
    EXPECT_EQ(Eval(L"said.join()"), L"quiet");
    EXPECT_EQ(Eval(L"confirm('x')"), L"mine");
    // Replaced from outside, as a toolkit silences dialogs.
    ComPtr<IDispatch> window = box_->WindowObject();
    Value silent;
    ASSERT_TRUE(box_->Evaluate(L"(function () { return function () { said.push('outside'); }; })()", &silent.v));
    ASSERT_EQ(Invoke(window.Get(), L"alert", DISPATCH_PROPERTYPUT, {silent.v}, nullptr), S_OK);
    box_->ExecScript(L"alert('again')");
    EXPECT_EQ(Eval(L"said.join()"), L"quiet,outside");
    EXPECT_EQ(dialogs, 0);
}

TEST_F(WindowMembersTest, ScreenAndHistoryAnswer) {
    LoadMarkup(L"<p>x</p>");
    EXPECT_EQ(Eval(L"screen.width"), std::to_wstring(GetSystemMetrics(SM_CXSCREEN)));
    EXPECT_EQ(Eval(L"screen.height > 0 && screen.availHeight > 0 && screen.availHeight <= screen.height"), L"-1");
    EXPECT_EQ(Eval(L"screen.colorDepth >= 8"), L"-1");
    EXPECT_EQ(Eval(L"history.length"), L"1");
    EXPECT_EQ(Eval(L"history.back(), history.go(-1), 'still here'"), L"still here");
}

TEST_F(WindowMembersTest, ForInListsTheMembersOfHostObjects) {
    LoadMarkup(L"<div id=d>x</div>");
    const wchar_t* listAll = LR"((function (o) { var names = ','; for (var k in o) names += k.toLowerCase() + ','; return names; }))";
    const std::wstring windowNames = Eval(std::wstring(listAll) + L"(window)");
    EXPECT_NE(windowNames.find(L",alert,"), std::wstring::npos) << windowNames;
    EXPECT_NE(windowNames.find(L",document,"), std::wstring::npos);
    const std::wstring documentNames = Eval(std::wstring(listAll) + L"(document)");
    EXPECT_NE(documentNames.find(L",getelementbyid,"), std::wstring::npos) << documentNames;
    EXPECT_NE(documentNames.find(L",body,"), std::wstring::npos);
    const std::wstring elementNames = Eval(std::wstring(listAll) + L"(document.getElementById('d'))");
    EXPECT_NE(elementNames.find(L",innerhtml,"), std::wstring::npos) << elementNames;
}

}  // namespace
}  // namespace corvalin::browser::testing
