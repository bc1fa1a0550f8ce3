// The one routine through which the program hands a window to the skin.
#pragma once
#include "base/text.h"
#include "shell/control_id.h"

namespace corvalin {

// Installs the background picture and the control veil, skins the window and
// hands its group boxes, labels, picture boxes, drawing boards, tab controls
// and shape boxes to the skin. Calling it again for a skinned window changes
// only the picture and the veil.
void ApplySkin(shell::ControlId windowId, shell::ControlId windowUnitId, const Bytes& picture, int opacity);

}  // namespace corvalin
