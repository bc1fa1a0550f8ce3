// The caption icon and the title text of a skinned window.
#include "skin/skin_engine.h"

#include <algorithm>

#include "skin/caption_states.h"
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

// Where the icon and title may draw: from the icon to just left of the caption
// strip, and no lower than the caption, so a long title never runs under the
// buttons or leaves text below the caption that no repaint restores.
RECT TitleArea(const SkinWindowRecord& record, int border) {
    const int left = border + 6, top = border + 2;
    return RECT{left, top, std::max(left, record.captionStrip.x - 2), std::max(top, record.captionHeight)};
}

CaptionTitleKey TitleKeyOf(const SkinWindowRecord& record, const std::string& text, int border, const RECT& area) {
    CaptionTitleKey key;
    key.background = record.staticLayer.generation();
    key.text = text;
    key.fontName = record.titleFontName;
    key.fontSize = record.titleFontSize;
    key.fontStyle = record.titleFontStyle;
    key.color = record.titleColor;
    key.haloColor = record.titleShadowColor;
    key.border = border;
    key.icon = SkinDefaultIcon;
    key.area = area;
    return key;
}

}  // namespace

void SkinEngine::DrawTitle(int windowIndex, SkinGraphics* rebuildGraphics, bool inRebuild,
                           std::optional<std::string> text) {
    if (!IsSkinWindowNumber(windowIndex)) return;
    SkinWindowRecord& record = WindowRecord(windowIndex);
    if (!record.backgroundCache.dc()) return;
    const int b = resizeBorderWidth;
    const int x = b + 6, y = b + 5;
    const RECT area = TitleArea(record, b);
    const float textLeft = static_cast<float>(x + 20);
    const std::string title = text ? *text : WindowText(record.window);

    // A rebuild draws the title over the static layer it has just copied: the
    // pixels kept from a rebuild over the same layer, with the same text and
    // style, are the ones drawing would make.
    const bool rebuilding = inRebuild && rebuildGraphics;
    CaptionTitleKey key;
    DibPixels cache;
    RECT drawn = area;
    if (rebuilding) {
        key = TitleKeyOf(record, title, b, area);
        cache = DibPixels::Of(record.backgroundCache.bitmap());
        if (SkinDefaultIcon) {
            const RECT icon{x, y - 3, x + 17, y + 14};
            UnionRect(&drawn, &area, &icon);
        }
        if (const PixelPatch* kept = record.captionStates.FindTitle(key); kept && kept->Put(cache)) {
            rebuildGraphics->ResetClip();   // as drawing leaves it
            return;
        }
    }

    SkinGraphics own;
    if (!rebuilding) {
        RestoreFromCaptionCopy(windowIndex, area);
        own.Create(record.backgroundCache.dc());
    }
    SkinGraphics& graphics = own ? own : *rebuildGraphics;
    if (!graphics) return;
    graphics.SetClip(static_cast<float>(area.left), static_cast<float>(area.top),
                     static_cast<float>(area.right - area.left), static_cast<float>(area.bottom - area.top));

    if (SkinDefaultIcon) {
        // GDI and GDI+ take turns on the same DC; what GDI+ drew must land first.
        gdip::GdipFlush(graphics.Handle(), Gdiplus::FlushIntentionSync);
        DrawIconEx(record.backgroundCache.dc(), x, y - 3, SkinDefaultIcon, 17, 17, 0, nullptr, DI_NORMAL);
    }
    HaloTextStyle style;
    style.textColor = record.titleColor;
    style.haloColor = record.titleShadowColor;
    style.haloOffset = 1.0f;
    style.fontFace = record.titleFontName;
    style.fontStyle = record.titleFontStyle ? Gdiplus::FontStyleBold : Gdiplus::FontStyleRegular;
    style.fontSize = static_cast<float>(record.titleFontSize);
    DrawHaloText(graphics, title,
                 SkinRectF{textLeft, static_cast<float>(y), std::max(0.0f, static_cast<float>(area.right) - textLeft), 32.0f},
                 style);
    graphics.ResetClip();

    if (rebuilding) {
        gdip::GdipFlush(graphics.Handle(), Gdiplus::FlushIntentionSync);
        record.captionStates.KeepTitle(key, cache, drawn);
    }
    if (own) {
        gdip::GdipFlush(own.Handle(), Gdiplus::FlushIntentionSync);
        own.Destroy();
        ChildExcludingDc screen(record.window);
        if (screen.get()) {
            BitBlt(screen.get(), area.left, area.top, area.right - area.left, area.bottom - area.top,
                   record.backgroundCache.dc(), area.left, area.top, SRCCOPY);
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
