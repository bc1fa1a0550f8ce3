// The program when the network and the service misbehave: a captcha picture
// that never comes, a service that was down at start-up or restarts under it.
#include <windows.h>

#include <gtest/gtest.h>

#include "client/client_flow_fixture.h"

namespace corvalin::testing {
namespace {

constexpr char kDialogTitle[] = "友情提示：";

// Typing the account and password and clicking "开始挂机" with the service
// holding every captcha picture back; true once the program's request waits there.
bool CaptchaDownloadInFlight(CorvalinRun& run) {
    if (!run.service().StallCaptcha(120000)) return false;
    if (!SubmitUntilCaptcha(run, "12345678", "secret")) return false;
    return WaitUntil([&] { return run.service().StalledCaptchas() == 1; }, 5000);
}

// Mean difference of two client-area pictures outside one rectangle.
double DifferenceOutside(const DecodedPicture& a, const DecodedPicture& b, const RECT& skip) {
    long long total = 0, count = 0;
    for (int y = 0; y < std::min(a.height, b.height); ++y) {
        for (int x = 0; x < std::min(a.width, b.width); ++x) {
            if (x >= skip.left && x < skip.right && y >= skip.top && y < skip.bottom) continue;
            for (int c = 0; c < 3; ++c)
                total += std::abs(a.rgb[(static_cast<std::size_t>(y) * a.width + x) * 3 + c] -
                                  b.rgb[(static_cast<std::size_t>(y) * b.width + x) * 3 + c]);
            count += 3;
        }
    }
    return count ? static_cast<double>(total) / count : 255;
}

TEST(ClientUnderFaultsTest, CaptchaPictureThatNeverComesLeavesTheWindowPaintingAndClosable) {
    CorvalinRun run;
    ASSERT_TRUE(run.started()) << run.failure();
    ASSERT_TRUE(CaptchaDownloadInFlight(run));
    HWND main = run.mainWindow();

    InvalidateRect(main, nullptr, FALSE);
    EXPECT_TRUE(WaitUntil([&] { return !GetUpdateRect(main, nullptr, FALSE); }, 3000)) << "no repaint";
    PostMessageA(main, WM_CLOSE, 0, 0);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (dialog = run.FindOwnWindow(kDialogTitle)) != nullptr; }, 3000))
        << "a close request went unanswered";
    EXPECT_EQ(run.service().StalledCaptchas(), 1) << "the download was still waiting";
    Sleep(300);   // the dialog's created handler runs after it shows
    Click(FindDescendant(dialog, "Button", "是(Y)"));
    EXPECT_EQ(run.process().Wait(5000), 0);
}

TEST(ClientUnderFaultsTest, CaptchaLayoutIsPaintedWholeWhileThePictureIsOnItsWay) {
    CorvalinRun run;
    ASSERT_TRUE(run.started()) << run.failure();
    ASSERT_TRUE(CaptchaDownloadInFlight(run));
    const DecodedPicture during = CaptureClient(run.mainWindow(), 377, 260);

    ASSERT_TRUE(run.service().StallCaptcha(0));
    ASSERT_TRUE(WaitUntil([&] { return run.service().StalledCaptchas() == 0; }, 3000));
    ASSERT_TRUE(WaitUntil([&] { return SessionValue(run, "captchaRequests") == "1"; }, 3000));
    Sleep(500);   // the picture goes into its box
    const DecodedPicture after = CaptureClient(run.mainWindow(), 377, 260);
    // Everything but the picture itself: buttons, captions, boxes and the status line in their new places.
    const RECT picture{240, 136, 370, 189};
    EXPECT_LT(DifferenceOutside(during, after, picture), 2.0);
}

TEST(ClientUnderFaultsTest, AccountNumberReachesTheServiceAsTyped) {
    CorvalinRun run;
    ASSERT_TRUE(run.started()) << run.failure();
    ASSERT_FALSE(WaitForPageSession(run).empty());
    Click(run.AccountBox());
    TypeInto(run.AccountBox(), "98765432109");
    Click(run.PasswordBox());
    TypeInto(run.PasswordBox(), "pw");
    EXPECT_EQ(TextOf(run.AccountBox()), "98765432109");
    Click(run.Button("开始挂机"));
    ASSERT_TRUE(WaitUntil([&] { return SessionValue(run, "starts") == "1"; }, 3000));
    EXPECT_EQ(SessionValue(run, "userqq"), "98765432109");
}

TEST(ClientUnderFaultsTest, StatusLineRecoversWhenTheServiceComesUpAndWhenItRestarts) {
    CorvalinRun run(false);
    ASSERT_TRUE(run.started()) << run.failure();
    ASSERT_TRUE(WaitUntil([&] { return run.StatusText() == "状态："; }, 5000)) << run.StatusText();

    ASSERT_TRUE(run.StartService());
    // The failed page is loaded again within ten seconds.
    ASSERT_FALSE(WaitForPageSession(run, 20000).empty());
    ASSERT_TRUE(WaitUntil([&] { return run.StatusText() == "状态：请输入QQ帐号和密码，然后点击开始挂机"; }, 5000))
        << run.StatusText();

    run.StopService();
    ASSERT_TRUE(run.StartService());
    // The page's next poll meets a service that does not know it, and starts over.
    EXPECT_TRUE(WaitUntil([&] { return run.StatusText() == "状态：会话已失效，请重新开始挂机"; }, 10000))
        << run.StatusText();
}

}  // namespace
}  // namespace corvalin::testing
