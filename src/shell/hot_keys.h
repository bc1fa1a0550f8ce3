// System-wide hot keys that raise a label's feedback event.
#pragma once
#include <windows.h>

namespace corvalin::shell {

// Modifier code: a sum of 1 Ctrl, 2 Shift, 4 Alt. Identifiers count up from
// 33001, one per call, accepted or not; 0 when the system refused the key.
// When the key fires, the label of the latest registration gets the feedback
// event with (identifier, 0). The window must be a loaded window.
int RegisterLabelHotKey(HWND window, HWND label, int modifiers, int virtualKey);

}  // namespace corvalin::shell
