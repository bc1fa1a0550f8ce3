#include <gtest/gtest.h>

#include "skin/families/control_families.h"
#include "skin/skin_engine.h"
#include "skin/skin_window_list.h"
#include "skin/skinned_host.h"
#include "support/gui_objects.h"

namespace corvalin::testing {
namespace {

DWORD GdiObjects() { return GdiObjectCount(); }
DWORD UserObjects() { return UserObjectCount(); }

// Every painter releases what it made: repeated paints of every family leave
// the process's GDI and USER object counts where they were.
TEST(ControlResourcesTest, RepeatedPaintsLeakNothing) {
    SkinnedHost host(360, 240);
    HWND push = host.AddChild("BUTTON", "push", BS_PUSHBUTTON, 10, 10, 80, 30);
    HWND check = host.AddChild("BUTTON", "check", BS_AUTOCHECKBOX, 100, 10, 90, 20);
    HWND radio = host.AddChild("BUTTON", "radio", BS_AUTORADIOBUTTON, 200, 10, 90, 20);
    HWND edit = host.AddChild("Edit", "text", WS_BORDER, 10, 50, 120, 24);
    HWND combo = host.AddChild("ComboBox", "", CBS_DROPDOWNLIST, 140, 50, 120, 100);
    HWND group = host.AddChild("BUTTON", "group", BS_GROUPBOX, 10, 90, 160, 100);
    HWND label = host.AddChild("STATIC", "label", SS_LEFT, 200, 100, 100, 40);
    SkinControlFamilies(host.number(), host.window());
    TheSkinEngine->SkinContainer(group, std::nullopt, 0, 75);
    TheSkinEngine->SkinStaticControl(label, std::nullopt, 0, 75);
    auto paintAll = [&] {
        RepaintButton(push, ODS_FOCUS, true);
        RepaintButton(check, 0, true);
        RepaintButton(radio, 0, false);
        PaintEditFrame(edit, true, false);
        SendMessageA(host.window(), WM_CTLCOLOREDIT, 0, reinterpret_cast<LPARAM>(edit));
        PaintCombo(host.number(), WindowRecord(host.number()).combos.Find(combo), false, true);
        RedrawWindow(host.window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    };
    // The first round creates what lives on (the edit's last brush).
    paintAll();
    Settle();
    const DWORD gdi = GdiObjects(), user = UserObjects();
    for (int i = 0; i < 300; ++i) paintAll();
    Settle();
    EXPECT_EQ(GdiObjects(), gdi);
    EXPECT_EQ(UserObjects(), user);
}

// Labels and check boxes get a veiled brush (and its bitmap) from the colour
// messages; destroyed before their window, they take their properties along,
// and the objects must still go: no more than one dead control's pair lingers
// while the window lives, and none once it is gone.
TEST(ControlResourcesTest, ColourBrushesOfControlsDestroyedFirstGoWithTheWindow) {
    auto createAndDestroy = [](SkinnedHost& host) {
        for (const char* className : {"STATIC", "BUTTON"}) {
            HWND control = host.AddChild(className, "text", className[0] == 'B' ? BS_AUTOCHECKBOX : SS_LEFT, 20, 20,
                                         100, 20);
            SendMessageA(host.window(), WM_CTLCOLORSTATIC, 0, reinterpret_cast<LPARAM>(control));
            DestroyWindow(control);
        }
    };
    {
        SkinnedHost warmUp;
        createAndDestroy(warmUp);
    }
    Settle();
    const DWORD before = GdiObjects();
    {
        SkinnedHost host;
        Settle();
        const DWORD hostOnly = GdiObjects();
        for (int i = 0; i < 10; ++i) createAndDestroy(host);
        EXPECT_LE(GdiObjects(), hostOnly + 2);
    }
    Settle();
    EXPECT_EQ(GdiObjects(), before);
}

}  // namespace
}  // namespace corvalin::testing
