// The composed background of every skinned window: the skin-wide picture
// and colours, the per-window caches (background, caption copy, menu-bar
// copy), the rounded region and the panel itself.
#include "skin/window_background.h"

#include <algorithm>
#include <cstring>
#include <random>
#include <utility>

#include "skin/skin_engine.h"
#include "skin/caption_states.h"
#include "skin/decoded_pictures.h"
#include "skin/pixel_patch.h"
#include "skin/drawing/drawing_objects.h"
#include "skin/rounded_paths.h"
#include "skin/skin_color.h"
#include "skin/skin_settings.h"
#include "skin/skin_window_list.h"
#include "skin/window_painting.h"

namespace corvalin {
namespace {

constexpr Gdiplus::ARGB kMagenta = 0xFFFF00FF;

// Selects a fresh w x h bitmap into the window's background cache, keeping
// Ck_Ycjdx (the object the DC started with) and Ck_wtjbdx (its bitmap now)
// in step with the record. `bits` receives its pixels. A cache of the same
// size keeps its bitmap: the rebuild writes every pixel of it again, and a
// fresh one would cost its allocation and a page fault per 4 KB.
bool PrepareBackgroundCache(SkinWindowRecord& record, int w, int h, void** bits) {
    SkinMemorySurface& cache = record.backgroundCache;
    if (!cache.EnsureDc()) return false;
    if (const DibPixels kept = DibPixels::Of(cache.bitmap()); kept && kept.width == w && kept.height == h) {
        *bits = kept.bits;
        return true;
    }
    UniqueBitmap bitmap = SkinMemorySurface::NewDib(w, h, bits);
    if (!bitmap) return false;
    cache.ReplaceBitmap(std::move(bitmap));
    SetPropValue(record.window, kPropBackgroundOriginal, reinterpret_cast<INT_PTR>(cache.original()));
    SetPropValue(record.window, kPropBackgroundBitmap, reinterpret_cast<INT_PTR>(cache.bitmap()));
    return true;
}

// The picture a window's panel shows (its own or the skin-wide one) and how.
const Bytes& PanelPicture(const SkinWindowRecord& record) {
    return record.ownPicture.empty() ? SkinBackPicture : record.ownPicture;
}

int PanelMode(const SkinWindowRecord& record) {
    return record.ownPicture.empty() ? SkinBackMode : record.backgroundMode;
}

COLORREF PanelColor(const SkinWindowRecord& record) {
    return record.ownPicture.empty() ? SkinBackColor : record.backgroundColor;
}

ComposedLayerKey StaticLayerKey(const SkinWindowRecord& record, int w, int h) {
    ComposedLayerKey key;
    key.width = w;
    key.height = h;
    key.panelColor = PanelColor(record);
    key.mode = PanelMode(record);
    key.hasPicture = !PanelPicture(record).empty();
    key.picture = CachedPicture(PanelPicture(record));
    key.captionGloss = record.captionGloss;
    key.captionHeight = record.captionHeight;
    key.border = record.captionButtonsActive != 0;
    return key;
}

// The rounded panel every layer of the window is clipped to.
void ClipToPanel(SkinGraphics& graphics, float w, float h) {
    SkinPath panel;
    panel.Create();
    AddRoundRect(panel, 0, 0, w, h, 4);
    graphics.SetClip(panel, Gdiplus::CombineModeReplace);
}

// A copy of part of the background cache; a copy of the same size keeps its
// bitmap and takes the pixels again.
void CopySurface(SkinMemorySurface& copy, HDC source, int x, int y, int w, int h) {
    if (w <= 0 || h <= 0) {
        copy.Release();
        return;
    }
    BITMAP kept{};
    const bool sameSize = copy.dc() && GetObjectA(copy.bitmap(), sizeof(kept), &kept) == sizeof(kept) &&
                          kept.bmWidth == w && kept.bmHeight == h;
    if (!sameSize && !copy.Create(w, h)) return;
    BitBlt(copy.dc(), 0, 0, w, h, source, x, y, SRCCOPY);
}

void FlushDrawing(SkinGraphics& graphics) {
    if (graphics) gdip::GdipFlush(graphics.Handle(), Gdiplus::FlushIntentionSync);
}

// Skinned controls whose parent is the window repaint over the new background.
void InvalidateSkinnedChildren(SkinWindowRecord& record) {
    auto invalidate = [&](HWND control) {
        if (control && GetParent(control) == record.window) InvalidateRect(control, nullptr, TRUE);
    };
    for (const auto& e : record.buttons) invalidate(e.window);
    for (const auto& e : record.edits) invalidate(e.window);
    for (const auto& e : record.combos) invalidate(e.window);
    for (const auto& e : record.trackbars) invalidate(e.window);
    for (const auto& e : record.progressBars) invalidate(e.window);
    for (const auto& e : record.upDowns) invalidate(e.window);
    for (const auto& e : record.headers) invalidate(e.window);
    for (const auto& e : record.statics) invalidate(e.window);
    for (const auto& e : record.containers) invalidate(e.window);
    for (const auto& e : record.listControls) {
        if (!e.window || GetParent(e.window) != record.window) continue;
        InvalidateRect(e.window, nullptr, TRUE);
        for (HWND child = FindWindowExA(e.window, nullptr, nullptr, nullptr); child;
             child = FindWindowExA(e.window, child, nullptr, nullptr)) {
            if (IsWindowVisible(child)) InvalidateRect(child, nullptr, TRUE);
        }
    }
    // Transparent children (the forms' transparent labels) belong to no family,
    // yet the copy above painted over them too.
    for (HWND child = GetWindow(record.window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child) && (GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_TRANSPARENT))
            InvalidateRect(child, nullptr, TRUE);
}

}  // namespace

COLORREF AverageColor(const Bytes& picture) {
    // Decoded once: the panel draws the same decoded picture later.
    if (const auto canvas = CachedPicture(picture)) return AverageColor(*canvas);
    return AverageColor(SkinCanvas{});
}

COLORREF AverageColor(const SkinCanvas& canvas) {
    constexpr int kSamples = 2000;
    const int w = static_cast<int>(canvas.Width()), h = static_cast<int>(canvas.Height());
    static std::minstd_rand generator(GetTickCount());
    std::uniform_int_distribution<int> xs(1, std::max(1, w - 1)), ys(1, std::max(1, h - 1));
    unsigned long long blue = 0, green = 0, red = 0;
    for (int i = 0; i < kSamples; ++i) {
        // A failed read (no picture) counts as black.
        const Gdiplus::ARGB pixel = canvas ? canvas.GetPixel(xs(generator), ys(generator)) : 0;
        blue += pixel & 0xFF;
        green += (pixel >> 8) & 0xFF;
        red += (pixel >> 16) & 0xFF;
    }
    return 0xFF000000u | RGB(red / kSamples, green / kSamples, blue / kSamples);
}

Bytes FadePictureEdges(const Bytes& picture, const std::string& fileName, FadeSide side, COLORREF color,
                       std::optional<int> fadeWidth) {
    SkinImage image;
    if (!fileName.empty() ? !image.LoadFromFile(fileName) : !image.LoadFromBytes(picture)) return {};
    const int w = static_cast<int>(image.Width()), h = static_cast<int>(image.Height());
    if (w <= 0 || h <= 0) return {};
    SkinCanvas canvas(w, h);
    {
        SkinGraphics graphics;
        graphics.Create(canvas);
        graphics.SetCompositingQuality(Gdiplus::CompositingQualityGammaCorrected);
        graphics.DrawImage(image, 0, 0, static_cast<float>(w), static_cast<float>(h));
        const float q = static_cast<float>(fadeWidth.value_or(static_cast<int>(w * 0.3)));
        const float fw = static_cast<float>(w), fh = static_cast<float>(h);
        SkinLinearBrush sideFade;
        if (side == FadeSide::Left) {
            sideFade.Create(0, 0, q, 0, ColorToArgb(color, 255, true), 0x00FFFFFF);
            graphics.FillRectangle(sideFade, 0, 0, q, fh);
        } else {
            sideFade.Create(fw - q, 0, fw, 0, 0x00FFFFFF, ColorToArgb(color, 255, true));
            graphics.FillRectangle(sideFade, fw - q + 1, 0, q, fh);
        }
        SkinLinearBrush bottomFade;
        bottomFade.Create(0, fh - q, 0, fh, ColorToArgb(color, 0, true), ColorToArgb(color, 255, true));
        graphics.FillRectangle(bottomFade, 0, fh - q + 1, fw, q);
    }
    return canvas.EncodeToBytes(kPngFormat);
}

// The picture as kept for a layout mode: faded for the corner modes, else the
// bytes themselves (a file is re-encoded as PNG).
Bytes PreparePicture(const Bytes& picture, const std::string& fileName, int mode, COLORREF color) {
    if (mode == 0) return FadePictureEdges(picture, fileName, FadeSide::Right, color, std::nullopt);
    if (mode == 1) return FadePictureEdges(picture, fileName, FadeSide::Left, color, std::nullopt);
    if (fileName.empty()) return picture;
    SkinImage image;
    if (!image.LoadFromFile(fileName)) return {};
    return image.EncodeToBytes(kPngFormat);
}

void SkinEngine::SetSkinPicture(const std::string& fileName, const Bytes& picture,
                                std::optional<COLORREF> backColor, std::optional<LONG> accent,
                                std::optional<int> mode) {
    const bool accentFollowsBack = accent && *accent == -1;
    if (!accentFollowsBack) SkinAccentColor = accent ? static_cast<COLORREF>(*accent) : kDefaultAccentColor;
    if (picture.empty() && !backColor && fileName.empty()) return;
    if (!fileName.empty() || !picture.empty()) {
        COLORREF average = 0;
        if (!fileName.empty()) {
            SkinCanvas canvas;
            canvas.CreateFromFile(fileName);
            average = AverageColor(canvas);
        } else {
            average = AverageColor(picture);
        }
        SkinBackColor = backColor.value_or(average);
        if (accentFollowsBack) SkinAccentColor = SkinBackColor;
        SkinBackMode = mode.value_or(4);
        SkinBackPicture = PreparePicture(picture, fileName, SkinBackMode, SkinBackColor);
    } else {
        SkinBackPicture.clear();
        SkinBackColor = *backColor;
        if (accentFollowsBack) SkinAccentColor = SkinBackColor;
    }
    RefreshSkinnedWindows(*this);
}

void RefreshSkinnedWindows(SkinEngine& engine) {
    for (int n = 1; n <= SkinWindowCount(); ++n) {
        const HWND window = WindowRecord(n).window;
        if (!IsWindowVisible(window)) continue;
        engine.PaintWindowSkin(n, nullptr, false);
        InvalidateRect(window, nullptr, FALSE);
        for (HWND child = FindWindowExA(window, nullptr, nullptr, nullptr); child;
             child = FindWindowExA(window, child, nullptr, nullptr)) {
            if (IsWindowVisible(child)) InvalidateRect(child, nullptr, TRUE);
        }
        if (!IsSkinWindowNumber(n)) break;
        for (const auto& header : WindowRecord(n).headers) {
            if (header.window) InvalidateRect(header.window, nullptr, FALSE);
        }
    }
}

void SkinEngine::SetWindowPicture(HWND window, const Bytes& picture, std::optional<int> mode) {
    const int n = static_cast<int>(GetPropValue(window, kPropListId));
    if (!IsSkinWindowNumber(n) || WindowRecord(n).window != window || picture.empty()) return;
    SkinWindowRecord& record = WindowRecord(n);
    if (mode) record.backgroundMode = *mode;
    record.backgroundColor = AverageColor(picture);
    record.ownPicture = PreparePicture(picture, {}, record.backgroundMode, record.backgroundColor);
    PaintWindowSkin(n, nullptr, true);
}

void SkinEngine::PaintWindowSkin(int windowIndex, HDC dc, bool paint) {
    (void)dc;   // the paint DC stays with its EndPaint; the copy goes through a DC of our own
    if (!IsSkinWindowNumber(windowIndex)) return;
    const HWND window = WindowRecord(windowIndex).window;
    RECT client{};
    GetClientRect(window, &client);
    const int w = client.right, h = client.bottom;

    // The region follows the size; the same size keeps the region it has.
    const SIZE regionSize{w, h};
    const SIZE lastRegion = WindowRecord(windowIndex).staticLayer.regionSize;
    if (lastRegion.cx != regionSize.cx || lastRegion.cy != regionSize.cy) {
        // The region goes first so the frame change is seen before the new
        // picture. A window not yet on the screen with no region of ours (the
        // first rebuild, while it is being shown) has nothing to take down.
        const bool firstUnseen = lastRegion.cx == 0 && lastRegion.cy == 0 && !IsWindowVisible(window);
        if (!firstUnseen) {
            SetWindowRgn(window, nullptr, TRUE);
            SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        // Corners of 7 follow the outer border line; with 5 the pixels the radius-4
        // panel leaves uncovered would show the magenta it was cleared to.
        if (HRGN region = CreateRoundRectRgn(0, 0, w + 1, h + 1, 7, 7)) {
            if (!SetWindowRgn(window, region, TRUE)) DeleteObject(region);
        }
        if (!IsSkinWindowNumber(windowIndex) || WindowRecord(windowIndex).window != window) return;
        WindowRecord(windowIndex).staticLayer.regionSize = regionSize;
        // The children are listed again once the size settles; in between, a
        // child created, shown, hidden, moved or destroyed is noticed anyway.
        WindowRecord(windowIndex).childExclusion.Forget();
    }
    SkinWindowRecord& record = WindowRecord(windowIndex);
    void* bits = nullptr;
    if (w <= 0 || h <= 0 || !PrepareBackgroundCache(record, w, h, &bits)) {
        record.repaintAll = 0;
        return;
    }
    // Panel, picture and border: composed once per size and settings.
    const ComposedLayerKey key = StaticLayerKey(record, w, h);
    if (!record.staticLayer.Matches(key)) {
        if (HDC layer = record.staticLayer.Begin(key)) {
            SkinGraphics graphics(layer);
            PaintBackground(graphics, windowIndex);
            if (record.captionButtonsActive) DrawWindowBorder(windowIndex, graphics);
            FlushDrawing(graphics);
        }
    }
    if (!record.staticLayer.CopyTo(bits)) {
        std::memset(bits, 0, static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4);   // as a fresh bitmap
    }
    {
        SkinGraphics graphics(record.backgroundCache.dc());
        ClipToPanel(graphics, static_cast<float>(w), static_cast<float>(h));
        if (record.captionButtonsActive) {
            CopySurface(record.captionCopy, record.backgroundCache.dc(), 0, 0, w, record.captionHeight);
            record.captionStates.copiedFrom = record.staticLayer.Matches(key) ? record.staticLayer.generation() : 0;
        }
        const RECT bar{static_cast<LONG>(record.menuBarRect.x), static_cast<LONG>(record.menuBarRect.y),
                       static_cast<LONG>(record.menuBarRect.x + record.menuBarRect.width),
                       static_cast<LONG>(record.menuBarRect.y + record.menuBarRect.height)};
        if (record.menuBarHeight > 0) {
            CopySurface(record.menuBarCopy, record.backgroundCache.dc(), bar.left, bar.top, bar.right - bar.left,
                        bar.bottom - bar.top);
        } else {
            record.menuBarCopy.Release();
        }
        if (record.captionButtonsActive) {
            if (record.titleShown) DrawTitle(windowIndex, &graphics, true, std::nullopt);
            DrawRestingCaptionButtons(*this, windowIndex, graphics, record.titleShown != 0);
        }
        if (record.menuBarHeight > 0) {
            for (int i = 1; i <= static_cast<int>(record.menuItems.size()); ++i) {
                DrawMenuBarItem(windowIndex, &graphics, true, i);
            }
        }
        FlushDrawing(graphics);
    }
    if (paint) {
        WindowDc screen(window);
        if (screen.get()) {
            record.childExclusion.Apply(window, screen.get());
            BitBlt(screen.get(), 0, 0, w, h, record.backgroundCache.dc(), 0, 0, SRCCOPY);
        }
        record.repaintAll = 0;
        if (!SkinFirstSize) InvalidateSkinnedChildren(record);
    } else {
        record.repaintAll = 0;
    }
}

void ForgetComposedLayers(SkinWindowRecord& record) {
    record.staticLayer.Forget();
    record.captionStates.Forget();
    record.childExclusion.Forget();
}

void SkinEngine::PaintFromCache(int windowIndex, HDC dc) {
    if (!IsSkinWindowNumber(windowIndex) || !dc) return;
    const SkinWindowRecord& record = WindowRecord(windowIndex);
    if (!record.backgroundCache.dc()) return;
    RECT frame{};
    GetWindowRect(record.window, &frame);
    // The clip is left behind: the paint DC is discarded by EndPaint.
    WindowRecord(windowIndex).childExclusion.Apply(record.window, dc);
    BitBlt(dc, 0, 0, frame.right - frame.left, frame.bottom - frame.top, record.backgroundCache.dc(), 0, 0, SRCCOPY);
}

void SkinEngine::PaintBackground(SkinGraphics& graphics, int windowIndex) {
    if (!IsSkinWindowNumber(windowIndex)) return;
    const SkinWindowRecord& record = WindowRecord(windowIndex);
    graphics.Clear(kMagenta);
    RECT client{};
    GetClientRect(record.window, &client);
    const float w = static_cast<float>(client.right), h = static_cast<float>(client.bottom);
    SkinPath panel;
    panel.Create();
    AddRoundRect(panel, 0, 0, w, h, 4);
    graphics.SetClip(panel, Gdiplus::CombineModeReplace);

    SkinSolidBrush fill(ColorToArgb(PanelColor(record), 255, false));
    graphics.FillPath(fill, panel);

    const Bytes& picture = PanelPicture(record);
    const int mode = PanelMode(record);
    if (mode == 4 && !picture.empty()) {
        // Tiles across the full width, every other one mirrored so the seams
        // match. The tiles flip the picture, so they work on a copy of their own.
        SkinCanvas surface;
        if (surface.CreateFromBytes(picture)) {
            const float pw = static_cast<float>(surface.Width()), ph = static_cast<float>(surface.Height());
            SkinCanvas tiles(client.right, static_cast<int>(ph));
            {
                SkinGraphics tileGraphics;
                tileGraphics.Create(tiles);
                for (float x = 0; pw > 0 && x < w; x += pw) {
                    tileGraphics.DrawImage(surface, x, 0, pw, ph);
                    surface.RotateFlip(Gdiplus::RotateNoneFlipX);
                }
            }
            graphics.DrawImage(tiles, 0, 0, w, ph);
        }
    } else if (const auto surface = CachedPicture(picture)) {
        const float pw = static_cast<float>(surface->Width()), ph = static_cast<float>(surface->Height());
        switch (mode) {
        case 1: graphics.DrawImage(*surface, w - pw, 0, pw, ph); break;
        case 2: graphics.DrawImage(*surface, (w - pw) / 2, (h - ph) / 2, pw, ph); break;
        case 3: graphics.DrawImage(*surface, 0, 0, w, h); break;
        default: graphics.DrawImage(*surface, 0, 0, pw, ph); break;
        }
    }
    if (record.captionGloss) {
        const float ch = static_cast<float>(record.captionHeight);
        SkinLinearBrush gloss;
        gloss.Create(0, 0, 0, ch, ColorToArgb(0xFFFFFF, 150, true), ColorToArgb(0xFFFFFF, 0, true));
        graphics.FillRectangle(gloss, 0, 0, w, ch);
    }
}

void SkinEngine::DrawWindowBorder(int windowIndex, SkinGraphics& graphics) {
    if (!IsSkinWindowNumber(windowIndex)) return;
    RECT client{};
    GetClientRect(WindowRecord(windowIndex).window, &client);
    const float w = static_cast<float>(client.right), h = static_cast<float>(client.bottom);
    SkinPath outer;
    outer.Create();
    AddEvenRoundRect(outer, 0, 0, w - 1, h - 1, 7);
    SkinPen dark(ColorToArgb(0, 180, true), 1.0f);
    graphics.DrawPath(dark, outer);
    SkinPath inner;
    inner.Create();
    AddEvenRoundRect(inner, 1, 1, w - 3, h - 3, 6);
    SkinPen light(ColorToArgb(0xFFFFFF, 180, true), 1.0f);
    graphics.DrawPath(light, inner);
}

}  // namespace corvalin
