// The caption icon and the title text of a skinned window.
#include "skin/skin_engine.h"
#include "skin/drawing/drawing_objects.h"
#include "skin/rounded_paths.h"
#include "skin/skin_color.h"
#include "skin/skin_settings.h"
#include "skin/skin_window_list.h"
#include "skin/window_painting.h"

namespace corvalin {
namespace {

std::string WindowText(HWND window) {
    const int length = GetWindowTextLengthA(window);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int got = GetWindowTextA(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

}  // namespace

void SkinEngine::DrawTitle(int windowIndex, SkinGraphics* rebuildGraphics, bool inRebuild,
                           std::optional<std::string> text) {
    if (!IsSkinWindowNumber(windowIndex)) return;
    SkinWindowRecord& record = WindowRecord(windowIndex);
    if (!record.backgroundCache.dc) return;
    const int b = resizeBorderWidth;
    RECT client{};
    GetClientRect(record.window, &client);
    const int x = b + 6, y = b + 5;
    const int titleWidth = client.right - record.captionStrip.width - 10 - 2 * b;

    SkinGraphics own;
    if (!inRebuild || !rebuildGraphics) {
        RestoreFromCaptionCopy(windowIndex, RECT{x, y, x + titleWidth, y + 32});
        own.Create(record.backgroundCache.dc);
    }
    SkinGraphics& graphics = own ? own : *rebuildGraphics;
    if (!graphics) return;

    if (SkinDefaultIcon) {
        // GDI and GDI+ take turns on the same DC; what GDI+ drew must land first.
        gdip::GdipFlush(graphics.Handle(), Gdiplus::FlushIntentionSync);
        DrawIconEx(record.backgroundCache.dc, x, y - 3, SkinDefaultIcon, 17, 17, 0, nullptr, DI_NORMAL);
    }
    HaloTextStyle style;
    style.textColor = record.titleColor;
    style.haloColor = record.titleShadowColor;
    style.haloOffset = 1.0f;
    style.fontFace = record.titleFontName;
    style.fontStyle = record.titleFontStyle ? Gdiplus::FontStyleBold : Gdiplus::FontStyleRegular;
    style.fontSize = static_cast<float>(record.titleFontSize);
    DrawHaloText(graphics, text ? *text : WindowText(record.window),
                 SkinRectF{static_cast<float>(x + 20), static_cast<float>(y), static_cast<float>(titleWidth), 32.0f},
                 style);

    if (own) {
        gdip::GdipFlush(own.Handle(), Gdiplus::FlushIntentionSync);
        own.Destroy();
        ChildExcludingDc screen(record.window);
        if (screen.get()) {
            BitBlt(screen.get(), b + 6, b + 3, titleWidth, 32, record.backgroundCache.dc, b + 6, b + 3, SRCCOPY);
        }
    }
}

bool SkinEngine::SetTitleStyle(HWND window, std::optional<std::string> fontFace,
                               std::optional<int> fontSize, std::optional<COLORREF> textColor,
                               std::optional<COLORREF> haloColor, std::optional<int> bold) {
    const int n = static_cast<int>(GetPropValue(window, kPropListId));
    if (!IsSkinWindowNumber(n)) return false;
    SkinWindowRecord& record = WindowRecord(n);
    if (fontFace) record.titleFontName = *fontFace;
    if (fontSize) record.titleFontSize = *fontSize;
    if (textColor) record.titleColor = *textColor;
    if (haloColor) record.titleShadowColor = *haloColor;
    if (bold) record.titleFontStyle = *bold;
    DrawTitle(n, nullptr, false, WindowText(window));
    return true;
}

}  // namespace corvalin
