// The one routine through which the program hands a window to the skin.
#pragma once
#include "base/text.h"
#include "shell/control_id.h"

namespace corvalin {

// The opacity of the white veil behind the text controls of both windows.
inline constexpr int kWindowSkinOpacity = 75;

// Installs the background picture and the control veil, skins the window and
// hands its group boxes, labels, picture boxes, drawing boards, tab controls
// and shape boxes to the skin. Calling it again for a skinned window changes
// only the picture and the veil.
void ApplySkin(shell::ControlId windowId, shell::ControlId windowUnitId, const Bytes& picture, int opacity);

}  // namespace corvalin
