// Pieces the painters of skinned top-level windows share: a window DC that
// leaves visible child controls alone, the halo text of captions and menu
// bars, glyph drawing and the sizing zones of the frame.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "base/text.h"
#include "skin/drawing/skin_graphics.h"

namespace corvalin {

// A DC of the whole window (GetDC) with every visible child that lacks
// WS_EX_TRANSPARENT excluded from its clip, so a copy of the skin cache never
// paints over a control.
class ChildExcludingDc {
public:
    explicit ChildExcludingDc(HWND window);
    ChildExcludingDc(const ChildExcludingDc&) = delete;
    ChildExcludingDc& operator=(const ChildExcludingDc&) = delete;
    ~ChildExcludingDc();
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Clips `dc` (a DC of `window`) so that its visible, non-transparent direct
// children are left out.
void ExcludeVisibleChildren(HWND window, HDC dc);

// Draws an encoded picture stretched into the rectangle; nothing when it does
// not decode.
void DrawPicture(SkinGraphics& graphics, const Bytes& picture, float x, float y, float width, float height);

struct HaloTextStyle {
    COLORREF textColor = 0xFFFFFF;
    COLORREF haloColor = 0x808080;
    std::optional<float> haloOffset;      // 1 when not given
    std::optional<std::string> fontFace;  // "宋体"
    std::optional<int> fontStyle;         // 0
    std::optional<float> fontSize;        // 13
    Gdiplus::StringAlignment alignment = Gdiplus::StringAlignmentNear;
    Gdiplus::StringAlignment lineAlignment = Gdiplus::StringAlignmentNear;
};

// Text with a soft halo: four translucent copies in the halo colour shifted by
// the offset each way, then the text itself, opaque, on top.
void DrawHaloText(SkinGraphics& graphics, const std::string& text, const SkinRectF& layout,
                  const HaloTextStyle& style);

// Where a point of the client area starts a resize.
struct SizingZone {
    LPCSTR cursor = nullptr;   // IDC_SIZE* resource id
    WPARAM command = 0;        // SC_SIZE plus the direction
};

// The first sizing zone holding (x, y) in a w x h client area with a border
// of `border` pixels; nothing outside every zone.
std::optional<SizingZone> FindSizingZone(int x, int y, int width, int height, int border);

}  // namespace corvalin
