// Memory device contexts made for control backgrounds, remembered with their
// bitmap and previous selection so that the handle alone can release them.
#pragma once
#include <windows.h>
#include <cstddef>

#include "skin/skin_surface.h"

namespace corvalin {

// Keeps `surface` until its DC is released; answers the DC (0 for none).
HDC RememberMemorySurface(SkinMemorySurface surface);
// Takes over a memory DC made elsewhere, its bitmap selected over `previous`.
// Updates the entry of a device context already known instead of adding one.
void RememberMemoryDC(HDC dc, HBITMAP bitmap, HGDIOBJ previous);
// Selects the previous object back, deletes the bitmap and the device
// context, forgets the entry. Unknown handles and 0 are ignored.
void ReleaseMemoryDC(HDC dc);
// Releases every remembered device context (exit).
void ReleaseAllMemoryDCs();
std::size_t MemoryDCCount();

}  // namespace corvalin
