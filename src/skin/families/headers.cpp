// The header of a list view keeps its behaviour; the skin paints it whole:
// glassy cells with separators, the item under the mouse in the accent
// colour, the pressed one darker, and each item's image and text.
#include "skin/families/control_families.h"

#include <commctrl.h>

#include "skin/common_controls.h"
#include "skin/control_rects.h"
#include "skin/drawing/drawing_objects.h"
#include "skin/families/family_painting.h"
#include "skin/skin_color.h"
#include "skin/skin_settings.h"

namespace corvalin {
namespace {

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kBlack = 0x000000;
constexpr int kTextGap = 3;   // between an item's image and its text


int ItemCount(HWND header) { return static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)); }

RECT ItemRect(HWND header, int item) {
    RECT r{};
    SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&r));
    return r;
}

void PaintCell(SkinGraphics& graphics, const RECT& r, bool hot, bool pressed) {
    const float x = static_cast<float>(r.left), y = static_cast<float>(r.top);
    const float w = static_cast<float>(r.right - r.left), h = static_cast<float>(r.bottom - r.top);
    SkinLinearBrush glass;
    if (glass.Create(0, y - 1, 0, y + h + 1, ColorToArgb(kWhite, 170, 1), ColorToArgb(kWhite, 60, 1)))
        graphics.FillRectangle(glass, x, y, w, h);
    if (hot) {
        SkinLinearBrush accent;
        if (accent.Create(0, y - 1, 0, y + h + 1, ColorToArgb(SkinAccentColor, 60, 1),
                          ColorToArgb(SkinAccentColor, 160, 1)))
            graphics.FillRectangle(accent, x, y, w, h);
    }
    if (pressed) {
        SkinSolidBrush dark(ColorToArgb(kBlack, 40, 1));
        graphics.FillRectangle(dark, x, y, w, h);
    }
    SkinPen separator(ColorToArgb(kBlack, 70, 1), 1);
    graphics.DrawLine(separator, x + w - 1, y + 3, x + w - 1, y + h - 3);
    SkinPen bottom(ColorToArgb(kBlack, 50, 1), 1);
    graphics.DrawLine(bottom, x, y + h - 1, x + w, y + h - 1);
}

// The item's image after the bitmap margin, drawn with GDI over the composed
// cell; answers where the text may start.
int DrawItemImage(HDC dc, HWND header, const HDITEMA& item, const RECT& cell) {
    const int margin = static_cast<int>(SendMessageA(header, HDM_GETBITMAPMARGIN, 0, 0));
    const int left = cell.left + margin;
    if (!(item.fmt & HDF_IMAGE)) return left;
    // The list is the list view's own: the header borrows it and never frees it.
    const HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageA(header, HDM_GETIMAGELIST, 0, 0));
    if (!images) return left;
    int cx = 0, cy = 0;
    ImageListIconSize(images, &cx, &cy);
    UniqueIcon icon(ImageListIcon(images, item.iImage, ILD_TRANSPARENT));
    if (!icon) return left;
    DrawIconEx(dc, left, cell.top + (cell.bottom - cell.top - cy) / 2, icon.get(), cx, cy, 0, nullptr, DI_NORMAL);
    return left + cx + kTextGap;
}

void DrawItemText(SkinGraphics& graphics, const SkinControlFont& controlFont, const HDITEMA& item, float left,
                  const RECT& cell) {
    if (!item.pszText || !item.pszText[0]) return;
    SkinFont font;
    if (!font.Create(controlFont.name, static_cast<float>(controlFont.size), controlFont.style, Gdiplus::UnitPoint))
        return;
    SkinStringFormat format;
    format.Create(Gdiplus::StringFormatFlagsNoWrap);
    const int justify = item.fmt & HDF_JUSTIFYMASK;
    format.SetAlignment(justify == HDF_RIGHT ? Gdiplus::StringAlignmentFar
                        : justify == HDF_CENTER ? Gdiplus::StringAlignmentCenter
                                                : Gdiplus::StringAlignmentNear);
    format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    SkinSolidBrush brush(ColorToArgb(kBlack, 255, 1));
    const float right = static_cast<float>(cell.right - 4);
    graphics.DrawString(item.pszText, font,
                        SkinRectF{left, static_cast<float>(cell.top), right - left, static_cast<float>(cell.bottom - cell.top)},
                        format, brush);
}

}  // namespace

void SkinHeaders(int windowNumber, HWND parent) {
    if (!SkinTransparentControls || !IsSkinWindowNumber(windowNumber)) return;
    for (HWND list = FindWindowExA(parent, nullptr, WC_LISTVIEWA, nullptr); list;
         list = FindWindowExA(parent, list, WC_LISTVIEWA, nullptr)) {
        const HWND header = FindWindowExA(list, nullptr, WC_HEADERA, nullptr);
        if (!header) continue;
        auto& headers = WindowRecord(windowNumber).headers;
        if (const int number = RegisterControl(headers, windowNumber, header, SkinHeaderProc))
            headers[number].listView = list;
    }
}

int HeaderItemAt(HWND header, LPARAM position) {
    const POINT p{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    const int count = ItemCount(header);
    for (int i = 0; i < count; ++i) {
        const RECT r = ItemRect(header, i);
        if (PtInRect(&r, p)) return i;
    }
    return -1;
}

void PaintHeader(int windowNumber, int headerNumber) {
    if (!IsSkinWindowNumber(windowNumber)) return;
    auto& headers = WindowRecord(windowNumber).headers;
    if (!headers.Valid(headerNumber) || !headers[headerNumber].window) return;
    const SkinHeaderRecord record = headers[headerNumber];
    const HWND header = record.window;
    RECT client{};
    GetClientRect(header, &client);
    ComposedBackground background(header, ClientRectInWindow(header));
    if (!background) return;
    const int count = ItemCount(header);
    const SkinControlFont controlFont = GetControlFont(header);
    for (int i = 0; i < count; ++i) {
        const RECT cell = ItemRect(header, i);
        char text[260] = {};
        HDITEMA item{};
        item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        {
            SkinGraphics graphics(background.dc());
            PaintCell(graphics, cell, i == record.hotItem, record.pressed && i == record.pressedItem);
        }
        const int textLeft = DrawItemImage(background.dc(), header, item, cell);
        SkinGraphics graphics(background.dc());
        DrawItemText(graphics, controlFont, item, static_cast<float>(textLeft), cell);
    }
    // Past the last item the header shows an empty cell.
    const RECT last = count > 0 ? ItemRect(header, count - 1) : RECT{};
    if (last.right < client.right) {
        SkinGraphics graphics(background.dc());
        PaintCell(graphics, RECT{last.right, 0, client.right + 1, client.bottom}, false, false);
    }
    WindowDc target(header);
    BitBlt(target.get(), 0, 0, background.width(), background.height(), background.dc(), 0, 0, SRCCOPY);
}

LRESULT CALLBACK SkinHeaderProc(HWND header, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto member = FindFamilyMember(header, &SkinWindowRecord::headers);
    if (!member) return CallPreviousProc(header, message, wParam, lParam);
    SkinHeaderRecord* record = member.element;
    const WNDPROC previous = record->previousProc;
    const int n = member.window, h = member.number;

    switch (message) {
    case WM_MOVE:
        PaintHeader(n, h);
        break;
    case WM_PAINT: {
        {
            PaintScope paint(header);
            PaintHeader(n, h);
        }
        return DefWindowProcA(header, message, wParam, lParam);
    }
    case WM_ERASEBKGND:
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        break;
    case WM_MOUSEMOVE: {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, header, 0};
        TrackMouseEvent(&track);
        const int item = HeaderItemAt(header, lParam);
        if (item != record->hotItem) {
            record->hotItem = item;
            PaintHeader(n, h);
        }
        break;
    }
    case WM_LBUTTONDOWN:
        record->pressed = 1;
        record->pressedItem = record->hotItem;
        break;
    case WM_LBUTTONUP:
        record->pressed = 0;
        record->pressedItem = -1;
        break;
    case WM_MOUSELEAVE:
        record->hotItem = -1;
        PaintHeader(n, h);
        break;
    default:
        break;
    }
    return CallPreviousProc(previous, header, message, wParam, lParam);
}

}  // namespace corvalin
