#include "client/exit_confirmation.h"

#include "shell/shell.h"
#include "skin/images/builtin_images.h"
#include "skin/skin_application.h"

namespace corvalin::client {

int HotKeyYesId = 0;
int HotKeyNoId = 0;

namespace {
using namespace corvalin::shell;
}  // namespace

bool OnMainMayClose() {
    // Returns once the dialog is gone, or never when the program ends inside it.
    LoadWindow(kExitConfirmWindowId, true);
    return false;
}

void OnExitConfirmCreated() {
    ApplySkin(kExitConfirmWindowId, kExitConfirmUnitId, WindowBackgroundPicture().ToBytes(), kWindowSkinOpacity);
    HWND dialog = GetWindowHandle({kExitConfirmWindowId, kExitConfirmUnitId, kKindWindow});
    HWND label = GetWindowHandle({kExitConfirmWindowId, kHotKeyLabelId, kKindLabel});
    HotKeyYesId = RegisterLabelHotKey(dialog, label, 0, kHotKeyYes);
    HotKeyNoId = RegisterLabelHotKey(dialog, label, 0, kHotKeyNo);
}

void OnHotKeyFeedback(int identifier, int) {
    // A refused key leaves its identifier 0, which no notification carries.
    if (identifier == 0) return;
    if (identifier == HotKeyYesId) ExitProgram(0);
    if (identifier == HotKeyNoId) DestroyLoadedWindow(kExitConfirmWindowId);
}

void ConfirmExit() {
    ExitProgram(0);
}

void CancelExit() {
    DestroyLoadedWindow(kExitConfirmWindowId);
}

}  // namespace corvalin::client
