#include <gtest/gtest.h>

#include "shell/shell.h"
#include "skin/images/builtin_images.h"
#include "skin/skin_application.h"
#include "skin/skin_engine.h"
#include "skin/skin_settings.h"
#include "skin/skin_window_list.h"
#include "skin/skinned_host.h"
#include "support/message_pump.h"

namespace corvalin::testing {
namespace {

using namespace corvalin::shell;

// Both windows of the program, loaded from their forms, skinned from their
// created handlers exactly as the program does it.
class ApplySkinTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureSkinEngine();
        InitializeRuntime();
        ClearEventHandlers();
        picture = WindowBackgroundPicture().ToBytes();
        RegisterEventHandler("OnMainCreated", [this] { ApplySkin(kMainWindowId, kMainWindowUnitId, picture, 75); });
        RegisterEventHandler("OnExitConfirmCreated",
                             [this] { ApplySkin(kExitConfirmWindowId, kExitConfirmUnitId, picture, 75); });
    }
    void TearDown() override {
        for (ControlId id : {kExitConfirmWindowId, kMainWindowId})
            if (IsWindowLoaded(id)) DestroyLoadedWindow(id);
        PumpUntil([] { return !IsWindowLoaded(kMainWindowId) && !IsWindowLoaded(kExitConfirmWindowId); }, 3000);
        ClearEventHandlers();
    }
    static HWND Handle(ControlId window, ControlId control, KindCode kind) {
        return GetWindowHandle(ControlRef{window, control, kind});
    }
    static HWND MainHandle() { return Handle(kMainWindowId, kMainWindowUnitId, kKindWindow); }
    static HWND DialogHandle() { return Handle(kExitConfirmWindowId, kExitConfirmUnitId, kKindWindow); }
    void OpenDialog() {
        ASSERT_TRUE(LoadWindow(kExitConfirmWindowId, false));
        Settle();
    }
    void CloseDialog() {
        DestroyLoadedWindow(kExitConfirmWindowId);
        ASSERT_TRUE(PumpUntil([] { return !IsWindowLoaded(kExitConfirmWindowId); }, 3000));
    }
    Bytes picture;
    SkinSettingsScope settings;
};

TEST_F(ApplySkinTest, MainWindowIsSkinnedWithItsButtonsEditBoxesAndPictureBox) {
    ASSERT_TRUE(LoadWindow(kMainWindowId, false));
    Settle();
    const int n = FindWindowRecord(MainHandle());
    ASSERT_NE(n, 0);
    EXPECT_EQ(SkinTransparentControls, 1);
    EXPECT_EQ(SkinVeilOn, 1);
    EXPECT_EQ(SkinVeilAlpha, 75);
    EXPECT_EQ(SkinBackMode, 3);
    EXPECT_EQ(SkinBackPicture, picture);

    const SkinWindowRecord& record = WindowRecord(n);
    EXPECT_EQ(record.doubleClickMaximizes, 0);
    EXPECT_EQ(record.titleShown, 1);
    EXPECT_EQ(record.captionHeight, 25);
    for (ControlId button : {kStartButtonId, kContactButtonId, kOfflineButtonId})
        EXPECT_NE(record.buttons.Find(Handle(kMainWindowId, button, kKindButton)), 0);
    for (ControlId edit : {kAccountEditId, kPasswordEditId, kCaptchaEditId})
        EXPECT_NE(record.edits.Find(Handle(kMainWindowId, edit, kKindEditBox)), 0);
    // Only the picture box is handed over; the transparent labels are not.
    const HWND captchaPicture = Handle(kMainWindowId, kCaptchaPictureId, kKindPictureBox);
    EXPECT_EQ(record.statics.Find(captchaPicture), 1);
    EXPECT_EQ(record.statics.Count(), 1);
    EXPECT_EQ(record.containers.Count(), 1);
    EXPECT_EQ(record.containers[1].window, nullptr) << "no group box or tab control to register";

    // Skinned after it was shown, the window is painted again: the password
    // box shows the skin behind it under the veil, not its own white.
    const HWND password = Handle(kMainWindowId, kPasswordEditId, kKindEditBox);
    RECT box{};
    GetClientRect(password, &box);
    POINT centre{box.right / 2, box.bottom / 2};
    const COLORREF shown = ScreenPixel(password, centre.x, centre.y);
    MapWindowPoints(password, MainHandle(), &centre, 1);
    const COLORREF behind = GetPixel(record.backgroundCache.dc(), centre.x, centre.y);
    EXPECT_LE(ColorDistance(shown, Veiled(behind, 75)), 3);
}

TEST_F(ApplySkinTest, ExitDialogGetsItsLabelAndAgainOnEveryOpening) {
    ASSERT_TRUE(LoadWindow(kMainWindowId, false));
    Settle();
    const HWND main = MainHandle();
    OpenDialog();
    const HWND firstDialog = DialogHandle();
    const int d = FindWindowRecord(firstDialog);
    ASSERT_NE(d, 0);
    EXPECT_EQ(WindowRecord(d).statics.Find(Handle(kExitConfirmWindowId, kHotKeyLabelId, kKindLabel)), 1);
    EXPECT_EQ(WindowRecord(d).statics.Count(), 1);
    EXPECT_NE(WindowRecord(d).buttons.Find(Handle(kExitConfirmWindowId, kYesButtonId, kKindButton)), 0);
    EXPECT_NE(WindowRecord(d).buttons.Find(Handle(kExitConfirmWindowId, kNoButtonId, kKindButton)), 0);
    CloseDialog();
    EXPECT_EQ(FindWindowRecord(firstDialog), 0);

    // Someone else's picture in between: the second opening installs ours again
    // and repaints the main window, which stays skinned.
    TheSkinEngine->SetSkinPicture("", CheckBoxGlyph().ToBytes(), std::nullopt, std::nullopt, 2);
    Settle();
    ValidateRect(main, nullptr);
    OpenDialog();
    EXPECT_EQ(SkinBackPicture, picture);
    EXPECT_EQ(SkinBackMode, 3);
    EXPECT_NE(FindWindowRecord(DialogHandle()), 0);
    const int n = FindWindowRecord(main);
    ASSERT_NE(n, 0);
    EXPECT_NE(WindowRecord(n).buttons.Find(Handle(kMainWindowId, kStartButtonId, kKindButton)), 0);
    EXPECT_EQ(WindowRecord(n).statics.Count(), 1);
    CloseDialog();
}

TEST_F(ApplySkinTest, SkinningAWindowAgainChangesOnlyThePictureAndTheVeil) {
    ASSERT_TRUE(LoadWindow(kMainWindowId, false));
    Settle();
    const int windows = SkinWindowCount();
    const HWND picture1 = Handle(kMainWindowId, kCaptchaPictureId, kKindPictureBox);
    const HANDLE previous = GetPropA(picture1, "Kj_hProc");
    ApplySkin(kMainWindowId, kMainWindowUnitId, picture, 120);
    EXPECT_EQ(SkinWindowCount(), windows);
    EXPECT_EQ(SkinVeilAlpha, 120);
    EXPECT_EQ(GetPropA(picture1, "Kj_hProc"), previous) << "not subclassed twice";
    const SkinWindowRecord& record = WindowRecord(FindWindowRecord(MainHandle()));
    EXPECT_EQ(record.statics.Count(), 1);
    EXPECT_EQ(record.buttons.Count(), 3);
    EXPECT_EQ(record.edits.Count(), 3);
}

TEST_F(ApplySkinTest, AWindowThatIsNotLoadedIsLeftAlone) {
    const int windows = SkinWindowCount();
    ApplySkin(kExitConfirmWindowId, kExitConfirmUnitId, picture, 75);
    EXPECT_EQ(SkinWindowCount(), windows);
    EXPECT_EQ(SkinBackPicture, picture) << "the picture and the veil are installed all the same";
    EXPECT_EQ(SkinVeilAlpha, 75);
}

}  // namespace
}  // namespace corvalin::testing
