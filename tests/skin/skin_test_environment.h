// Shared by the skin tests: GDI+ and the skin tables are started once for the
// whole test program, and a few helpers for windows and pixels.
#pragma once
#include <windows.h>
#include <cstdint>
#include <vector>

namespace corvalin::testing {

// A plain top-level or child window of a class whose procedure hands
// WM_NCDESTROY of registered windows to UnskinWindow, as a skinned window does.
HWND CreateTestWindow(HWND parent, int x, int y, int width, int height, DWORD style = 0);
// A child control of a system class.
HWND CreateTestControl(HWND parent, const char* className, int x, int y, int width, int height,
                       DWORD style = 0, DWORD exStyle = 0);

// Top-down 32-bit pixels (0xAARRGGBB as GDI stores them) of a bitmap.
std::vector<std::uint32_t> BitmapPixels(HBITMAP bitmap, int width, int height);
// A top-down 32-bit DIB section the caller owns, and a pointer to its pixels.
HBITMAP CreatePixelBitmap(int width, int height, std::uint32_t** pixels);

// GDI objects the process holds: GetGuiResources(GR_GDIOBJECTS), or, where
// that answers 0 (Wine), the live entries of the shared GDI handle table.
DWORD GdiObjectCount();

// Channel arithmetic of a translucent fill: src over dst at alpha a.
inline int Blend(int dst, int src, int alpha) { return (src * alpha + dst * (255 - alpha) + 127) / 255; }

}  // namespace corvalin::testing
