// The element under the mouse: :hover rules follow it, so when it changes
// and some rule of the page depends on it, styles are computed again and the
// view repainted.
#include "browser/box/browser_box_engine.h"
#include "browser/layout/geometry.h"

namespace corvalin::browser {

namespace {

void SetHover(dom::Document& document, dom::Element* element) {
    if (document.HoverElement() == element) return;
    document.SetHoverElement(element);
    const layout::DocumentLayout& laid = layout::CurrentLayout(document);
    if (laid.resolver && laid.resolver->UsesHover()) document.LayoutInputsChanged();
}

}  // namespace

void BrowserBoxEngine::OnMouseMove(int x, int y) {
    if (!page_ || !page_->Document() || !server_) return;
    if (!trackingLeave_) {
        // The window hears nothing more once the mouse is elsewhere unless it asks.
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, server_, 0};
        trackingLeave_ = TrackMouseEvent(&track) != FALSE;
    }
    dom::Ref<dom::Document> document(page_->Document());
    SetHover(*document, layout::ElementFromPoint(*document, x, y));
}

void BrowserBoxEngine::OnMouseLeave() {
    trackingLeave_ = false;
    if (page_ && page_->Document()) SetHover(*page_->Document(), nullptr);
}

}  // namespace corvalin::browser
