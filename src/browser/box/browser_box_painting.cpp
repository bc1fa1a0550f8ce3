// Drawing the current document into the rendering window from its layout,
// the view's scroll bars, and mouse clicks and the wheel on what was drawn.
#include <windows.h>

#include <algorithm>

#include "base/unique.h"
#include "browser/box/browser_box_engine.h"
#include "browser/layout/geometry.h"
#include "browser/layout/painter.h"

namespace corvalin::browser {

void BrowserBoxEngine::SyncView() {
    Page* page = page_.get();
    dom::Document* document = page ? page->Document() : nullptr;
    if (!server_ || !document) return;
    SizeView();
    const layout::DocumentLayout& laid = layout::CurrentLayout(*document);
    // Content that shrank pulls the scroll position back in.
    if (dom::Element* html = document->DocumentElement()) {
        const long maxLeft = std::max(0L, laid.canvasWidth - laid.viewWidth);
        const long maxTop = std::max(0L, laid.canvasHeight - laid.viewHeight);
        if (html->ScrollLeft() > maxLeft || html->ScrollTop() > maxTop)
            html->SetScrollPosition(std::min(html->ScrollLeft(), maxLeft), std::min(html->ScrollTop(), maxTop));
    }
    const POINT scroll = layout::ViewScroll(*document);
    auto bar = [&](int which, bool shown, long total, long page, long position) {
        ShowScrollBar(server_, which, shown);
        if (!shown) return;
        SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS};
        info.nMin = 0;
        info.nMax = std::max(0L, total - 1);
        info.nPage = static_cast<UINT>(std::max(0L, page));
        info.nPos = position;
        SetScrollInfo(server_, which, &info, TRUE);
    };
    bar(SB_VERT, laid.verticalBar, laid.canvasHeight, laid.viewHeight, scroll.y);
    bar(SB_HORZ, laid.horizontalBar, laid.canvasWidth, laid.viewWidth, scroll.x);
    page->FetchImages();
}

void BrowserBoxEngine::Paint(HDC dc, const RECT& dirty) {
    SyncView();
    RECT client;
    GetClientRect(server_, &client);
    RECT area;
    if (!IntersectRect(&area, &dirty, &client)) return;
    const long width = area.right - area.left, height = area.bottom - area.top;
    // Off screen first, so a repaint never flickers; only the invalid part.
    UniqueMemoryDc memory(CreateCompatibleDC(dc));
    UniqueBitmap bitmap(CreateCompatibleBitmap(dc, std::max(width, 1L), std::max(height, 1L)));
    if (!memory || !bitmap) return;
    SelectScope selectBitmap(memory.get(), bitmap.get());
    SetViewportOrgEx(memory.get(), -area.left, -area.top, nullptr);
    dom::Document* document = page_ ? page_->Document() : nullptr;
    if (document) {
        layout::PaintDocument(memory.get(), *document, layout::CurrentLayout(*document), area);
    } else {
        FillRect(memory.get(), &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    SetViewportOrgEx(memory.get(), 0, 0, nullptr);
    BitBlt(dc, area.left, area.top, width, height, memory.get(), 0, 0, SRCCOPY);
}

void BrowserBoxEngine::OnClick(int x, int y) {
    if (!page_ || !page_->Document()) return;
    SyncView();
    dom::Element* element = layout::ElementFromPoint(*page_->Document(), x, y);
    if (!element) return;
    dom::Ref<dom::Element> hold(element);
    dom::Ref<dom::Document> document(page_->Document());
    document->DispatchEvent(*element, L"mousedown");
    FocusOnPress(*element);
    document->DispatchEvent(*element, L"mouseup");
    document->Click(*element);
    Repaint();
}

void BrowserBoxEngine::OnScroll(int bar, int request) {
    dom::Document* document = page_ ? page_->Document() : nullptr;
    dom::Element* html = document ? document->DocumentElement() : nullptr;
    if (!html) return;
    const dom::Ref<dom::Document> hold(document);
    SCROLLINFO info{sizeof info, SIF_ALL};
    GetScrollInfo(server_, bar, &info);
    const long line = 40, page = static_cast<long>(info.nPage);
    POINT position = layout::ViewScroll(*document);
    long& value = bar == SB_VERT ? position.y : position.x;
    switch (request) {
    case SB_LINEUP: value -= line; break;
    case SB_LINEDOWN: value += line; break;
    case SB_PAGEUP: value -= page; break;
    case SB_PAGEDOWN: value += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: value = info.nTrackPos; break;
    case SB_TOP: value = 0; break;
    case SB_BOTTOM: value = info.nMax; break;
    default: return;
    }
    layout::ScrollTo(*html, position.x, position.y);
}

void BrowserBoxEngine::OnWheel(int delta) {
    dom::Document* document = page_ ? page_->Document() : nullptr;
    dom::Element* html = document ? document->DocumentElement() : nullptr;
    if (!html) return;
    const dom::Ref<dom::Document> hold(document);
    const POINT position = layout::ViewScroll(*document);
    // Three lines of about 20 pixels for each notch, as the platform scrolls.
    layout::ScrollTo(*html, position.x, position.y - delta * 60 / WHEEL_DELTA);
}

}  // namespace corvalin::browser
