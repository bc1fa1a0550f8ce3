// The service page as the client's browser box runs it: its script posts the
// form and polls the status by itself.
#include "hang-service/hang_service.h"

#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include "base/unique.h"
#include "browser/browser_box.h"
#include "support/loopback_server.h"
#include "support/message_pump.h"

namespace corvalin::hang {
namespace {

class ServicePageInBrowserTest : public ::testing::Test {
protected:
    void SetUp() override {
        OleInitialize(nullptr);
        ASSERT_TRUE(browser::RegisterBrowserBoxClass());
        service_.Install(server_.server());
        ASSERT_GT(server_.Start(), 0);
        parent_.reset(CreateWindowExA(0, "STATIC", "page", WS_POPUP | WS_VISIBLE, 0, 0, 500, 400, nullptr, nullptr,
                                      nullptr, nullptr));
        HWND box = CreateWindowExA(0, browser::kBrowserBoxClass, server_.Url("/").c_str(), WS_CHILD | WS_VISIBLE, 0,
                                   0, 500, 400, parent_.get(), nullptr, nullptr, nullptr);
        box_ = browser::BrowserBox::FromWindow(box);
        ASSERT_NE(box_, nullptr);
        ASSERT_TRUE(box_->WaitForLoad(10000));
    }
    void TearDown() override {
        parent_.reset();
        OleUninitialize();
    }

    std::wstring Evaluate(const std::wstring& expression) {
        VARIANT result;
        VariantInit(&result);
        std::wstring text;
        if (box_->Evaluate(expression, &result) && SUCCEEDED(VariantChangeType(&result, &result, 0, VT_BSTR)))
            text.assign(result.bstrVal, SysStringLen(result.bstrVal));
        VariantClear(&result);
        return text;
    }
    std::wstring Status() { return Evaluate(L"document.getElementById('zt_msg').innerHTML"); }
    HangSession* OnlySession() {
        HangSession* only = nullptr;
        int count = 0;
        service_.sessions().ForEach(SteadyNow(), [&](const std::string&, HangSession& s) { only = &s, ++count; });
        return count == 1 ? only : nullptr;
    }

    HangService service_{ServiceOptions{}};
    testing::LoopbackServer server_;
    UniqueWindow parent_;
    browser::BrowserBox* box_ = nullptr;
};

TEST_F(ServicePageInBrowserTest, ScriptRunsWithoutErrorsAndShowsTheGreeting) {
    for (const auto& error : box_->ScriptErrors()) ADD_FAILURE() << ToAnsi(error.message) << " line " << error.line;
    EXPECT_EQ(Status(), L"请输入QQ帐号和密码，然后点击开始挂机");
    EXPECT_NE(OnlySession(), nullptr);   // the cookie came with the page
}

TEST_F(ServicePageInBrowserTest, ButtonsPostTheFieldsAndTheAnswerComesBack) {
    box_->ExecScript(L"document.getElementById('userqq').value = '12345678';"
                     L"document.getElementById('pwd').value = 'p&w =x';"
                     L"document.getElementById('button').click();");
    ASSERT_TRUE(testing::PumpUntil([&] { return Status() == L"请输入验证码"; }, 3000)) << ToAnsi(Status());
    HangSession* session = OnlySession();
    ASSERT_NE(session, nullptr);
    EXPECT_EQ(session->lastSubmission().userqq, "12345678");
    EXPECT_EQ(session->lastSubmission().pwd, "p&w =x");
    EXPECT_EQ(session->starts(), 1);

    box_->ExecScript(L"document.getElementById('button2').click();");
    EXPECT_TRUE(testing::PumpUntil([&] { return Status() == L"当前没有正在挂机的QQ帐号。"; }, 3000)) << ToAnsi(Status());
    EXPECT_EQ(session->offlines(), 1);
}

TEST_F(ServicePageInBrowserTest, PollBringsAnyStatusOnceASecond) {
    HangSession* session = OnlySession();
    ASSERT_NE(session, nullptr);
    session->OverrideMessage("<b>请输入验证码</b>");
    const ULONGLONG start = GetTickCount64();
    ASSERT_TRUE(testing::PumpUntil([&] { return Status().find(L"请输入验证码</") != std::wstring::npos; }, 3000))
        << ToAnsi(Status());
    EXPECT_LE(GetTickCount64() - start, 1500u);
}

}  // namespace
}  // namespace corvalin::hang
