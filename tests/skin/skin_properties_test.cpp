// The skin's numbers and procedures kept on windows: read back from the
// process copy, present as real window properties, and gone with the window.
#include "skin/skin_properties.h"

#include <gtest/gtest.h>

#include <vector>

namespace corvalin {
namespace {

HWND MakeWindow() {
    return CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

TEST(SkinPropertiesTest, KeptValuesAreRealPropertiesAndGoWithTheirWindow) {
    HWND window = MakeWindow();
    ASSERT_NE(window, nullptr);
    SetPropValue(window, kPropOwnerId, 3);
    SetPropValue(window, kPropListId, 7);
    SetPropValue(window, kPropTextColor, 0x123456);   // not kept: straight to the window
    EXPECT_EQ(GetPropValue(window, kPropOwnerId), 3);
    EXPECT_EQ(GetPropValue(window, kPropListId), 7);
    EXPECT_EQ(GetPropValue(window, kPropTextColor), 0x123456);
    EXPECT_EQ(reinterpret_cast<INT_PTR>(GetPropA(window, "Hw_FuID")), 3);
    EXPECT_EQ(reinterpret_cast<INT_PTR>(GetPropA(window, "Hw_lbID")), 7);
    SetPropValue(window, kPropListId, 8);   // renumbered
    EXPECT_EQ(GetPropValue(window, kPropListId), 8);
    // Read from the process copy, not the window server: a property taken
    // behind the skin's back still answers, one never kept does not.
    RemovePropA(window, "Hw_lbID");
    RemovePropA(window, "Kj_Ztys");
    EXPECT_EQ(GetPropValue(window, kPropListId), 8);
    EXPECT_EQ(GetPropValue(window, kPropTextColor), 0);
    EXPECT_EQ(GetPropValue(window, kPropStaticListId), 0);   // never written
    DestroyWindow(window);
    EXPECT_EQ(GetPropValue(window, kPropOwnerId), 0);
    EXPECT_EQ(GetPropValue(window, kPropListId), 0);
}

TEST(SkinPropertiesTest, ManyWindowsComingAndGoingLeaveTheLiveOnesRight) {
    std::vector<HWND> live;
    for (int i = 0; i < 300; ++i) {
        HWND window = MakeWindow();
        ASSERT_NE(window, nullptr);
        SetPropValue(window, kPropStaticOwnerId, i + 1);
        if (i % 3 == 0) live.push_back(window);
        else DestroyWindow(window);
    }
    for (size_t k = 0; k < live.size(); ++k) {
        EXPECT_EQ(GetPropValue(live[k], kPropStaticOwnerId), static_cast<INT_PTR>(3 * k + 1));
        DestroyWindow(live[k]);
    }
}

}  // namespace
}  // namespace corvalin
