#include <memory>
#include <vector>

#include "shell/forms.h"
#include "shell_test_fixture.h"
#include "support/message_pump.h"

namespace corvalin::shell::testing {
namespace {

using corvalin::testing::PumpMessagesFor;
using corvalin::testing::PumpUntil;

using LoadedWindowsTest = ShellTest;

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) children.push_back(child);
    return children;
}

TEST_F(LoadedWindowsTest, MainWindowIsAPlainCentredPopupWithItsCaption) {
    LoadMain();
    HWND main = Handle(kMainWindowId, kMainWindowUnitId);
    ASSERT_TRUE(main);
    EXPECT_EQ(Text(main), "Corvalin");
    RECT r;
    GetWindowRect(main, &r);
    EXPECT_EQ(r.right - r.left, 377);
    EXPECT_EQ(r.bottom - r.top, 218);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 377) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 218) / 2);
    const LONG_PTR style = GetWindowLongPtrA(main, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_MAXIMIZEBOX));
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_TRUE(GetWindowLongPtrA(main, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_FALSE(GetWindowLongPtrA(main, GWL_EXSTYLE) & WS_EX_TOPMOST);
    // This test program carries the program's icon resources too.
    const auto big = reinterpret_cast<HICON>(SendMessageA(main, WM_GETICON, ICON_BIG, 0));
    const auto small = reinterpret_cast<HICON>(SendMessageA(main, WM_GETICON, ICON_SMALL, 0));
    ASSERT_TRUE(big);
    ASSERT_TRUE(small);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(small, &info));
    UniqueBitmap color(info.hbmColor), mask(info.hbmMask);
    BITMAP bitmap{};
    GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, GetSystemMetrics(SM_CXSMICON));
}

TEST_F(LoadedWindowsTest, MainWindowHoldsItsThirteenControlsWithTheirTexts) {
    LoadMain();
    HWND main = Handle(kMainWindowId, kMainWindowUnitId);
    struct Expected { ControlId id; const char* className; const char* text; int left, top, width, height; bool visible; };
    const Expected expected[] = {
        {kStatusLabelId, "Corvalin.TransparentLabel", "状态：软件正在初始化.......", 24, 197, 352, 16, true},
        {kCreditLabelId, "Corvalin.TransparentLabel", nullptr, 240, 88, 152, 40, true},
        {kOfflineButtonId, "Button", "我要下线", 156, 160, 80, 32, true},
        {kContactButtonId, "Button", "联系作者", 289, 160, 80, 32, true},
        {kStartButtonId, "Button", "开始挂机", 31, 160, 80, 32, true},
        {kCaptchaPictureId, "Corvalin.PictureBox", "", 240, 136, 130, 53, true},
        {kCaptchaEditId, "Edit", "", 78, 154, 152, 24, true},
        {kCaptchaCaptionId, "Corvalin.TransparentLabel", "验证码：", 24, 155, 48, 24, true},
        {kPasswordEditId, "Edit", "", 79, 120, 152, 24, true},
        {kAccountEditId, "Edit", "", 79, 87, 152, 24, true},
        {kPasswordCaptionId, "Corvalin.TransparentLabel", "QQ密码：", 24, 120, 48, 24, true},
        {kAccountCaptionId, "Corvalin.TransparentLabel", "QQ帐号：", 24, 88, 48, 24, true},
        {kNoticeLabelId, "Corvalin.TransparentLabel",
         "每天的成长活跃值增加1.5天。可自行查看。。。\r\n目前最长在线7天，7天后需要重新提交！\r\n停止挂机一定要下线否则会挤下线！",
         24, 25, 336, 47, true},
    };
    for (const Expected& e : expected) {
        HWND control = Handle(kMainWindowId, e.id);
        ASSERT_TRUE(control) << std::hex << e.id;
        EXPECT_EQ(GetParent(control), main);
        char className[64] = {};
        GetClassNameA(control, className, sizeof className);
        EXPECT_STREQ(className, e.className);
        if (e.text) {
            EXPECT_EQ(Text(control), e.text);
        }
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, e.left);
        EXPECT_EQ(r.top, e.top);
        EXPECT_EQ(r.right - r.left, e.width);
        EXPECT_EQ(r.bottom - r.top, e.height);
        EXPECT_EQ(IsWindowVisible(control) != FALSE, e.visible);
    }
    EXPECT_EQ(Text(Handle(kMainWindowId, kCreditLabelId)), std::string("软件作者：Tessaly\r\n\r\nQQ：") + build::kAuthorQq);
    // Thirteen visible controls and the hidden browser box; timers have no window.
    const std::vector<HWND> children = Children(main);
    EXPECT_EQ(children.size(), 14u);
    HWND browser = Handle(kMainWindowId, kBrowserBoxId);
    ASSERT_TRUE(browser);
    EXPECT_FALSE(IsWindowVisible(browser));
    EXPECT_EQ(Text(browser), std::string(build::kServiceUrl) + "/");
    EXPECT_EQ(Handle(kMainWindowId, kStatusPollTimerId), nullptr);
    EXPECT_TRUE(GetWindowLongPtrA(Handle(kMainWindowId, kStatusLabelId), GWL_EXSTYLE) & WS_EX_TRANSPARENT);
}

TEST_F(LoadedWindowsTest, ExitConfirmWindowHasNoMinimiseBoxAndItsFourControls) {
    ASSERT_TRUE(LoadWindow(kExitConfirmWindowId, false));
    HWND dialog = Handle(kExitConfirmWindowId, kExitConfirmUnitId);
    EXPECT_EQ(Text(dialog), "友情提示：");
    RECT r;
    GetWindowRect(dialog, &r);
    EXPECT_EQ(r.right - r.left, 144);
    EXPECT_EQ(r.bottom - r.top, 76);
    EXPECT_FALSE(GetWindowLongPtrA(dialog, GWL_STYLE) & WS_MINIMIZEBOX);
    EXPECT_EQ(Text(Handle(kExitConfirmWindowId, kYesButtonId)), "是(Y)");
    EXPECT_EQ(Text(Handle(kExitConfirmWindowId, kNoButtonId)), "否(N)");
    EXPECT_EQ(Text(Handle(kExitConfirmWindowId, kQuestionLabelId)), "您真的要退出么？");
    HWND label = Handle(kExitConfirmWindowId, kHotKeyLabelId);
    ASSERT_TRUE(label);
    EXPECT_FALSE(IsWindowVisible(label));
    EXPECT_EQ(Children(dialog).size(), 4u);
}

TEST_F(LoadedWindowsTest, CreatedRunsAfterEveryControlExists) {
    int created = 0;
    bool controlsExisted = false;
    RegisterEventHandler("OnMainCreated", [&] {
        ++created;
        controlsExisted = GetWindowHandle({kMainWindowId, kNoticeLabelId}) != nullptr;
    });
    LoadMain();
    EXPECT_EQ(created, 1);
    EXPECT_TRUE(controlsExisted);
    // Shown once the handler has run, so its first paint is already the finished one.
    EXPECT_TRUE(IsWindowVisible(GetWindowHandle({kMainWindowId, kMainWindowUnitId})));
    LoadMain();   // already loaded: only shown
    EXPECT_EQ(created, 1);
}

TEST_F(LoadedWindowsTest, ModalLoadDisablesTheOtherWindowsUntilItIsDestroyed) {
    LoadMain();
    HWND main = Handle(kMainWindowId, kMainWindowUnitId);
    UniqueWindow other(CreateWindowExA(0, "Static", "other", WS_POPUP | WS_VISIBLE | WS_DISABLED, 0, 0, 10, 10,
                                       nullptr, nullptr, nullptr, nullptr));
    int ticks = 0;
    bool mainDisabledInside = false;
    std::vector<HWND> dialogs;
    RegisterEventHandler("OnExitConfirmCreated", [&] {
        mainDisabledInside = !IsWindowEnabled(main);
        dialogs.push_back(GetWindowHandle({kExitConfirmWindowId, kExitConfirmUnitId}));
    });
    // The nested loop keeps the main window's timers running; the third tick closes the dialog.
    RegisterEventHandler("OnStatusPoll", [&] {
        if (++ticks % 3 == 0) DestroyLoadedWindow(kExitConfirmWindowId);
    });
    SetControlProperty(kMainWindowId, kStatusPollTimerId, kPropInterval, 20);
    EXPECT_TRUE(LoadWindow(kExitConfirmWindowId, true));
    EXPECT_EQ(ticks, 3);
    EXPECT_TRUE(mainDisabledInside);
    EXPECT_FALSE(IsWindowLoaded(kExitConfirmWindowId));
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_FALSE(IsWindowEnabled(other.get())) << "a window disabled before keeps its state";

    // Loadable again, with fresh controls.
    EXPECT_TRUE(LoadWindow(kExitConfirmWindowId, true));
    EXPECT_EQ(ticks, 6);
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_FALSE(IsWindow(dialogs[0]));
    EXPECT_TRUE(IsWindowEnabled(main));
}

TEST_F(LoadedWindowsTest, DestructionWaitsUntilTheCurrentHandlerReturns) {
    LoadMain();
    bool stillThereInHandler = false;
    bool mayCloseRan = false;
    RegisterEventHandler("OnMainMayClose", [&] { mayCloseRan = true; return false; });
    RegisterEventHandler("SubmitStart", [&] {
        DestroyLoadedWindow(kMainWindowId);
        stillThereInHandler = IsWindowLoaded(kMainWindowId);
    });
    SendMessageA(Handle(kMainWindowId, kStartButtonId), BM_CLICK, 0, 0);
    EXPECT_TRUE(stillThereInHandler);
    EXPECT_TRUE(PumpUntil([] { return !IsWindowLoaded(kMainWindowId); }));
    EXPECT_FALSE(mayCloseRan);
}

TEST_F(LoadedWindowsTest, CloseRequestsAskTheMayCloseHandler) {
    LoadMain();
    HWND main = Handle(kMainWindowId, kMainWindowUnitId);
    int asked = 0;
    RegisterEventHandler("OnMainMayClose", [&] { ++asked; return false; });
    SendMessageA(main, WM_CLOSE, 0, 0);
    SendMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(asked, 2);
    // Esc in a control is the window's close request, and never its key-down event.
    int keys = 0;
    RegisterEventHandler("OnPasswordKey", [&](int, int) { ++keys; });
    SendMessageA(Handle(kMainWindowId, kPasswordEditId), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(PumpUntil([&] { return asked == 3; }));
    EXPECT_EQ(keys, 0);
    EXPECT_TRUE(IsWindowLoaded(kMainWindowId));
    // Without a handler the close goes ahead.
    RegisterEventHandler("OnMainMayClose", EventHandler());
    SendMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowLoaded(kMainWindowId));
}

TEST_F(LoadedWindowsTest, EscClosesTheDialogWithoutAHandler) {
    LoadMain();
    RegisterEventHandler("OnExitConfirmCreated", [] {
        SendMessageA(GetWindowHandle({kExitConfirmWindowId, kYesButtonId}), WM_KEYDOWN, VK_ESCAPE, 0);
    });
    EXPECT_TRUE(LoadWindow(kExitConfirmWindowId, true));
    EXPECT_FALSE(IsWindowLoaded(kExitConfirmWindowId));
    EXPECT_TRUE(IsWindowLoaded(kMainWindowId));
}

TEST_F(LoadedWindowsTest, ControlEventsReachTheirHandlersWithTheirArguments) {
    LoadMain();
    std::vector<std::string> calls;
    auto record = [&](std::string name) { calls.push_back(std::move(name)); };
    RegisterEventHandler("SubmitStart", [&] { record("start"); });
    RegisterEventHandler("SubmitOffline", [&] { record("offline"); });
    RegisterEventHandler("ContactAuthor", [&] { record("contact"); });
    RegisterEventHandler("OnAccountKey", [&](int key, int shift) { record("account " + std::to_string(key) + " " + std::to_string(shift)); });
    RegisterEventHandler("OnCaptchaBoxFocus", [&] { record("captcha focus"); });
    RegisterEventHandler("OnCaptchaPictureClick", [&](int x, int y, int shift) {
        record("picture " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(shift));
    });
    SendMessageA(Handle(kMainWindowId, kStartButtonId), BM_CLICK, 0, 0);
    SendMessageA(Handle(kMainWindowId, kOfflineButtonId), BM_CLICK, 0, 0);
    SendMessageA(Handle(kMainWindowId, kContactButtonId), BM_CLICK, 0, 0);
    SendMessageA(Handle(kMainWindowId, kAccountEditId), WM_KEYDOWN, VK_RETURN, 0);
    SetControlFocus({kMainWindowId, kCaptchaEditId, kKindEditBox});
    SendMessageA(Handle(kMainWindowId, kCaptchaPictureId), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 7));
    // A quick second click arrives as a double click and is a press all the same.
    SendMessageA(Handle(kMainWindowId, kCaptchaPictureId), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(6, 8));
    const std::vector<std::string> expected = {"start",         "offline",       "contact",      "account 13 0",
                                               "captcha focus", "picture 5 7 0", "picture 6 8 0"};
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(GetFocus(), Handle(kMainWindowId, kCaptchaEditId));
}

TEST_F(LoadedWindowsTest, EnumerationFollowsTheFormOrderAndItsFilters) {
    LoadMain();
    ASSERT_TRUE(LoadWindow(kExitConfirmWindowId, false));
    auto list = [](auto... args) { return std::unique_ptr<ControlList, ControlListReleaser>(EnumerateControls(args...)); };

    auto pictures = list(kMainWindowId, std::nullopt, std::string("图片框"), std::nullopt, std::nullopt);
    ASSERT_EQ(ControlListCount(pictures.get()), 1);
    const ControlRef picture = ControlListItem(pictures.get(), 0);
    EXPECT_EQ(picture.windowId, kMainWindowId);
    EXPECT_EQ(picture.controlId, kCaptchaPictureId);
    EXPECT_EQ(picture.kind, kKindPictureBox);
    EXPECT_EQ(GetWindowHandle(picture), Handle(kMainWindowId, kCaptchaPictureId));
    const ControlRef outside = ControlListItem(pictures.get(), 1);
    EXPECT_EQ(outside.windowId, 0u);
    EXPECT_EQ(outside.controlId, 0u);
    EXPECT_EQ(outside.kind, kKindWindow);

    auto edits = list(kMainWindowId, std::string("编辑框"), std::nullopt, std::nullopt, std::nullopt);
    ASSERT_EQ(ControlListCount(edits.get()), 3);
    EXPECT_EQ(ControlListItem(edits.get(), 0).controlId, kCaptchaEditId);
    EXPECT_EQ(ControlListItem(edits.get(), 1).controlId, kPasswordEditId);
    EXPECT_EQ(ControlListItem(edits.get(), 2).controlId, kAccountEditId);

    SetControlProperty(kMainWindowId, kPasswordEditId, kPropTag, "5");
    auto tagged = list(kMainWindowId, std::string("编辑框"), std::nullopt, 1, 10);
    ASSERT_EQ(ControlListCount(tagged.get()), 1);
    EXPECT_EQ(ControlListItem(tagged.get(), 0).controlId, kPasswordEditId);

    auto labels = list(kExitConfirmWindowId, std::nullopt, std::string("标签"), std::nullopt, std::nullopt);
    ASSERT_EQ(ControlListCount(labels.get()), 1);
    EXPECT_EQ(ControlListItem(labels.get(), 0).controlId, kHotKeyLabelId);

    // Timers have no window; nothing matches a missing kind, nor an unloaded window.
    EXPECT_EQ(list(kMainWindowId, std::string("时钟"), std::nullopt, std::nullopt, std::nullopt).get(), nullptr);
    EXPECT_EQ(list(kMainWindowId, std::nullopt, std::string("外形框"), std::nullopt, std::nullopt).get(), nullptr);
    auto all = list(kMainWindowId, std::nullopt, std::nullopt, std::nullopt, std::nullopt);
    EXPECT_EQ(ControlListCount(all.get()), 14);
    DestroyWindow(Handle(kExitConfirmWindowId, kExitConfirmUnitId));
    EXPECT_EQ(list(kExitConfirmWindowId, std::nullopt, std::nullopt, std::nullopt, std::nullopt).get(), nullptr);
}

// Stands in for the page engine's class: records the windows created with it.
std::vector<std::string> browserBoxesCreated;
LRESULT CALLBACK RecordingBrowserBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) browserBoxesCreated.push_back(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpszName);
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(LoadedWindowsTest, TheBrowserBoxUsesThePageEnginesClassWhenItIsRegistered) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = RecordingBrowserBoxProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "Corvalin.BrowserBox";
    ASSERT_TRUE(RegisterClassExA(&wc));
    browserBoxesCreated.clear();
    LoadMain();
    HWND box = Handle(kMainWindowId, kBrowserBoxId);
    char className[64] = {};
    GetClassNameA(box, className, sizeof className);
    EXPECT_STREQ(className, "Corvalin.BrowserBox");
    EXPECT_EQ(browserBoxesCreated, std::vector<std::string>{std::string(build::kServiceUrl) + "/"});
    EXPECT_FALSE(GetWindowLongPtrA(box, GWL_STYLE) & WS_VISIBLE);
    DestroyWindow(Handle(kMainWindowId, kMainWindowUnitId));
    UnregisterClassA("Corvalin.BrowserBox", GetModuleHandleA(nullptr));
}

TEST_F(LoadedWindowsTest, WindowHandlesOfWindowsNotLoadedAreNull) {
    EXPECT_EQ(GetWindowHandle({kMainWindowId, kMainWindowUnitId}), nullptr);
    EXPECT_EQ(GetWindowHandle({kMainWindowId, kAccountEditId}), nullptr);
    EXPECT_FALSE(LoadWindow(0x52019999, false));
}

}  // namespace
}  // namespace corvalin::shell::testing
