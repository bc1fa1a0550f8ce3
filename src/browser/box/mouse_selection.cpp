// The selection the user makes with the mouse: a drag selects from where the
// button went down to the pointer, a double click selects a word, and a page
// whose selectstart handler answers false gets none.
#include <memory>

#include "browser/box/browser_box_engine.h"
#include "browser/layout/geometry.h"
#include "browser/layout/text_selection.h"

namespace corvalin::browser {

namespace {

// The element under the point, once the page agreed to a selection there.
dom::Element* SelectionTarget(dom::Document& document, int x, int y) {
    dom::Element* target = layout::ElementFromPoint(document, x, y);
    if (!target) return nullptr;
    dom::Ref<dom::Element> hold(target);
    return document.DispatchEvent(*target, L"selectstart") && target->Parent() ? target : nullptr;
}

}  // namespace

void BrowserBoxEngine::OnMouseDown(int x, int y) {
    selectionAnchor_ = nullptr;
    if (!page_ || !page_->Document()) return;
    SyncView();
    dom::Ref<dom::Document> document(page_->Document());
    if (document->Selection()) document->SetSelection(nullptr);
    if (!SelectionTarget(*document, x, y)) return;
    if (const auto point = layout::TextPointAt(*document, x, y)) {
        selectionAnchor_ = const_cast<dom::Node*>(point->text);
        selectionAnchorOffset_ = point->offset;
    }
}

void BrowserBoxEngine::OnMouseDrag(int x, int y) {
    if (!selectionAnchor_ || !page_ || !page_->Document() || !page_->Document()->Body()) return;
    dom::Ref<dom::Document> document(page_->Document());
    const auto focus = layout::TextPointAt(*document, x, y);
    if (!focus) return;
    auto range = std::make_unique<dom::TextRange>(*document->Body());
    range->SetPoints({selectionAnchor_.get(), selectionAnchorOffset_}, *focus);
    if (range->Collapsed()) {
        if (document->Selection()) document->SetSelection(nullptr);
        return;
    }
    document->SetSelection(std::move(range));
}

void BrowserBoxEngine::OnMouseUp() { selectionAnchor_ = nullptr; }

void BrowserBoxEngine::OnDoubleClick(int x, int y) {
    if (!page_ || !page_->Document() || !page_->Document()->Body()) return;
    SyncView();
    dom::Ref<dom::Document> document(page_->Document());
    if (!SelectionTarget(*document, x, y)) return;
    const auto point = layout::TextPointAt(*document, x, y);
    if (!point) return;
    auto range = std::make_unique<dom::TextRange>(*document->Body());
    range->SelectWordAt(*point);
    document->SetSelection(range->Collapsed() ? nullptr : std::move(range));
}

void BrowserBoxEngine::OnContextMenu(int x, int y) {
    if (!page_ || !page_->Document()) return;
    SyncView();
    dom::Ref<dom::Document> document(page_->Document());
    if (dom::Element* target = layout::ElementFromPoint(*document, x, y)) {
        dom::Ref<dom::Element> hold(target);
        // There is no menu of our own to show: the page's handler is all it does.
        document->DispatchEvent(*target, L"contextmenu");
    }
}

}  // namespace corvalin::browser
