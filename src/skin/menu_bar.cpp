// The optional skinned menu bar along the bottom of a skinned window: its
// rectangle, its items laid out from the left, and their painting.
#include "skin/skin_engine.h"
#include "skin/drawing/drawing_objects.h"
#include "skin/rounded_paths.h"
#include "skin/skin_color.h"
#include "skin/skin_settings.h"
#include "skin/skin_window_list.h"
#include "skin/window_painting.h"

namespace corvalin {
namespace {

void PlaceBar(SkinWindowRecord& record, int border) {
    RECT client{};
    GetClientRect(record.window, &client);
    record.menuBarRect.x = static_cast<float>(border);
    record.menuBarRect.y = static_cast<float>(client.bottom - border - record.menuBarHeight - 1);
    record.menuBarRect.width = static_cast<float>(client.right - 2 * border);
    record.menuBarRect.height = static_cast<float>(record.menuBarHeight);
}

}  // namespace

void SkinEngine::SetMenuBar(int windowIndex, int barHeight, const std::vector<SkinMenuItem>& items, bool recreate) {
    if (!IsSkinWindowNumber(windowIndex)) return;
    SkinWindowRecord& record = WindowRecord(windowIndex);
    record.menuBarHeight = barHeight;
    PlaceBar(record, resizeBorderWidth);
    if (recreate || record.menuItems.empty()) {
        record.menuItems = items;
    } else {
        record.menuItems.insert(record.menuItems.end(), items.begin(), items.end());
    }
}

void SkinEngine::LayoutMenuBar(int windowIndex) {
    if (!IsSkinWindowNumber(windowIndex)) return;
    SkinWindowRecord& record = WindowRecord(windowIndex);
    PlaceBar(record, resizeBorderWidth);
    const float barWidth = record.menuBarRect.width;
    float x = static_cast<float>(resizeBorderWidth);
    float used = 0;
    for (SkinMenuItem& item : record.menuItems) {
        const float width = item.width == -1 ? barWidth - used : static_cast<float>(item.width);
        item.rect = SkinRectF{x, record.menuBarRect.y, width, record.menuBarRect.height};
        x += width;
        used += width;
    }
}

// An item is its picture at the left (when it has one) and its text centred
// in the rest, in the bar's text colour with the caption's halo.
void SkinEngine::DrawMenuBarItem(int windowIndex, SkinGraphics* rebuildGraphics, bool inRebuild, int itemNumber) {
    if (!IsSkinWindowNumber(windowIndex)) return;
    SkinWindowRecord& record = WindowRecord(windowIndex);
    if (itemNumber < 1 || itemNumber > static_cast<int>(record.menuItems.size())) return;
    if (!record.backgroundCache.dc() || record.menuBarHeight <= 0) return;
    const SkinMenuItem& item = record.menuItems[itemNumber - 1];
    const SkinRectF& r = item.rect;
    const RECT box{static_cast<LONG>(r.x), static_cast<LONG>(r.y), static_cast<LONG>(r.x + r.width),
                   static_cast<LONG>(r.y + r.height)};
    SkinGraphics own;
    if (!inRebuild || !rebuildGraphics) {
        RestoreFromMenuBarCopy(windowIndex, box);
        own.Create(record.backgroundCache.dc());
    }
    SkinGraphics& graphics = own ? own : *rebuildGraphics;
    if (!graphics) return;
    float textLeft = r.x;
    if (!item.picture.empty()) {
        SkinImage picture;
        if (picture.LoadFromBytes(item.picture)) {
            const float ph = std::min(r.height, static_cast<float>(picture.Height()));
            const float pw = picture.Height() ? picture.Width() * ph / picture.Height() : 0.0f;
            graphics.DrawImage(picture, r.x + 2, r.y + (r.height - ph) / 2, pw, ph);
            textLeft += pw + 4;
        }
    }
    HaloTextStyle style;
    style.textColor = record.menuTextColor;
    style.haloColor = record.menuColor;
    style.fontFace = record.menuFontName;
    style.fontSize = static_cast<float>(record.menuFontSize);
    style.alignment = Gdiplus::StringAlignmentCenter;
    style.lineAlignment = Gdiplus::StringAlignmentCenter;
    DrawHaloText(graphics, item.text, SkinRectF{textLeft, r.y, r.x + r.width - textLeft, r.height}, style);
    if (own) {
        gdip::GdipFlush(own.Handle(), Gdiplus::FlushIntentionSync);
        own.Destroy();
        ChildExcludingDc screen(record.window);
        if (screen.get()) {
            BitBlt(screen.get(), box.left, box.top, box.right - box.left, box.bottom - box.top,
                   record.backgroundCache.dc(), box.left, box.top, SRCCOPY);
        }
    }
}

bool SkinEngine::SetMenuBarItem(HWND window, int itemNumber, const std::string& text,
                                std::optional<Bytes> picture, std::optional<int> value) {
    const int n = FindWindowRecord(window);
    if (!n) return false;
    SkinWindowRecord& record = WindowRecord(n);
    if (itemNumber < 1 || itemNumber > static_cast<int>(record.menuItems.size())) return false;
    SkinMenuItem& item = record.menuItems[itemNumber - 1];
    item.text = text;
    if (picture) item.picture = *picture;
    if (value) item.value = *value;
    DrawMenuBarItem(n, nullptr, false, itemNumber);
    return true;
}

void SkinEngine::SetMenuBarStyle(HWND window, std::optional<int> style, std::optional<int> second,
                                 std::optional<int> third, std::optional<COLORREF> textColor,
                                 std::optional<std::string> fontFace, std::optional<int> fontSize) {
    const int n = FindWindowRecord(window);
    if (!n) return;
    SkinWindowRecord& record = WindowRecord(n);
    if (style) record.menuBarStyle = *style;
    if (second) record.menuBarStyle2 = *second;
    if (third) record.menuBarStyle3 = *third;
    if (textColor) record.menuTextColor = *textColor;
    if (fontFace) record.menuFontName = *fontFace;
    if (fontSize) record.menuFontSize = *fontSize;
}

}  // namespace corvalin
