#include "browser/layout/painter.h"

#include <algorithm>

#include "base/unique.h"
#include "browser/layout/fonts.h"
#include "browser/layout/geometry.h"
#include "browser/layout/image_store.h"
#include "browser/layout/text_selection.h"

namespace corvalin::browser::layout {

void DrawPicture(HDC dc, const Image& image, const RECT& r) {
    UniqueMemoryDc source(CreateCompatibleDC(dc));
    if (!source) return;
    const HGDIOBJ previous = SelectObject(source.get(), image.bitmap.get());
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    SetStretchBltMode(dc, HALFTONE);
    GdiAlphaBlend(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, source.get(), 0, 0, image.width, image.height, blend);
    SelectObject(source.get(), previous);
}

namespace {

// Restores a DC's clip region, selections and settings when the scope ends.
class SavedDc {
public:
    explicit SavedDc(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~SavedDc() { RestoreDC(dc_, saved_); }
    SavedDc(const SavedDc&) = delete;
    SavedDc& operator=(const SavedDc&) = delete;

private:
    HDC dc_;
    int saved_;
};

void Fill(HDC dc, const RECT& r, COLORREF color) {
    SetDCBrushColor(dc, color);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

COLORREF Shade(COLORREF c, bool dark) {
    if (dark) return RGB(GetRValue(c) / 2, GetGValue(c) / 2, GetBValue(c) / 2);
    return RGB((GetRValue(c) + 255) / 2, (GetGValue(c) + 255) / 2, (GetBValue(c) + 255) / 2);
}

void TileImage(HDC dc, const Image& image, const RECT& area) {
    if (image.width <= 0 || image.height <= 0) return;
    SavedDc saved(dc);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    RECT clip;
    GetClipBox(dc, &clip);
    for (long y = area.top; y < area.bottom; y += image.height) {
        if (y + image.height < clip.top || y > clip.bottom) continue;
        for (long x = area.left; x < area.right; x += image.width) {
            if (x + image.width < clip.left || x > clip.right) continue;
            DrawPicture(dc, image, {x, y, x + image.width, y + image.height});
        }
    }
}

void PaintBorders(HDC dc, const ComputedStyle& s, const RECT& r) {
    for (int side = 0; side < 4; ++side) {
        const long w = s.borderWidth[side];
        if (w <= 0) continue;
        COLORREF color = s.borderColor[side];
        const BorderStyle style = s.borderStyle[side];
        const bool topLeft = side == 0 || side == 3;
        if (style == BorderStyle::Inset || style == BorderStyle::Groove) color = topLeft ? Shade(color, true) : Shade(color, false);
        if (style == BorderStyle::Outset || style == BorderStyle::Ridge) color = topLeft ? Shade(color, false) : Shade(color, true);
        RECT edge = r;
        switch (side) {
        case 0: edge.bottom = r.top + w; break;
        case 1: edge.left = r.right - w; break;
        case 2: edge.top = r.bottom - w; break;
        case 3: edge.right = r.left + w; break;
        }
        if (style == BorderStyle::Dashed || style == BorderStyle::Dotted) {
            // Dashes along the edge, three widths long (dots: one).
            const long step = style == BorderStyle::Dotted ? w : 3 * w;
            const bool horizontal = side == 0 || side == 2;
            for (long p = horizontal ? edge.left : edge.top; p < (horizontal ? edge.right : edge.bottom); p += 2 * step) {
                RECT dash = edge;
                if (horizontal) {
                    dash.left = p;
                    dash.right = std::min(edge.right, p + step);
                } else {
                    dash.top = p;
                    dash.bottom = std::min(edge.bottom, p + step);
                }
                Fill(dc, dash, color);
            }
        } else {
            Fill(dc, edge, color);
        }
    }
}

void PaintBox(HDC dc, const PaintItem& item, const RECT& r, dom::Document& document) {
    const ComputedStyle& s = *item.style;
    // The root's background is the canvas's; it is painted under everything.
    if (item.element->Is(L"body") || item.element->Is(L"html")) {
        PaintBorders(dc, s, r);
        return;
    }
    if (s.background != kTransparent) Fill(dc, r, s.background);
    if (!s.backgroundImage.empty()) {
        if (ImageStore* store = ImageStore::Find(document))
            if (const Image* image = store->Lookup(s.backgroundImage); image && image->state == Image::State::Loaded) {
                const RECT inner{r.left + s.borderWidth[3], r.top + s.borderWidth[0], r.right - s.borderWidth[1], r.bottom - s.borderWidth[2]};
                TileImage(dc, *image, inner);
            }
    }
    PaintBorders(dc, s, r);
}

void PaintText(HDC dc, const PaintItem& item, const RECT& r) {
    const Font& font = FontOf(*item.style);
    SelectObject(dc, font.handle);
    SetTextColor(dc, item.style->color);
    ExtTextOutW(dc, r.left, r.top, 0, nullptr, item.text.c_str(), static_cast<UINT>(item.text.size()), nullptr);
}

// A picture, or while there is none, a sunken frame with the alt text.
void PaintImage(HDC dc, const PaintItem& item, const RECT& r, dom::Document& document) {
    const ImageStore* store = ImageStore::Find(document);
    const Image* image = store && !item.text.empty() ? store->Lookup(item.text) : nullptr;
    if (image && image->state == Image::State::Loaded) {
        DrawPicture(dc, *image, r);
        return;
    }
    RECT frame = r;
    DrawEdge(dc, &frame, BDR_SUNKENOUTER, BF_RECT);
    const std::wstring alt = item.element->GetAttribute(L"alt");
    if (alt.empty()) return;
    SavedDc saved(dc);
    IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    SelectObject(dc, FontOf(*item.style).handle);
    SetTextColor(dc, item.style->color);
    RECT text{r.left + 4, r.top + 3, r.right - 2, r.bottom - 2};
    DrawTextW(dc, alt.c_str(), static_cast<int>(alt.size()), &text, DT_WORDBREAK | DT_NOPREFIX);
}

void PaintControl(HDC dc, const PaintItem& item, const RECT& r) {
    const dom::Element& e = *item.element;
    const std::wstring type = e.Type();
    RECT box = r;
    SelectObject(dc, FontOf(*item.style).handle);
    const bool disabled = e.Disabled();
    if (type == L"checkbox" || type == L"radio") {
        UINT state = (type == L"checkbox" ? DFCS_BUTTONCHECK : DFCS_BUTTONRADIO) | (e.Checked() ? DFCS_CHECKED : 0);
        if (disabled) state |= DFCS_INACTIVE;
        DrawFrameControl(dc, &box, DFC_BUTTON, state);
        return;
    }
    const bool button = e.Is(L"button") || type == L"submit" || type == L"reset" || type == L"button";
    std::wstring label;
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
    if (button) {
        DrawFrameControl(dc, &box, DFC_BUTTON, DFCS_BUTTONPUSH | (disabled ? DFCS_INACTIVE : 0));
        label = e.Is(L"button") ? e.InnerText() : e.Value();
        if (label.empty() && !e.Is(L"button") && type != L"button") label = type == L"reset" ? L"Reset" : L"Submit Query";
        format |= DT_CENTER;
    } else {
        Fill(dc, box, GetSysColor(disabled ? COLOR_BTNFACE : COLOR_WINDOW));
        DrawEdge(dc, &box, EDGE_SUNKEN, BF_RECT);
        if (e.Is(L"select")) {
            const int index = e.SelectedIndex();
            const auto options = e.Options();
            if (index >= 0 && index < static_cast<int>(options.size())) label = options[index]->OptionText();
            const long arrow = GetSystemMetrics(SM_CXVSCROLL);
            RECT button{r.right - 2 - arrow, r.top + 2, r.right - 2, r.bottom - 2};
            DrawFrameControl(dc, &button, DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
            box.right = button.left;
        } else if (e.Is(L"textarea")) {
            label = e.Value();
            format = DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL;
        } else if (type == L"password") {
            label.assign(e.Value().size(), L'*');
        } else {
            label = e.Value();
        }
    }
    SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
    RECT text{box.left + 3, box.top + 2, box.right - 3, box.bottom - 2};
    DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &text, format);
}

void PaintMarker(HDC dc, const PaintItem& item, const RECT& r) {
    const COLORREF color = item.style->color;
    if (item.text == L"disc" || item.text == L"circle") {
        SavedDc saved(dc);
        SetDCPenColor(dc, color);
        SetDCBrushColor(dc, color);
        SelectObject(dc, GetStockObject(DC_PEN));
        SelectObject(dc, GetStockObject(item.text == L"disc" ? DC_BRUSH : NULL_BRUSH));
        Ellipse(dc, r.left, r.top, r.right, r.bottom);
    } else if (item.text == L"square") {
        Fill(dc, r, color);
    } else {
        SelectObject(dc, FontOf(*item.style).handle);
        SetTextColor(dc, color);
        ExtTextOutW(dc, r.left, r.top, 0, nullptr, item.text.c_str(), static_cast<UINT>(item.text.size()), nullptr);
    }
}

// One scroll bar along `r`: arrows at both ends, the thumb where the
// position is within the range.
void PaintScrollBar(HDC dc, RECT r, bool vertical, long position, long range, long page) {
    const COLORREF track = RGB((GetRValue(GetSysColor(COLOR_BTNFACE)) + 255) / 2, (GetGValue(GetSysColor(COLOR_BTNFACE)) + 255) / 2,
                               (GetBValue(GetSysColor(COLOR_BTNFACE)) + 255) / 2);
    Fill(dc, r, track);
    const long thickness = vertical ? r.right - r.left : r.bottom - r.top;
    const long length = vertical ? r.bottom - r.top : r.right - r.left;
    const long arrow = std::min(thickness, length / 2);
    RECT first = r, second = r;
    if (vertical) {
        first.bottom = r.top + arrow;
        second.top = r.bottom - arrow;
    } else {
        first.right = r.left + arrow;
        second.left = r.right - arrow;
    }
    DrawFrameControl(dc, &first, DFC_SCROLL, vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT);
    DrawFrameControl(dc, &second, DFC_SCROLL, vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT);
    const long trackLength = length - 2 * arrow;
    if (range <= page || trackLength <= 8) return;
    const long thumb = std::max(8L, trackLength * page / range);
    const long offset = (trackLength - thumb) * position / std::max(1L, range - page);
    RECT t = r;
    if (vertical) {
        t.top = r.top + arrow + offset;
        t.bottom = t.top + thumb;
    } else {
        t.left = r.left + arrow + offset;
        t.right = t.left + thumb;
    }
    Fill(dc, t, GetSysColor(COLOR_BTNFACE));
    DrawEdge(dc, &t, EDGE_RAISED, BF_RECT);
}

void PaintScrollBars(HDC dc, const PaintItem& item, const RECT& r) {
    const dom::Element& e = *item.element;
    const bool vertical = item.bars & ElementBox::kVerticalBar, horizontal = item.bars & ElementBox::kHorizontalBar;
    const long barWidth = GetSystemMetrics(SM_CXVSCROLL), barHeight = GetSystemMetrics(SM_CYHSCROLL);
    if (vertical)
        PaintScrollBar(dc, {r.right - barWidth, r.top, r.right, r.bottom - (horizontal ? barHeight : 0)}, true, ScrollTop(e),
                       ScrollHeight(e), ClientHeight(e));
    if (horizontal)
        PaintScrollBar(dc, {r.left, r.bottom - barHeight, r.right - (vertical ? barWidth : 0), r.bottom}, false, ScrollLeft(e),
                       ScrollWidth(e), ClientWidth(e));
    if (vertical && horizontal) Fill(dc, {r.right - barWidth, r.bottom - barHeight, r.right, r.bottom}, GetSysColor(COLOR_BTNFACE));
}

}  // namespace

void PaintDocument(HDC dc, dom::Document& document, const DocumentLayout& layout, const RECT& dirty) {
    SavedDc saved(dc);
    SetBkMode(dc, TRANSPARENT);
    Fill(dc, dirty, layout.canvasBackground);
    const POINT scroll = ViewScroll(document);
    if (!layout.canvasImage.empty()) {
        if (ImageStore* store = ImageStore::Find(document))
            if (const Image* image = store->Lookup(layout.canvasImage); image && image->state == Image::State::Loaded)
                TileImage(dc, *image, {-scroll.x, -scroll.y, std::max(layout.canvasWidth, layout.viewWidth) - scroll.x,
                                       std::max(layout.canvasHeight, layout.viewHeight) - scroll.y});
    }
    const dom::Element* focused = document.ActiveElement();
    const std::vector<dom::TextRange::NodeSpan> selected =
        document.Selection() ? document.Selection()->CoveredSpans() : std::vector<dom::TextRange::NodeSpan>();
    for (const std::uint32_t index : layout.paintOrder) {
        const PaintItem& item = layout.items[index];
        RECT visible;
        const RECT r = ViewRect(layout, document, item.rect, item.clip, &visible);
        RECT area;
        if (!IntersectRect(&area, &r, &dirty)) continue;
        if (!IntersectRect(&area, &area, &visible)) continue;
        SavedDc itemScope(dc);
        if (item.clip >= 0) IntersectClipRect(dc, visible.left, visible.top, visible.right, visible.bottom);
        switch (item.kind) {
        case PaintKind::Box: PaintBox(dc, item, r, document); break;
        case PaintKind::Text:
            PaintText(dc, item, r);
            if (!selected.empty()) PaintSelectedText(dc, item, r, selected);
            break;
        case PaintKind::Image: PaintImage(dc, item, r, document); break;
        case PaintKind::Control:
            PaintControl(dc, item, r);
            if (item.element == focused) {
                RECT focus{r.left + 3, r.top + 3, r.right - 3, r.bottom - 3};
                DrawFocusRect(dc, &focus);
            }
            break;
        case PaintKind::Marker: PaintMarker(dc, item, r); break;
        case PaintKind::ScrollBars: PaintScrollBars(dc, item, r); break;
        }
    }
}

}  // namespace corvalin::browser::layout
