#include "skin/window_painting.h"

#include "skin/decoded_pictures.h"
#include "skin/drawing/drawing_objects.h"
#include "skin/skin_color.h"

namespace corvalin {

void ExcludeVisibleChildren(HWND window, HDC dc) {
    RECT frame{};
    GetWindowRect(window, &frame);
    for (HWND child = FindWindowExA(window, nullptr, nullptr, nullptr); child;
         child = FindWindowExA(window, child, nullptr, nullptr)) {
        if (!IsWindowVisible(child)) continue;
        if (GetWindowLongPtrA(child, GWL_EXSTYLE) & WS_EX_TRANSPARENT) continue;
        RECT r{};
        GetWindowRect(child, &r);
        ExcludeClipRect(dc, r.left - frame.left, r.top - frame.top, r.right - frame.left, r.bottom - frame.top);
    }
}

ChildExcludingDc::ChildExcludingDc(HWND window) : window_(window), dc_(GetDC(window)) {
    if (dc_) ExcludeVisibleChildren(window, dc_);
}

ChildExcludingDc::~ChildExcludingDc() {
    if (dc_) ReleaseDC(window_, dc_);
}

void DrawPicture(SkinGraphics& graphics, const Bytes& picture, float x, float y, float width, float height) {
    const auto image = CachedPicture(picture);
    if (image) graphics.DrawImage(*image, x, y, width, height);
}

void DrawHaloText(SkinGraphics& graphics, const std::string& text, const SkinRectF& layout,
                  const HaloTextStyle& style) {
    const std::string face = style.fontFace.value_or("宋体");
    const float size = style.fontSize.value_or(13.0f);
    const int fontStyle = style.fontStyle.value_or(0);
    const float d = style.haloOffset.value_or(1.0f);
    // One font and one format for all five passes: creating a font looks its
    // family up among the installed ones, which costs more than drawing.
    SkinFont font;
    font.Create(face, size, fontStyle, Gdiplus::UnitWorld);
    SkinStringFormat format;
    format.Create(0, 0);
    format.SetAlignment(style.alignment);
    format.SetLineAlignment(style.lineAlignment);
    SkinSolidBrush halo(ColorToArgb(style.haloColor, 150, true));
    const float shifts[4][2] = {{d, 0}, {-d, 0}, {0, d}, {0, -d}};
    for (const auto& shift : shifts) {
        SkinRectF r = layout;
        r.x += shift[0];
        r.y += shift[1];
        graphics.DrawString(text, font, r, format, halo);
    }
    SkinSolidBrush brush(ColorToArgb(style.textColor, 255, true));
    graphics.DrawString(text, font, layout, format, brush);
}

std::optional<SizingZone> FindSizingZone(int x, int y, int width, int height, int border) {
    const int w = width, h = height, b = border;
    const bool middleRows = y >= 11 && y < h - 10;
    const bool middleColumns = x >= 11 && x < w - 10;
    if (x <= b && middleRows) return SizingZone{IDC_SIZEWE, SC_SIZE | WMSZ_LEFT};
    if (x >= w - b && middleRows) return SizingZone{IDC_SIZEWE, SC_SIZE | WMSZ_RIGHT};
    if (middleColumns && y <= b) return SizingZone{IDC_SIZENS, SC_SIZE | WMSZ_TOP};
    if (middleColumns && y >= h - b) return SizingZone{IDC_SIZENS, SC_SIZE | WMSZ_BOTTOM};
    if (x <= 10 && y <= 10) return SizingZone{IDC_SIZENWSE, SC_SIZE | WMSZ_TOPLEFT};
    if (x >= w - 10 && y <= 10) return SizingZone{IDC_SIZENESW, SC_SIZE | WMSZ_TOPRIGHT};
    if (x <= 10 && y >= h - 10) return SizingZone{IDC_SIZENESW, SC_SIZE | WMSZ_BOTTOMLEFT};
    if (x >= w - 10 && y >= h - 10) return SizingZone{IDC_SIZENWSE, SC_SIZE | WMSZ_BOTTOMRIGHT};
    return std::nullopt;
}

}  // namespace corvalin
