#include "shell_test_fixture.h"
#include "support/message_pump.h"

namespace corvalin::shell::testing {
namespace {

using EditBoxTest = ShellTest;

// Typed as the keyboard would: one WM_CHAR per character, through the box's procedure.
void Type(HWND edit, const std::string& text) {
    for (unsigned char c : text) SendMessageA(edit, WM_CHAR, c, 1);
}

// The digits stay as typed, whatever their count: an account number is never clamped to 32 bits.
TEST_F(EditBoxTest, TheAccountBoxTakesIntegersAndKeepsTheirDigitsWhenLeft) {
    LoadMain();
    HWND account = Handle(kMainWindowId, kAccountEditId);
    HWND password = Handle(kMainWindowId, kPasswordEditId);
    struct Case { const char* typed; const char* shown; const char* afterLeaving; };
    const Case cases[] = {
        {"abc", "", ""},
        {"1a2b", "12", "12"},
        {"5000000000", "5000000000", "5000000000"},
        {"-5000000000", "-5000000000", "-5000000000"},
        {"98765432109", "98765432109", "98765432109"},
        {"-007", "-007", "-7"},
        {"-0", "-0", ""},
        {"0", "0", ""},
        {"-", "-", ""},
        {"007", "007", "7"},
        {"12", "12", "12"},
        {"-12", "-12", "-12"},
        {"1-2", "1-2", "1"},
        {"123456789012345", "12345678901", "12345678901"},   // 11 characters at most
    };
    for (const Case& c : cases) {
        SetWindowTextA(account, "");
        SetFocus(account);
        Type(account, c.typed);
        EXPECT_EQ(Text(account), c.shown) << c.typed;
        SetFocus(password);
        EXPECT_EQ(Text(account), c.afterLeaving) << c.typed;
        EXPECT_EQ(GetControlProperty(kMainWindowId, kAccountEditId, kPropText).AsText(), c.afterLeaving);
    }
}

TEST_F(EditBoxTest, PasswordAndCaptchaBoxesTakeSixteenCharacters) {
    LoadMain();
    for (ControlId id : {kPasswordEditId, kCaptchaEditId}) {
        HWND edit = Handle(kMainWindowId, id);
        SetFocus(edit);
        Type(edit, "abcdefghijklmnopqrstuvwxyz");
        EXPECT_EQ(Text(edit), "abcdefghijklmnop");
        SetFocus(Handle(kMainWindowId, kAccountEditId));
        EXPECT_EQ(Text(edit), "abcdefghijklmnop") << "only the integer box is rewritten";
    }
    HWND password = Handle(kMainWindowId, kPasswordEditId);
    EXPECT_TRUE(GetWindowLongPtrA(password, GWL_STYLE) & ES_PASSWORD);
    EXPECT_EQ(SendMessageA(password, EM_GETPASSWORDCHAR, 0, 0), '*');
    EXPECT_FALSE(GetWindowLongPtrA(Handle(kMainWindowId, kCaptchaEditId), GWL_STYLE) & ES_PASSWORD);
}

TEST_F(EditBoxTest, LostFocusComesAfterTheRewrite) {
    LoadMain();
    // 编辑框1 binds no lost-focus handler; its key-down handler sees the rewritten text on the next key.
    HWND account = Handle(kMainWindowId, kAccountEditId);
    std::string seenOnKey;
    RegisterEventHandler("OnAccountKey", [&](int, int) { seenOnKey = GetControlProperty(kMainWindowId, kAccountEditId, kPropText).AsText(); });
    SetFocus(account);
    Type(account, "0042");
    SetFocus(Handle(kMainWindowId, kPasswordEditId));
    SendMessageA(account, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(seenOnKey, "42");
}

// Tab and Shift+Tab walk the edit boxes and buttons in the order they were
// added to the form, skipping what is hidden, and wrap at both ends.
TEST_F(EditBoxTest, TabAndShiftTabMoveTheFocusInFormOrder) {
    LoadMain();
    auto press = [](bool shift) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        HWND from = GetFocus();
        SendMessageA(from, WM_KEYDOWN, VK_TAB, 1);
        SendMessageA(GetFocus(), WM_CHAR, '\t', 1);
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
    };
    ShowWindow(Handle(kMainWindowId, kCaptchaEditId), SW_HIDE);
    const ControlId forward[] = {kAccountEditId, kPasswordEditId, kStartButtonId, kContactButtonId,
                                 kOfflineButtonId, kAccountEditId};
    SetFocus(Handle(kMainWindowId, kAccountEditId));
    for (std::size_t i = 1; i < std::size(forward); ++i) {
        press(false);
        EXPECT_EQ(GetFocus(), Handle(kMainWindowId, forward[i])) << "step " << i;
    }
    press(true);
    EXPECT_EQ(GetFocus(), Handle(kMainWindowId, kOfflineButtonId)) << "Shift+Tab wraps back";
    press(true);
    EXPECT_EQ(GetFocus(), Handle(kMainWindowId, kContactButtonId));
    ShowWindow(Handle(kMainWindowId, kCaptchaEditId), SW_SHOW);
    SetFocus(Handle(kMainWindowId, kPasswordEditId));
    press(false);
    EXPECT_EQ(GetFocus(), Handle(kMainWindowId, kCaptchaEditId)) << "a shown captcha box takes its turn";
    EXPECT_EQ(Text(Handle(kMainWindowId, kPasswordEditId)), "") << "no tab character was typed";
}

TEST_F(EditBoxTest, EditBoxesAreRedOnWhite) {
    LoadMain();
    HWND main = Handle(kMainWindowId, kMainWindowUnitId);
    for (ControlId id : {kAccountEditId, kPasswordEditId, kCaptchaEditId}) {
        HWND edit = Handle(kMainWindowId, id);
        UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
        const auto brush = reinterpret_cast<HBRUSH>(SendMessageA(main, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc.get()),
                                                                 reinterpret_cast<LPARAM>(edit)));
        ASSERT_TRUE(brush);
        LOGBRUSH info{};
        GetObjectA(brush, sizeof info, &info);
        EXPECT_EQ(info.lbColor, RGB(255, 255, 255));
        EXPECT_EQ(GetTextColor(dc.get()), RGB(255, 0, 0));
        EXPECT_EQ(GetBkColor(dc.get()), RGB(255, 255, 255));
    }
}

}  // namespace
}  // namespace corvalin::shell::testing
