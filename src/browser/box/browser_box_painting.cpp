// Drawing the current document into the rendering window, and mouse clicks
// on what was drawn.
#include <windows.h>

#include "base/unique.h"
#include "browser/box/browser_box_engine.h"
#include "browser/box/page_layout.h"

namespace corvalin::browser {

namespace {
HFONT PageFont() {
    static const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    return font;
}
}  // namespace

void BrowserBoxEngine::Paint(HDC dc, const RECT& client) {
    // Off screen first, so a repaint never flickers.
    UniqueMemoryDc memory(CreateCompatibleDC(dc));
    UniqueBitmap bitmap(CreateCompatibleBitmap(dc, std::max<LONG>(client.right, 1), std::max<LONG>(client.bottom, 1)));
    if (!memory || !bitmap) return;
    SelectScope selectBitmap(memory.get(), bitmap.get());
    SelectScope selectFont(memory.get(), PageFont());
    FillRect(memory.get(), &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (page_ && page_->Document()) PaintLayout(memory.get(), LayOutDocument(memory.get(), *page_->Document(), client.right, client.bottom));
    BitBlt(dc, 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
}

void BrowserBoxEngine::OnClick(int x, int y) {
    if (!page_ || !page_->Document()) return;
    RECT client;
    GetClientRect(server_, &client);
    WindowDc screen(server_);
    UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    SelectScope selectFont(memory.get(), PageFont());
    const auto items = LayOutDocument(memory.get(), *page_->Document(), client.right, client.bottom);
    dom::Element* element = ElementAt(items, POINT{x, y});
    if (!element) element = page_->Document()->Body();
    if (!element) return;
    dom::Ref<dom::Element> hold(element);
    dom::Ref<dom::Document> document(page_->Document());
    document->DispatchEvent(*element, L"mousedown");
    FocusOnPress(*element);
    document->DispatchEvent(*element, L"mouseup");
    document->Click(*element);
    Repaint();
}

}  // namespace corvalin::browser
