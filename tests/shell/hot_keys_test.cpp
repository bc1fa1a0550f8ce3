#include "shell_test_fixture.h"
#include "support/message_pump.h"

namespace corvalin::shell::testing {
namespace {

using corvalin::testing::PumpUntil;

using HotKeysTest = ShellTest;

// Keys nobody else in the test session holds.
constexpr int kCtrlAlt = 1 + 4;

void PressCtrlAlt(int key) {
    INPUT inputs[6] = {};
    const WORD keys[3] = {VK_CONTROL, VK_MENU, static_cast<WORD>(key)};
    for (int i = 0; i < 3; ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = keys[i];
        inputs[5 - i].type = INPUT_KEYBOARD;
        inputs[5 - i].ki.wVk = keys[i];
        inputs[5 - i].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    SendInput(6, inputs, sizeof(INPUT));
}

// One test: the identifiers come from one counter for the whole process.
TEST_F(HotKeysTest, IdentifiersCountUpAndTheLatestLabelGetsTheFeedback) {
    LoadMain();
    ASSERT_TRUE(LoadWindow(kExitConfirmWindowId, false));
    HWND dialog = Handle(kExitConfirmWindowId, kExitConfirmUnitId);
    HWND label = Handle(kExitConfirmWindowId, kHotKeyLabelId);
    std::vector<std::pair<int, int>> feedback;
    RegisterEventHandler("OnHotKeyFeedback", [&](int id, int second) { feedback.emplace_back(id, second); });

    EXPECT_EQ(RegisterLabelHotKey(dialog, label, kCtrlAlt, 'J'), 33001);
    EXPECT_EQ(RegisterLabelHotKey(dialog, label, kCtrlAlt, 'J'), 0) << "the same key twice is refused";
    EXPECT_EQ(RegisterLabelHotKey(dialog, label, kCtrlAlt, 'K'), 33003);

    PressCtrlAlt('K');
    ASSERT_TRUE(PumpUntil([&] { return !feedback.empty(); }, 3000));
    EXPECT_EQ(feedback[0], std::make_pair(33003, 0));

    // The keys go with their window: a fresh dialog gets them again.
    DestroyLoadedWindow(kExitConfirmWindowId);
    ASSERT_TRUE(PumpUntil([] { return !IsWindowLoaded(kExitConfirmWindowId); }));
    ASSERT_TRUE(LoadWindow(kExitConfirmWindowId, false));
    dialog = Handle(kExitConfirmWindowId, kExitConfirmUnitId);
    label = Handle(kExitConfirmWindowId, kHotKeyLabelId);
    EXPECT_EQ(RegisterLabelHotKey(dialog, label, kCtrlAlt, 'J'), 33004);
    EXPECT_EQ(RegisterLabelHotKey(dialog, label, kCtrlAlt, 'K'), 33005);
    feedback.clear();
    PressCtrlAlt('J');
    ASSERT_TRUE(PumpUntil([&] { return !feedback.empty(); }, 3000));
    EXPECT_EQ(feedback[0], std::make_pair(33004, 0));
}

}  // namespace
}  // namespace corvalin::shell::testing
