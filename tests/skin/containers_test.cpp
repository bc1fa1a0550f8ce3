#include <gtest/gtest.h>

#include "skin/families/control_families.h"
#include "skin/skin_engine.h"
#include "skin/skin_settings.h"
#include "skin/skin_window_list.h"
#include "skin/skinned_host.h"

namespace corvalin::testing {
namespace {

class ContainerTest : public ::testing::Test {
protected:
    HWND AddGroupBox(const char* caption, DWORD alignment = 0, int x = 20, int y = 20, int w = 200, int h = 120) {
        return host.AddChild("BUTTON", caption, BS_GROUPBOX | alignment, x, y, w, h);
    }
    SkinContainerRecord& Record(HWND container) {
        auto& list = WindowRecord(host.number()).containers;
        return list[list.Find(container)];
    }
    bool HasUpdateRegion(HWND window) { return GetUpdateRect(window, nullptr, FALSE) != FALSE; }
    SkinnedHost host;
    SkinEngine& engine = *TheSkinEngine;
};

TEST_F(ContainerTest, SkinningTwiceRegistersOnce) {
    HWND group = AddGroupBox("box");
    const int first = engine.SkinContainer(group, std::nullopt, 0, 75);
    const int second = engine.SkinContainer(group, std::nullopt, 0, 75);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 1);
    EXPECT_EQ(WindowRecord(host.number()).containers.Count(), 1);
    const SkinContainerRecord& record = Record(group);
    EXPECT_EQ(record.groupBox, 1);
    EXPECT_EQ(record.containerFlag, 1);
    EXPECT_EQ(record.panelOpacity, 75);
    EXPECT_EQ(reinterpret_cast<INT_PTR>(GetPropA(group, "Hw_FuID")), host.number());
    EXPECT_EQ(reinterpret_cast<INT_PTR>(GetPropA(group, "Hw_lbID")), 1);
}

TEST_F(ContainerTest, ControlsInsideAreSkinnedLikeControlsOnTheWindow) {
    HWND group = AddGroupBox("box");
    HWND button = host.AddChild("BUTTON", "inside", BS_PUSHBUTTON, 10, 20, 80, 28, group);
    HWND edit = host.AddChild("Edit", "", WS_BORDER, 10, 60, 100, 22, group);
    engine.SkinContainer(group, std::nullopt, 0, 75);
    const auto& record = WindowRecord(host.number());
    EXPECT_NE(record.buttons.Find(button), 0);
    EXPECT_NE(record.edits.Find(edit), 0);
    EXPECT_EQ(GetWindowLongA(button, GWL_STYLE) & 0xF, BS_OWNERDRAW);
    EXPECT_EQ(reinterpret_cast<INT_PTR>(GetPropA(button, "Hw_FuID")), host.number());
}

TEST_F(ContainerTest, GroupBoxCaptionInterruptsTheFrameWhereItsAlignmentPutsIt) {
    struct Case {
        DWORD alignment;
        bool left, centre, right;   // where the frame line is interrupted
    };
    const Case cases[] = {{0, false, false, true}, {BS_LEFT, true, false, false}, {BS_CENTER, false, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.alignment);
        const int w = 240;
        HWND group = AddGroupBox("ooo", c.alignment, 20, 20, w, 120);
        engine.SkinContainer(group, std::nullopt, 0, 75);
        RedrawWindow(group, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        Settle();
        // Row 5 is the outer frame line: black at alpha 40 over the skin.
        auto interrupted = [&](int x) {
            return ColorDistance(ScreenPixel(group, x, 5), SkinnedHost::Background(20 + x, 20 + 5)) <= 2;
        };
        EXPECT_EQ(interrupted(13), c.left);
        EXPECT_EQ(interrupted(w / 2), c.centre);
        EXPECT_EQ(interrupted(w - 13), c.right);
        EXPECT_FALSE(interrupted(w / 4 + 20) && interrupted(3 * w / 4 - 20)) << "the frame runs elsewhere";
        DestroyWindow(group);
    }
}

TEST_F(ContainerTest, MovingRepaintsOnlyTranslucentPanels) {
    HWND opaque = AddGroupBox("a", 0, 10, 10, 100, 60);
    HWND translucent = AddGroupBox("b", 0, 120, 10, 100, 60);
    engine.SkinContainer(opaque, std::nullopt, 0, std::nullopt);
    engine.SkinContainer(translucent, std::nullopt, 0x0000FF, 75);
    Settle();
    for (HWND w : {opaque, translucent}) {
        ValidateRect(w, nullptr);
        SendMessageA(w, WM_MOVE, 0, MAKELPARAM(10, 10));
    }
    EXPECT_FALSE(HasUpdateRegion(opaque));
    EXPECT_TRUE(HasUpdateRegion(translucent));
}

TEST_F(ContainerTest, OpacityChangesOnlyPanelsWithAColour) {
    HWND plain = AddGroupBox("a", 0, 10, 10, 100, 60);
    HWND coloured = AddGroupBox("b", 0, 120, 10, 100, 60);
    engine.SkinContainer(plain, std::nullopt, 0, 75);
    engine.SkinContainer(coloured, std::nullopt, 0x00FF00, 75);
    Settle();
    ValidateRect(plain, nullptr);
    ValidateRect(coloured, nullptr);
    engine.SetContainerOpacity(plain, 0x1C8);
    engine.SetContainerOpacity(coloured, 0x1C8);
    EXPECT_EQ(Record(plain).panelOpacity, 75);
    EXPECT_FALSE(HasUpdateRegion(plain));
    EXPECT_EQ(Record(coloured).panelOpacity, 0xC8);
    EXPECT_TRUE(HasUpdateRegion(coloured));
    // A window that is no container at all is left alone.
    HWND stranger = host.AddChild("STATIC", "", 0, 0, 0, 10, 10);
    engine.SetContainerOpacity(stranger, 10);
}

TEST_F(ContainerTest, TextColourGoesToTheControlOrTheEditOfACombo) {
    HWND edit = host.AddChild("Edit", "", WS_BORDER, 10, 10, 80, 22);
    HWND combo = host.AddChild("ComboBox", "", CBS_DROPDOWN, 10, 40, 120, 120);
    HWND list = host.AddChild("ComboBox", "", CBS_DROPDOWNLIST, 10, 70, 120, 120);
    engine.SetControlTextColor(edit, 0x123456);
    engine.SetControlTextColor(combo, 0x654321);
    engine.SetControlTextColor(list, 0x111111);
    engine.SetControlTextColor(nullptr, 0x222222);
    EXPECT_EQ(reinterpret_cast<INT_PTR>(GetPropA(edit, "Kj_Ztys")), 0x123456);
    EXPECT_EQ(reinterpret_cast<INT_PTR>(GetPropA(FindWindowExA(combo, nullptr, "Edit", nullptr), "Kj_Ztys")), 0x654321);
    EXPECT_EQ(GetPropA(combo, "Kj_Ztys"), nullptr);
    EXPECT_EQ(GetPropA(list, "Kj_Ztys"), nullptr);
}

TEST_F(ContainerTest, OwnerDrawnListBoxesGetNoTransparentBrush) {
    HWND group = AddGroupBox("lists", 0, 10, 10, 280, 150);
    HWND plain = host.AddChild("ListBox", "", 0, 10, 20, 100, 80, group);
    HWND ownerDrawn = host.AddChild("ListBox", "", LBS_OWNERDRAWFIXED, 130, 20, 100, 80, group);
    engine.SkinContainer(group, std::nullopt, 0, 75);
    HDC dc = GetDC(plain);
    const HGDIOBJ none = GetStockObject(NULL_BRUSH);
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(group, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc),
                                                     reinterpret_cast<LPARAM>(plain))),
              none);
    EXPECT_NE(reinterpret_cast<HGDIOBJ>(SendMessageA(group, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc),
                                                     reinterpret_cast<LPARAM>(ownerDrawn))),
              none);
    EXPECT_EQ(GetPropA(ownerDrawn, "Kj_dxjb"), nullptr);
    ReleaseDC(plain, dc);
}

}  // namespace
}  // namespace corvalin::testing
