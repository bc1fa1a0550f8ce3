#include "browser/om/clipboard_commands.h"

#include <utility>

#include "base/clipboard.h"
#include "base/unique.h"
#include "browser/dom/text_range.h"
#include "browser/layout/geometry.h"
#include "browser/layout/image_store.h"
#include "browser/layout/painter.h"

namespace corvalin::browser::om {

namespace {

bool IsPictureElement(const dom::Element& e) { return e.Is(L"img") || (e.Is(L"input") && e.Type() == L"image"); }

// The picture as the page paints it: scaled to its displayed size, its
// transparent parts over white, in the screen's own format (a DDB, as
// CF_BITMAP wants).
UniqueBitmap DisplayedPicture(const dom::Element& element) {
    if (!IsPictureElement(element)) return {};
    const std::wstring src = element.ResolvedUrlAttribute(L"src");
    const layout::ImageStore* store = layout::ImageStore::Find(element.OwnerDocument());
    const layout::Image* image = store && !src.empty() ? store->Lookup(src) : nullptr;
    if (!image || image->state != layout::Image::State::Loaded) return {};
    SIZE size = layout::DisplayedSize(element);
    if (size.cx <= 0 || size.cy <= 0) size = {image->width, image->height};   // not laid out: its own size
    WindowDc screen(nullptr);
    UniqueBitmap picture(CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
    UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
    if (!picture || !dc) return {};
    {
        SelectScope select(dc.get(), picture.get());
        const RECT all{0, 0, size.cx, size.cy};
        FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        layout::DrawPicture(dc.get(), *image, all);
    }
    return picture;
}

}  // namespace

bool CopyPictureToClipboard(const dom::Element& image) {
    UniqueBitmap picture = DisplayedPicture(image);
    return picture && Clipboard().PutBitmap(std::move(picture));
}

HRESULT ExecuteDocumentCommand(dom::Document& document, Invocation& call) {
    if (!dom::EqualsIgnoringCase(call.Text(0), L"copy")) return call.ReturnBool(false);
    const dom::TextRange* selection = document.Selection();
    if (!selection || selection->Collapsed()) return call.ReturnBool(false);
    return call.ReturnBool(Clipboard().PutText(selection->Text()));
}

}  // namespace corvalin::browser::om
