// What a skinned control shows behind its own drawing: the skin of the window
// behind it (background cache, container panels), optionally under a white veil.
#pragma once
#include <windows.h>

namespace corvalin {

enum class BackgroundSourceKind { None, Window, Container, Layer };

struct BackgroundSource {
    BackgroundSourceKind kind = BackgroundSourceKind::None;
    int window = 0;          // registered window number (window and container results)
    int container = 0;       // container number in that window's list
    HWND layer = nullptr;    // layer window (layer result)
};

BackgroundSource FindBackgroundSource(HWND control, bool useLayers);

// A remembered memory device context with a bitmap of the rectangle's size
// holding the control's background; the rectangle is in the control's window
// coordinates. 0 when the control belongs to no registered window. Release it
// with ReleaseMemoryDC (or DcToBitmap).
HDC MakeControlBackground(HWND control, const RECT& rect);
// A new bitmap with the w x h picture of dc; dc is released.
HBITMAP DcToBitmap(HDC dc, int width, int height);
// The control's background under its client area with the white veil of
// SkinVeilAlpha; owned by the caller. 0 when there is no background.
HBITMAP MakeVeiledBackground(HWND control);

}  // namespace corvalin
