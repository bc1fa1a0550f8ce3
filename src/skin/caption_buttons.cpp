// The caption button row of a skinned window: layout, hit testing and the
// normal, hot (fading) and pressed looks, painted into the background cache
// and copied to the screen for the button's rectangle only.
#include <algorithm>
#include <cmath>

#include "skin/skin_engine.h"
#include "skin/caption_states.h"
#include "skin/decoded_pictures.h"
#include "skin/drawing/drawing_objects.h"
#include "skin/rounded_paths.h"
#include "skin/skin_color.h"
#include "skin/skin_settings.h"
#include "skin/skin_window_list.h"
#include "skin/window_painting.h"

#include "base/unique.h"

namespace corvalin {
namespace {

constexpr float kTolerance = 1e-7f;
constexpr Gdiplus::ARGB kTransparentWhite = 0x00FFFFFF;
constexpr Gdiplus::ARGB kTransparentBlack = 0x00000000;
constexpr COLORREF kCloseRed = 0x0000FF;   // Windows colour: pure red

// The close button's outline: its top-right corner follows the window's
// rounded corner; the bottom stays open.
void AddCloseButtonPath(SkinPath& path, float x, float y, float w, float h, float r) {
    path.AddLine(x, y + h, x, y);
    path.AddLine(x, y, x + w - r, y);
    path.AddArc(x + w - r, y, r, r, 270, 90);
    path.AddLine(x + w, y + r, x + w, y + h);
}

struct ButtonBox {
    float x, y, w, h;
};

ButtonBox BoxOf(const SkinWindowRecord& record, const SkinCaptionButton& button) {
    return {button.rect.x - 1, static_cast<float>(record.captionStrip.y + 1), static_cast<float>(button.width),
            static_cast<float>(button.height)};
}

const Bytes& PictureOf(const SkinWindowRecord& record, const SkinCaptionButton& button) {
    if (button.kind == kCaptionMaximize && record.maximized && !button.secondGlyph.empty()) {
        return button.secondGlyph;
    }
    return button.glyph;
}

RECT TruncatedRect(const SkinRectF& r) {
    return RECT{static_cast<LONG>(r.x), static_cast<LONG>(r.y), static_cast<LONG>(r.x + r.width),
                static_cast<LONG>(r.y + r.height)};
}

void FlushDrawing(SkinGraphics& graphics) {
    if (graphics) gdip::GdipFlush(graphics.Handle(), Gdiplus::FlushIntentionSync);
}

// What a hover step restores from the caption copy before it draws: the box
// with a pixel more on each side and below, where the separators fall.
RECT RestoredRect(const SkinWindowRecord& record, const SkinCaptionButton& button) {
    const auto [x, y, w, h] = BoxOf(record, button);
    return RECT{static_cast<LONG>(x - 1), static_cast<LONG>(y), static_cast<LONG>(x + w + 1),
                static_cast<LONG>(y + h + 1)};
}

// True when the caption copy covers all of `r`: then what is drawn there
// depends on the copy alone, never on what an earlier look left behind.
bool FullyRestored(const SkinWindowRecord& record, const RECT& r) {
    return record.captionCopy.dc() && record.captionStates.copiedFrom != 0 && r.left >= 0 && r.top >= 0 &&
           r.bottom <= record.captionHeight;
}

CaptionButtonsKey CaptionButtonsKeyOf(const SkinWindowRecord& record, std::uint64_t background, bool afterTitle) {
    CaptionButtonsKey key;
    key.background = background;
    key.stripX = record.captionStrip.x;
    key.stripY = record.captionStrip.y;
    key.stripWidth = record.captionStrip.width;
    key.stripHeight = record.captionStrip.height;
    key.accent = SkinAccentColor;
    key.afterTitle = afterTitle;
    key.buttons.reserve(record.captionButtons.size());
    for (const SkinCaptionButton& button : record.captionButtons) {
        CaptionButtonLook look;
        look.kind = button.kind;
        look.rect = button.rect;
        look.width = button.width;
        look.height = button.height;
        const Bytes& glyph = PictureOf(record, button);
        look.hasGlyph = !glyph.empty();
        look.glyph = CachedPicture(glyph);
        key.buttons.push_back(std::move(look));
    }
    return key;
}

// Copies a button's box from the background cache to the window.
void ShowCaptionBox(const SkinWindowRecord& record, const RECT& box) {
    WindowDc screen(record.window);
    if (screen.get()) {
        BitBlt(screen.get(), box.left, box.top, box.right - box.left, box.bottom - box.top,
               record.backgroundCache.dc(), box.left, box.top, SRCCOPY);
    }
}

}  // namespace

void SkinEngine::LayoutCaptionButtons(int windowIndex) {
    if (!IsSkinWindowNumber(windowIndex)) return;
    SkinWindowRecord& record = WindowRecord(windowIndex);
    RECT client{};
    GetClientRect(record.window, &client);
    record.captionStrip.x = client.right - record.captionStrip.width + 1;
    record.captionStrip.height = 22;
    for (std::size_t i = 0; i < record.captionButtons.size(); ++i) {
        SkinCaptionButton& button = record.captionButtons[i];
        button.rect.x = static_cast<float>(record.captionStrip.x + 2 + 27 * static_cast<int>(i));
        button.rect.y = static_cast<float>(record.captionStrip.y + 1);
        button.rect.width = button.kind == kCaptionClose ? 40.0f : 26.0f;
        button.rect.height = 18.0f;
        const UINT_PTR tool = i + 1;
        record.toolTip.SetToolRect(tool, TruncatedRect(button.rect));
        record.toolTip.UpdateText(tool, button.toolTipText);
    }
}

int SkinEngine::HitTestCaptionButton(int windowIndex, int x, int y) {
    if (!IsSkinWindowNumber(windowIndex)) return 0;
    const SkinWindowRecord& record = WindowRecord(windowIndex);
    const auto& strip = record.captionStrip;
    const float fx = static_cast<float>(x), fy = static_cast<float>(y);
    if (x < strip.x || y < strip.y || fy > strip.y + strip.height + kTolerance) return 0;
    for (std::size_t i = 0; i < record.captionButtons.size(); ++i) {
        const SkinRectF& r = record.captionButtons[i].rect;
        if (r.x < fx && fx + kTolerance < r.x + r.width && r.y < fy && fy + kTolerance < r.y + r.height) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

int SkinEngine::FindMaximizeButton(int windowIndex) {
    if (!IsSkinWindowNumber(windowIndex)) return 0;
    const auto& buttons = WindowRecord(windowIndex).captionButtons;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i].kind == kCaptionMaximize) return static_cast<int>(i) + 1;
    }
    return 0;
}

void SkinEngine::RestoreFromCaptionCopy(int windowIndex, const RECT& rect) {
    if (!IsSkinWindowNumber(windowIndex)) return;
    SkinWindowRecord& record = WindowRecord(windowIndex);
    if (!record.captionCopy.dc() || !record.backgroundCache.dc()) return;
    // The copy holds the caption rows only; below them there is nothing to restore.
    RECT r = rect;
    r.top = std::max<LONG>(r.top, 0);
    r.bottom = std::min<LONG>(r.bottom, record.captionHeight);
    if (r.right <= r.left || r.bottom <= r.top) return;
    BitBlt(record.backgroundCache.dc(), r.left, r.top, r.right - r.left, r.bottom - r.top, record.captionCopy.dc(),
           r.left, r.top, SRCCOPY);
}

void SkinEngine::RestoreFromMenuBarCopy(int windowIndex, const RECT& rect) {
    if (!IsSkinWindowNumber(windowIndex)) return;
    SkinWindowRecord& record = WindowRecord(windowIndex);
    if (!record.menuBarCopy.dc() || !record.backgroundCache.dc()) return;
    const int left = static_cast<int>(record.menuBarRect.x), top = static_cast<int>(record.menuBarRect.y);
    BitBlt(record.backgroundCache.dc(), rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
           record.menuBarCopy.dc(), rect.left - left, rect.top - top, SRCCOPY);
}

void SkinEngine::DrawButtonSeparators(int windowIndex, int buttonNumber, SkinGraphics& graphics) {
    if (!IsSkinWindowNumber(windowIndex)) return;
    const SkinWindowRecord& record = WindowRecord(windowIndex);
    const int count = static_cast<int>(record.captionButtons.size());
    if (buttonNumber < 1 || buttonNumber > count) return;
    const float top = static_cast<float>(record.captionStrip.y + 1);
    const float bottom = static_cast<float>(record.captionStrip.y + record.captionStrip.height - 4);
    auto line = [&](float x, int alpha) {
        SkinLinearBrush brush;
        brush.Create(x, top, x, bottom, ColorToArgb(0, alpha, true), kTransparentBlack);
        SkinPen pen;
        pen.Create(brush, 1.0f);
        graphics.DrawLine(pen, x, top, x, bottom);
    };
    line(record.captionButtons[buttonNumber - 1].rect.x - 2, buttonNumber == 1 ? 100 : 60);
    if (buttonNumber < count) line(record.captionButtons[buttonNumber].rect.x - 2, 60);
}

void SkinEngine::DrawHoverOverlay(SkinGraphics& graphics, int windowIndex, int buttonNumber, int intensity) {
    if (!IsSkinWindowNumber(windowIndex)) return;
    const SkinWindowRecord& record = WindowRecord(windowIndex);
    if (buttonNumber < 1 || buttonNumber > static_cast<int>(record.captionButtons.size())) return;
    const SkinCaptionButton& button = record.captionButtons[buttonNumber - 1];
    const auto [x, y, w, h] = BoxOf(record, button);
    const int b = std::clamp(intensity, 0, 255);
    const bool close = button.kind == kCaptionClose;

    RestoreFromCaptionCopy(windowIndex, RECT{static_cast<LONG>(x - 1), static_cast<LONG>(y),
                                             static_cast<LONG>(x + w + 1), static_cast<LONG>(y + h + 1)});
    SkinPath rounded;
    rounded.Create();
    AddTopRoundedPath(rounded, x, y, w, h, 1);
    {
        SkinLinearBrush shade;
        shade.Create(x, y, x, y + h, ColorToArgb(0, b / 5, true), kTransparentWhite);
        graphics.FillPath(shade, rounded);
    }
    {
        SkinPath closeShape;
        if (close) {
            closeShape.Create();
            AddCloseButtonPath(closeShape, x, y, w, h, 5);
        }
        SkinLinearBrush accent;
        accent.Create(x, y, x, y + h, ColorToArgb(close ? kCloseRed : SkinAccentColor, b, true), kTransparentWhite);
        graphics.FillPath(accent, close ? closeShape : rounded);
    }
    SkinPath outline;
    outline.Create();
    if (close) {
        AddCloseButtonPath(outline, x, y, w - 1, h * 0.8f, 5);
    } else {
        AddTopRoundedPath(outline, x, y, w - 1, h * 0.8f, 1);
    }
    SkinLinearBrush glow;
    glow.Create(x, y, x, y + h, ColorToArgb(0xFFFFFF, static_cast<int>(b * 0.8), true), kTransparentWhite);
    SkinPen pen;
    pen.Create(glow, 1.0f);
    graphics.DrawPath(pen, outline);
}

void SkinEngine::DrawCaptionButton(int windowIndex, int buttonNumber, SkinGraphics* rebuildGraphics,
                                   bool inRebuild, bool pressed, int intensity) {
    if (!IsSkinWindowNumber(windowIndex)) return;
    SkinWindowRecord& record = WindowRecord(windowIndex);
    if (buttonNumber < 1 || buttonNumber > static_cast<int>(record.captionButtons.size())) return;
    if (!record.backgroundCache.dc()) return;
    const SkinCaptionButton& button = record.captionButtons[buttonNumber - 1];
    const auto [x, y, w, h] = BoxOf(record, button);
    const RECT box{static_cast<LONG>(x), static_cast<LONG>(y), static_cast<LONG>(x + w), static_cast<LONG>(y + h)};
    const bool drawsOwn = pressed || !inRebuild || !rebuildGraphics;

    // A fade shows the same few looks over and over: each is kept once drawn.
    CaptionButtonsKey key;
    DibPixels cache;
    const int look = pressed ? 0 : std::clamp(intensity, 0, 255);
    const RECT drawn = pressed ? box : RestoredRect(record, button);
    const bool keeps = !inRebuild && FullyRestored(record, drawn);
    if (keeps) {
        key = CaptionButtonsKeyOf(record, record.captionStates.copiedFrom, false);
        cache = DibPixels::Of(record.backgroundCache.bitmap());
        const PixelPatch* kept = record.captionStates.FindLook(key, buttonNumber, pressed, look);
        if (kept && kept->Put(cache)) {
            ShowCaptionBox(record, box);
            return;
        }
    }

    SkinGraphics own;
    if (drawsOwn) own.Create(record.backgroundCache.dc());
    SkinGraphics& graphics = drawsOwn ? own : *rebuildGraphics;

    if (pressed) {
        RestoreFromCaptionCopy(windowIndex, box);
        SkinPath shape;
        shape.Create();
        const bool close = button.kind == kCaptionClose;
        if (close) {
            AddCloseButtonPath(shape, x, y, w, h, 5);
        } else {
            shape.AddRectangle(x, y, w, h);
        }
        SkinLinearBrush brush;
        brush.Create(x, y, x, y + h, close ? ColorToArgb(kCloseRed, 255, true) : ColorToArgb(0, 80, true),
                     ColorToArgb(0xFFFFFF, close ? 30 : 5, true));
        graphics.FillPath(brush, shape);
        DrawPicture(graphics, PictureOf(record, button), x, y, w - 1, h);
    } else {
        if (drawsOwn) {
            graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
            RestoreFromCaptionCopy(windowIndex, box);
        }
        DrawHoverOverlay(graphics, windowIndex, buttonNumber, intensity);
        SkinLinearBrush sheen;
        sheen.Create(x, y, x, y + h, ColorToArgb(0xFFFFFF, 50, true), kTransparentBlack);
        graphics.FillRectangle(sheen, x - 1, y, w + 1, h - 1);
        DrawPicture(graphics, PictureOf(record, button), x, y, w - 1, h);
        DrawButtonSeparators(windowIndex, buttonNumber, graphics);
    }

    if (!inRebuild) {
        FlushDrawing(own);
        own.Destroy();
        if (keeps) record.captionStates.KeepLook(key, buttonNumber, pressed, look, cache, drawn);
        ShowCaptionBox(record, box);
    }
}

void DrawRestingCaptionButtons(SkinEngine& engine, int windowIndex, SkinGraphics& graphics, bool afterTitle) {
    if (!IsSkinWindowNumber(windowIndex)) return;
    SkinWindowRecord& record = WindowRecord(windowIndex);
    const int count = static_cast<int>(record.captionButtons.size());
    // Each button restores and draws within its own restored rectangle, so
    // together they cover the union of those, all over the caption copy.
    RECT drawn{};
    bool keeps = count > 0;
    for (const SkinCaptionButton& button : record.captionButtons) {
        const RECT r = RestoredRect(record, button);
        keeps = keeps && FullyRestored(record, r);
        UnionRect(&drawn, &drawn, &r);
    }
    CaptionButtonsKey key;
    DibPixels cache;
    if (keeps) {
        key = CaptionButtonsKeyOf(record, record.captionStates.copiedFrom, afterTitle);
        cache = DibPixels::Of(record.backgroundCache.bitmap());
        if (const PixelPatch* kept = record.captionStates.FindButtons(key); kept && kept->Put(cache)) return;
    }
    for (int i = 1; i <= count; ++i) engine.DrawCaptionButton(windowIndex, i, &graphics, true, false, 0);
    if (keeps) {
        FlushDrawing(graphics);
        record.captionStates.KeepButtons(key, cache, drawn);
    }
}

bool SkinEngine::AddCaptionButton(HWND window, const Bytes& glyph, const std::string& toolTipText,
                                  SkinCallback action) {
    const int n = static_cast<int>(GetPropValue(window, kPropListId));
    if (!IsSkinWindowNumber(n)) return false;
    SkinWindowRecord& record = WindowRecord(n);
    record.captionStrip.width += 27;
    SkinCaptionButton button;
    button.width = 26;
    button.height = 18;
    button.glyph = glyph;
    button.kind = kCaptionCustom;
    button.toolTipText = toolTipText;
    button.callback = action;
    record.captionButtons.insert(record.captionButtons.begin(), std::move(button));
    record.captionButtonCount = static_cast<int>(record.captionButtons.size());
    record.toolTip.AddTool(static_cast<UINT_PTR>(record.captionButtonCount), RECT{}, toolTipText);
    LayoutCaptionButtons(n);
    return true;
}

void SkinEngine::SetHelpButtonAction(HWND window, SkinCallback action) {
    const int n = FindWindowRecord(window);
    if (n) WindowRecord(n).helpCallback = action;
}

void SkinEngine::SetMenuButtonAction(HWND window, SkinCallback action) {
    const int n = FindWindowRecord(window);
    if (n) WindowRecord(n).menuCallback = action;
}

RECT SkinEngine::GetCaptionStripRect(HWND window) {
    const int n = FindWindowRecord(window);
    if (!n) return RECT{};
    const auto& s = WindowRecord(n).captionStrip;
    return RECT{s.x, s.y, s.x + s.width, s.y + s.height};
}

bool SkinEngine::SetCaptionGlyphs(HWND window, const SkinCaptionGlyphs& glyphs) {
    const auto& minimizeGlyph = glyphs.minimize;
    const auto& maximizeGlyph = glyphs.maximize;
    const auto& restoreGlyph = glyphs.restore;
    const auto& closeGlyph = glyphs.close;
    const int n = static_cast<int>(GetPropValue(window, kPropListId));
    if (!IsSkinWindowNumber(n)) return false;
    auto& buttons = WindowRecord(n).captionButtons;
    const int count = static_cast<int>(buttons.size());
    if (count == 0) return false;
    auto replace = [](Bytes& target, const std::optional<Bytes>& glyph) {
        if (glyph) target = *glyph;
    };
    const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    const bool hasMin = (style & WS_MINIMIZEBOX) != 0, hasMax = (style & WS_MAXIMIZEBOX) != 0;
    if (hasMin && hasMax && count >= 3) {
        replace(buttons[count - 2].glyph, maximizeGlyph);
        replace(buttons[count - 2].secondGlyph, restoreGlyph);
        replace(buttons[count - 3].glyph, minimizeGlyph);
    } else if (hasMin && count >= 2) {
        replace(buttons[count - 2].glyph, minimizeGlyph);
    } else if (hasMax && count >= 2) {
        replace(buttons[count - 2].glyph, maximizeGlyph);
        replace(buttons[count - 2].secondGlyph, restoreGlyph);
    }
    replace(buttons[count - 1].glyph, closeGlyph);
    for (int i = 1; i <= count; ++i) DrawCaptionButton(n, i, nullptr, false, false, 0);
    return true;
}

}  // namespace corvalin
