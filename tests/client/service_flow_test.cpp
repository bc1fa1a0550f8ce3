// The main window against the real service, driven as a user would.
#include <windows.h>

#include <gtest/gtest.h>

#include "client/client_flow_fixture.h"
#include "base/unique.h"
#include "shell/build_settings.h"
#include "support/process_holdings.h"
#include "support/temp_folder.h"

namespace corvalin::testing {
namespace {

TEST(ServiceFlowTest, TypedAccountReachesTheServiceAndTheCaptchaLayoutShowsItsPicture) {
    CorvalinRun run;
    ASSERT_TRUE(run.started()) << run.failure();
    EXPECT_EQ(WindowHeight(run.mainWindow()), 218);
    const std::string session = WaitForPageSession(run);
    ASSERT_FALSE(session.empty());
    // Initialisation has replaced the template status and hidden the captcha controls.
    EXPECT_TRUE(WaitUntil([&] {
        return run.StatusText() != "状态：软件正在初始化......." && !IsWindowVisible(run.CaptchaPicture()) &&
               !IsWindowVisible(run.CaptchaBox()) && !IsWindowVisible(run.CaptchaCaption());
    }, 3000));

    Click(run.AccountBox());
    TypeInto(run.AccountBox(), "12345678");
    Click(run.PasswordBox());
    TypeInto(run.PasswordBox(), "pass9word");
    Click(run.Button("开始挂机"));

    ASSERT_TRUE(WaitUntil([&] { return SessionValue(run, "starts") == "1"; }, 3000));
    EXPECT_EQ(SessionValue(run, "userqq"), "12345678");
    EXPECT_TRUE(SubmittedPassword(run, "pass9word"));
    EXPECT_EQ(SessionValue(run, "verify"), "");

    // The page's answer, then the next poll; how soon is a matter for the benches.
    ASSERT_TRUE(WaitUntil([&] { return run.StatusText() == "状态：请输入验证码"; }, 10000)) << run.StatusText();
    ASSERT_TRUE(WaitUntil([&] { return WindowHeight(run.mainWindow()) == 260; }, 10000));
    const struct {
        HWND control;
        int left, top;
    } layout[] = {
        {run.Button("开始挂机"), 31, 197},
        {run.Button("我要下线"), 156, 197},
        {run.Button("联系作者"), 289, 197},
        {run.StatusLine(), 24, 239},
    };
    // The handler moves them one after another; a look from outside may fall between two moves.
    auto inPlace = [&] {
        for (const auto& item : layout) {
            const POINT at = PositionInParent(item.control);
            if (at.x != item.left || at.y != item.top) return false;
        }
        return true;
    };
    EXPECT_TRUE(WaitUntil(inPlace, 1000));
    for (const auto& item : layout) {
        const POINT at = PositionInParent(item.control);
        EXPECT_EQ(at.x, item.left) << TextOf(item.control);
        EXPECT_EQ(at.y, item.top) << TextOf(item.control);
    }
    EXPECT_TRUE(IsWindowVisible(run.CaptchaPicture()));
    EXPECT_TRUE(IsWindowVisible(run.CaptchaBox()));
    EXPECT_TRUE(IsWindowVisible(run.CaptchaCaption()));

    // The picture request carried the page's session cookie: the service drew it for this session.
    ASSERT_TRUE(WaitUntil([&] { return SessionValue(run, "captchaRequests") == "1"; }, 3000));
    const auto drawn = DecodeJpeg(run.service().CaptchaPicture(session));
    ASSERT_TRUE(drawn);
    double difference = 255;
    WaitUntil([&] {
        difference = MeanDifference(CaptureClient(run.CaptchaPicture(), drawn->width, drawn->height), *drawn);
        return difference < 10;
    }, 3000);
    EXPECT_LT(difference, 10) << "the picture box does not show the service's picture";
}

TEST(ServiceFlowTest, EnterInTheAccountBoxRemindsThenFocusesThePasswordWithoutSubmitting) {
    CorvalinRun run;
    ASSERT_TRUE(run.started()) << run.failure();
    ASSERT_FALSE(WaitForPageSession(run).empty());
    Click(run.PasswordBox());
    TypeInto(run.PasswordBox(), "pw");   // filled already: the reminder comes all the same
    Click(run.AccountBox());
    TypeInto(run.AccountBox(), "12345");
    PressKeyIn(run.AccountBox(), VK_RETURN);

    HWND reminder = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (reminder = run.FindOwnWindow("Tessaly提示：")) != nullptr; }, 3000));
    const auto texts = DescendantTexts(reminder);
    EXPECT_NE(std::find(texts.begin(), texts.end(), "请输入密码，谢谢！"), texts.end());
    Click(FindDescendant(reminder, "Button"));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(reminder) || !IsWindowVisible(reminder); }, 3000));
    EXPECT_TRUE(WaitUntil([&] { return run.FocusedWindow() == run.PasswordBox(); }, 2000));
    Sleep(1200);
    EXPECT_EQ(SessionValue(run, "starts"), "0");

    PressKeyIn(run.PasswordBox(), VK_RETURN);   // in the password box: submits
    EXPECT_TRUE(WaitUntil([&] { return SessionValue(run, "starts") == "1"; }, 3000));
    EXPECT_EQ(SessionValue(run, "userqq"), "12345");
    EXPECT_TRUE(SubmittedPassword(run, "pw"));
    EXPECT_TRUE(WaitUntil([&] { return run.StatusText() == "状态：请输入验证码"; }, 2500)) << run.StatusText();
}

TEST(ServiceFlowTest, ServiceDownShowsTheBarePrefixAndNothingElse) {
    CorvalinRun run(false);
    ASSERT_TRUE(run.started()) << run.failure();
    ASSERT_TRUE(WaitUntil([&] { return run.StatusText() == "状态："; }, 3000)) << run.StatusText();
    Click(run.Button("开始挂机"));
    Click(run.Button("我要下线"));

    Sleep(1000);
    const ProcessHoldings before = HoldingsOf(run.process().id());
    Sleep(6000);   // six more polls
    const ProcessHoldings after = HoldingsOf(run.process().id());
    ASSERT_TRUE(before.known && after.known);

    EXPECT_TRUE(run.process().Running());
    EXPECT_EQ(run.StatusText(), "状态：");
    EXPECT_EQ(run.VisibleWindows().size(), 1u);   // no message of any kind
    EXPECT_EQ(WindowHeight(run.mainWindow()), 218);
    EXPECT_LT(static_cast<long long>(after.privateBytes) - static_cast<long long>(before.privateBytes),
              2 * 1024 * 1024);
    EXPECT_LT(static_cast<long>(after.handles) - static_cast<long>(before.handles), 20);
}

// The address scheme's handler, registered in the prefix for the test's span.
class TencentSchemeHandler {
public:
    explicit TencentSchemeHandler(const std::string& outputFile) {
        HKEY scheme = nullptr, command = nullptr;
        RegCreateKeyExA(HKEY_CLASSES_ROOT, "tencent", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &scheme, nullptr);
        UniqueRegistryKey schemeKey(scheme);
        SetValue(scheme, nullptr, "URL:tencent Protocol");
        SetValue(scheme, "URL Protocol", "");
        RegCreateKeyExA(scheme, "shell\\open\\command", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &command, nullptr);
        UniqueRegistryKey commandKey(command);
        SetValue(command, nullptr, "\"" + ProgramFolder() + "\\open-recorder.exe\" \"" + outputFile + "\" \"%1\"");
    }
    ~TencentSchemeHandler() { RegDeleteTreeA(HKEY_CLASSES_ROOT, "tencent"); }

private:
    static void SetValue(HKEY key, const char* name, const std::string& value) {
        if (!key) return;
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
    }
};

TEST(ServiceFlowTest, ContactButtonOpensTheTencentAddressOfTheAuthor) {
    TempFolder folder;
    const std::string record = folder.File("opened.txt");
    TencentSchemeHandler handler(record);
    CorvalinRun run;
    ASSERT_TRUE(run.started()) << run.failure();
    Click(run.Button("联系作者"));
    ASSERT_TRUE(WaitUntil([&] { return !ReadWholeFile(record).empty(); }, 10000)) << "the scheme's handler never ran";
    const std::string line = ReadWholeFile(record);
    EXPECT_NE(line.find(std::string("tencent://message/?uin=") + build::kAuthorQq), std::string::npos) << line;
    EXPECT_TRUE(run.process().Running());
}

}  // namespace
}  // namespace corvalin::testing
