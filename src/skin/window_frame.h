// Pieces of the skinned window frame that callers outside the window
// procedure use: the strip geometry and calling routines by address.
#pragma once
#include <windows.h>

#include <vector>

#include "skin/skin_window_record.h"

namespace corvalin {

// Sum of the button widths, a one-pixel gap between buttons and 3 pixels of
// margin: 68 for minimise and close.
int CaptionStripWidth(const std::vector<SkinCaptionButton>& buttons);

// Calls the routine at `routine` with the arguments (stdcall: pushed last to
// first), returning its result; 0 for a null routine. Up to six arguments.
LONG_PTR InvokeCallback(INT_PTR routine, const std::vector<LONG_PTR>& arguments);

}  // namespace corvalin
