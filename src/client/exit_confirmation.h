// Closing the main window: the request is refused and the modal
// confirmation asks first; while it is open, the bare keys Y and N answer it
// system-wide.
#pragma once

namespace corvalin::client {

// Identifiers of the latest opening's hot keys; 0 when the system refused one.
extern int HotKeyYesId;
extern int HotKeyNoId;

inline constexpr int kHotKeyYes = 'Y';   // virtual-key code 89
inline constexpr int kHotKeyNo = 'N';    // virtual-key code 78

bool OnMainMayClose();
void OnExitConfirmCreated();
void OnHotKeyFeedback(int identifier, int secondValue);
void ConfirmExit();
void CancelExit();

}  // namespace corvalin::client
