// A plain flow layout of the body: blocks stack, inline content runs in
// lines of a fixed height and wraps at the view's width. Good enough for
// offsetLeft/offsetTop/offsetWidth/offsetHeight/offsetParent, scroll sizes and
// elementFromPoint to give consistent, plausible numbers.
#pragma once
#include "browser/dom/document.h"

namespace corvalin::browser::dom {

constexpr long kViewWidth = 800;
constexpr long kViewHeight = 600;
constexpr long kLineHeight = 20;

struct LayoutBox {
    long left = 0;    // relative to the offset parent
    long top = 0;
    long width = 0;
    long height = 0;
    Element* offsetParent = nullptr;   // the body for laid-out elements inside it
};

LayoutBox LayoutOf(const Element& element);
// In page coordinates (the body's content at its margin).
LayoutBox PageBoxOf(const Element& element);

long ClientWidth(const Element& element);
long ClientHeight(const Element& element);
long ScrollWidth(const Element& element);
long ScrollHeight(const Element& element);
// Sets the scroll offsets, kept within what the content allows.
void SetScroll(Element& element, long left, long top);

// The innermost element whose box holds the point (view coordinates, the
// document's scroll position applied); the body when nothing else does.
Element* ElementFromPoint(Document& document, long x, long y);

}  // namespace corvalin::browser::dom
