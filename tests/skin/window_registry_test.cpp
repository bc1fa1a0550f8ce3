#include <gtest/gtest.h>
#include "skin/skin_test_environment.h"
#include "skin/skin_window_list.h"

namespace corvalin {
namespace {

using testing::CreateTestControl;
using testing::CreateTestWindow;

LRESULT CALLBACK PassOnProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallPreviousProc(window, message, wParam, lParam);
}
LRESULT CALLBACK PassOnStaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallPreviousStaticProc(window, message, wParam, lParam);
}

class WindowRegistryTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (HWND window : windows_)
            if (IsWindow(window)) DestroyWindow(window);
        EXPECT_TRUE(SkinWindowList.empty()) << "every destroyed window leaves the registry";
        SkinWindowList.clear();
    }
    // A top-level window registered the way SkinWindow registers one.
    HWND SkinnedWindow() {
        HWND window = CreateTestWindow(nullptr, 10, 10, 300, 200);
        windows_.push_back(window);
        SkinWindowRecord record;
        record.window = window;
        const int n = AppendWindowRecord(std::move(record));
        SetPropValue(window, kPropListId, n);
        return window;
    }
    std::vector<HWND> windows_;
};

TEST_F(WindowRegistryTest, FirstControlFillsThePlaceholderAndLaterOnesAppend) {
    HWND window = SkinnedWindow();
    HWND first = CreateTestControl(window, "BUTTON", 5, 5, 80, 24);
    HWND second = CreateTestControl(window, "BUTTON", 5, 40, 80, 24);
    SkinWindowRecord& record = WindowRecord(1);
    ASSERT_EQ(record.buttons.Count(), 1) << "the placeholder";
    EXPECT_EQ(record.buttons[1].window, nullptr);

    const auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(first, GWLP_WNDPROC));
    EXPECT_EQ(RegisterControl(record.buttons, 1, first, PassOnProc), 1);
    EXPECT_EQ(record.buttons.Count(), 1);
    EXPECT_EQ(RegisterControl(record.buttons, 1, second, PassOnProc), 2);
    EXPECT_EQ(record.buttons.Count(), 2);
    EXPECT_EQ(RegisterControl(record.buttons, 1, first, PassOnProc), 0) << "registered once";
    EXPECT_EQ(record.buttons.Count(), 2);

    EXPECT_EQ(GetPropValue(first, kPropListId), 1);
    EXPECT_EQ(GetPropValue(second, kPropListId), 2);
    EXPECT_EQ(GetPropValue(second, kPropOwnerId), 1);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetPropA(first, kPropPreviousProc)), original);
    EXPECT_EQ(record.buttons[1].previousProc, original);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(first, GWLP_WNDPROC)), PassOnProc);

    // Messages the family does not answer reach the control's own procedure.
    SetWindowTextA(first, "开始挂机");
    char text[32] = {};
    GetWindowTextA(first, text, sizeof(text));
    EXPECT_STREQ(text, "开始挂机");

    // Another family of the same window starts from its own placeholder.
    HWND edit = CreateTestControl(window, "Edit", 5, 80, 80, 20);
    EXPECT_EQ(RegisterControl(record.edits, 1, edit, PassOnProc), 1);
}

TEST_F(WindowRegistryTest, DestroyingTheFirstWindowRenumbersTheSecondAndItsControls) {
    HWND first = SkinnedWindow();
    HWND second = SkinnedWindow();
    HWND button = CreateTestControl(second, "BUTTON", 5, 5, 80, 24);
    HWND edit = CreateTestControl(second, "Edit", 5, 40, 80, 20);
    HWND group = CreateTestControl(second, "BUTTON", 100, 5, 150, 150, BS_GROUPBOX);
    HWND inner = CreateTestControl(group, "BUTTON", 10, 20, 80, 24);
    HWND label = CreateTestControl(second, "Static", 5, 70, 80, 20);
    SkinWindowRecord& record = WindowRecord(2);
    RegisterControl(record.buttons, 2, button, PassOnProc);
    RegisterControl(record.buttons, 2, inner, PassOnProc);
    RegisterControl(record.edits, 2, edit, PassOnProc);
    RegisterControl(record.containers, 2, group, PassOnProc);
    RegisterStaticControl(record.statics, 2, label, PassOnStaticProc);
    ASSERT_EQ(GetPropValue(second, kPropListId), 2);
    ASSERT_EQ(GetPropValue(label, kPropStaticOwnerId), 2);

    DestroyWindow(first);

    ASSERT_EQ(SkinWindowCount(), 1);
    EXPECT_EQ(WindowRecord(1).window, second);
    EXPECT_EQ(FindWindowRecord(first), 0);
    EXPECT_EQ(FindWindowRecord(second), 1);
    EXPECT_EQ(GetPropValue(second, kPropListId), 1);
    for (HWND control : {button, inner, edit, group}) EXPECT_EQ(GetPropValue(control, kPropOwnerId), 1);
    EXPECT_EQ(GetPropValue(label, kPropStaticOwnerId), 1);
    EXPECT_EQ(GetPropValue(inner, kPropListId), 2) << "family numbers stay";
}

TEST_F(WindowRegistryTest, OwnerLookupWalksParentsAndEndsWithoutASkinnedWindow) {
    HWND skinned = SkinnedWindow();
    HWND panel = CreateTestWindow(skinned, 0, 0, 100, 100);
    HWND deep = CreateTestControl(panel, "BUTTON", 1, 1, 20, 20);
    EXPECT_EQ(FindOwnerRecord(deep), 1);
    EXPECT_EQ(FindOwnerRecord(skinned), 0) << "a window is not its own owner";

    HWND plain = CreateTestWindow(nullptr, 0, 0, 100, 100);
    windows_.push_back(plain);
    HWND nested = CreateTestWindow(plain, 0, 0, 50, 50);
    HWND control = CreateTestControl(nested, "Edit", 1, 1, 20, 20);
    EXPECT_EQ(FindOwnerRecord(control), 0);
    EXPECT_EQ(FindOwnerRecord(nullptr), 0);
    EXPECT_EQ(FindWindowRecord(plain), 0);
    UnskinWindow(plain);   // not registered: nothing happens
    EXPECT_EQ(SkinWindowCount(), 1);
}

TEST_F(WindowRegistryTest, UnskinningReleasesTheWindowsCachesAndEditBrushes) {
    HWND window = SkinnedWindow();
    HWND edit = CreateTestControl(window, "Edit", 5, 5, 80, 20);
    SkinWindowRecord& record = WindowRecord(1);
    RegisterControl(record.edits, 1, edit, PassOnProc);
    // The windows' own objects are the system's; only the skin's are counted.
    const DWORD before = testing::GdiObjectCount();
    SetPropA(edit, kPropColorBrush, CreateSolidBrush(RGB(1, 2, 3)));
    SetPropA(edit, kPropColorBrushBitmap, CreateBitmap(4, 4, 1, 32, nullptr));
    // The background cache as the painter keeps it: its bitmaps also in properties.
    ASSERT_TRUE(record.backgroundCache.EnsureDc());
    record.backgroundCache.ReplaceBitmap(UniqueBitmap(CreateBitmap(300, 200, 1, 32, nullptr)));
    SetPropA(window, kPropBackgroundOriginal, record.backgroundCache.original());
    SetPropA(window, kPropBackgroundBitmap, record.backgroundCache.bitmap());
    record.backgroundCache.ReplaceBitmap(UniqueBitmap(CreateBitmap(300, 200, 1, 32, nullptr)));   // a rebuild
    SetPropA(window, kPropBackgroundBitmap, record.backgroundCache.bitmap());
    ASSERT_TRUE(record.captionCopy.Create(300, 25));
    ASSERT_TRUE(record.menuBarCopy.Create(300, 20));
    EXPECT_GT(testing::GdiObjectCount(), before + 6);

    UnskinWindow(window);
    EXPECT_EQ(SkinWindowCount(), 0);
    EXPECT_EQ(testing::GdiObjectCount(), before);
    EXPECT_EQ(GetPropA(edit, kPropColorBrush), nullptr);
    EXPECT_EQ(GetPropA(window, kPropBackgroundBitmap), nullptr);
}

}  // namespace
}  // namespace corvalin
