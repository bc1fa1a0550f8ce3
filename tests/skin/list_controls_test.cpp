#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "skin/families/control_families.h"
#include "skin/skin_settings.h"
#include "skin/skin_window_list.h"
#include "skin/skinned_host.h"
#include "support/message_pump.h"

namespace corvalin::testing {
namespace {

constexpr COLORREF kAccent = 0x00DDCA22;

class ListControlsTest : public ::testing::Test {
protected:
    ListControlsTest() {
        INITCOMMONCONTROLSEX init{sizeof init, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_INTERNET_CLASSES |
                                                   ICC_DATE_CLASSES};
        InitCommonControlsEx(&init);
    }
    HWND Add(const char* className, DWORD style, int x, int y, int w, int h, DWORD exStyle = 0) {
        return host.AddChild(className, "", style, x, y, w, h, nullptr, exStyle);
    }
    void SkinAndPaint() {
        SkinControlFamilies(host.number(), host.window());
        RedrawWindow(host.window(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Settle();
    }
    static COLORREF Behind(HWND control, int x, int y) {
        POINT p{x, y};
        MapWindowPoints(control, GetParent(control), &p, 1);
        return SkinnedHost::Background(p.x, p.y);
    }
    static COLORREF FramePixel(HWND control, int x, int y) {
        HDC dc = GetWindowDC(control);
        const COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(control, dc);
        return c;
    }
    SkinnedHost host{420, 300};
};

TEST_F(ListControlsTest, RegistersEachListClassAndTheDropDownListOfCombosThatAreNotOwnerDrawn) {
    HWND list = Add("ListBox", WS_BORDER, 10, 10, 100, 60);
    HWND combo = Add("ComboBox", CBS_DROPDOWNLIST, 120, 10, 100, 120);
    HWND ownerCombo = Add("ComboBox", CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, 230, 10, 100, 120);
    HWND view = Add(WC_LISTVIEWA, LVS_REPORT, 10, 80, 150, 80);
    HWND tree = Add(WC_TREEVIEWA, 0, 170, 80, 100, 80);
    HWND ip = Add(WC_IPADDRESSA, 0, 10, 170, 150, 22);
    HWND date = Add(DATETIMEPICK_CLASSA, 0, 170, 170, 150, 22);
    SkinAndPaint();
    COMBOBOXINFO info{sizeof info};
    ASSERT_TRUE(GetComboBoxInfo(combo, &info));
    COMBOBOXINFO ownerInfo{sizeof ownerInfo};
    ASSERT_TRUE(GetComboBoxInfo(ownerCombo, &ownerInfo));

    const auto& lists = WindowRecord(host.number()).listControls;
    int expected = 1;
    for (HWND control : {list, info.hwndList, view, tree, ip, date}) {
        SCOPED_TRACE(expected);
        EXPECT_EQ(lists.Find(control), expected);
        EXPECT_EQ(reinterpret_cast<INT_PTR>(GetPropA(control, "Hw_lbID")), expected);
        EXPECT_EQ(reinterpret_cast<INT_PTR>(GetPropA(control, "Hw_FuID")), host.number());
        EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(control, GWLP_WNDPROC)), SkinListProc);
        ++expected;
    }
    EXPECT_EQ(lists.Find(ownerInfo.hwndList), 0);
    // The veil keys: a list view's text without background, a tree view in magenta.
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(view, LVM_GETTEXTBKCOLOR, 0, 0)), CLR_NONE);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(tree, TVM_GETBKCOLOR, 0, 0)), RGB(255, 0, 255));
    // Registering again changes nothing.
    SkinListControls(host.number(), host.window());
    EXPECT_EQ(WindowRecord(host.number()).listControls.Count(), 6);
}

TEST_F(ListControlsTest, TreeViewShowsTheSkinThroughItsMagentaAndKeepsItsItems) {
    HWND tree = Add(WC_TREEVIEWA, TVS_HASLINES, 20, 20, 200, 160);
    TVINSERTSTRUCTA insert{};
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<char*>("MMMMMMMM");
    SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert));
    SkinAndPaint();

    RECT client;
    GetClientRect(tree, &client);
    int dark = 0;
    for (int y = 0; y < client.bottom; y += 3)
        for (int x = 0; x < client.right; x += 3) {
            const COLORREF c = ScreenPixel(tree, x, y);
            ASSERT_NE(c, RGB(255, 0, 255)) << x << "," << y;
        }
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < client.right; ++x) {
            const COLORREF c = ScreenPixel(tree, x, y);
            if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 150) ++dark;
        }
    EXPECT_GT(dark, 0);   // the item's text is drawn opaque
    // Below the items the picture shows under the veil.
    for (POINT at : {POINT{100, 100}, POINT{150, 140}, POINT{30, 120}})
        EXPECT_LE(ColorDistance(ScreenPixel(tree, at.x, at.y), Veiled(Behind(tree, at.x, at.y), 75)), 4)
            << at.x << "," << at.y;
}

// A list box fills its item rows itself; a list view draws its text without
// a background, so the skin shows all over it.
TEST_F(ListControlsTest, ScrollingAListRepaintsItWhole) {
    HWND list = Add(WC_LISTVIEWA, LVS_REPORT | LVS_NOCOLUMNHEADER, 20, 20, 160, 100);
    LVCOLUMNA column{};
    column.mask = LVCF_WIDTH;
    column.cx = 40;
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    for (int i = 0; i < 30; ++i) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = const_cast<char*>("i");
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    SkinAndPaint();
    RECT client;
    GetClientRect(list, &client);
    RECT first{LVIR_BOUNDS};
    SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    const int itemHeight = first.bottom - first.top;
    const int x = client.right - 10;
    auto matchesSkin = [&] {
        for (int y = 2; y < client.bottom - 2; y += 5)
            if (ColorDistance(ScreenPixel(list, x, y), Veiled(Behind(list, x, y), 75)) > 4) return false;
        return true;
    };
    ASSERT_TRUE(matchesSkin());
    // A scrolled copy of the old pixels would sit itemHeight rows off: the
    // pattern differs there, so only a full repaint passes.
    ASSERT_GT(ColorDistance(Veiled(Behind(list, x, 10), 75), Veiled(Behind(list, x, 10 + 3 * itemHeight), 75)), 8);
    for (int i = 0; i < 3; ++i) SendMessageA(list, WM_VSCROLL, SB_LINEDOWN, 0);
    Settle();
    EXPECT_EQ(SendMessageA(list, LVM_GETTOPINDEX, 0, 0), 3);
    EXPECT_TRUE(matchesSkin());
    SendMessageA(list, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    Settle();
    EXPECT_TRUE(matchesSkin());
}

TEST_F(ListControlsTest, FrameIsDrawnOverTheBorderAndTakesTheAccentUnderTheMouse) {
    HWND list = Add("ListBox", 0, 20, 20, 160, 100, WS_EX_CLIENTEDGE);
    SkinAndPaint();
    RECT window;
    GetWindowRect(list, &window);
    const int midX = (window.right - window.left) / 2;
    // Black at alpha 90 over the veiled skin.
    const COLORREF veiled = Veiled(Behind(list, midX - 2, -2), 75);
    const COLORREF normal = FramePixel(list, midX, 0);
    EXPECT_LE(ColorDistance(normal, RGB(GetRValue(veiled) * 165 / 255, GetGValue(veiled) * 165 / 255,
                                        GetBValue(veiled) * 165 / 255)), 4);
    MoveMouseTo(list, 40, 40);
    EXPECT_EQ(WindowRecord(host.number()).listControls[1].hot, 1);
    EXPECT_LT(ColorDistance(FramePixel(list, midX, 0), kAccent), 45);
    MoveMouseTo(host.window(), 400, 290);
    EXPECT_TRUE(PumpUntil([&] { return ColorDistance(FramePixel(list, midX, 0), normal) <= 2; }, 3000));
}

TEST_F(ListControlsTest, WithoutTheVeilListsPaintThemselves) {
    SkinVeilOn = 0;
    HWND list = Add("ListBox", 0, 20, 20, 160, 100);
    HWND tree = Add(WC_TREEVIEWA, 0, 200, 20, 160, 100);
    SkinAndPaint();
    EXPECT_NE(static_cast<COLORREF>(SendMessageA(tree, TVM_GETBKCOLOR, 0, 0)), RGB(255, 0, 255));
    EXPECT_EQ(ScreenPixel(list, 80, 80), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(ScreenPixel(tree, 80, 80), GetSysColor(COLOR_WINDOW));
}

}  // namespace
}  // namespace corvalin::testing
