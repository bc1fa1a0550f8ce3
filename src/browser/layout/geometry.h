// Geometry of a document as script and the window see it, all from the one
// layout (laid out again only when the tree, a style, a fetched sheet or image,
// or the view's size changed). View coordinates are the rendering window's
// client pixels; the view's scroll position lives on the <html> element and
// <body> answers the same.
#pragma once
#include <windows.h>

#include <vector>

#include "browser/dom/document.h"
#include "browser/layout/document_layout.h"

namespace corvalin::browser::layout {

const DocumentLayout& CurrentLayout(dom::Document& document);

struct OffsetBox {
    long left = 0;    // from the offset parent's border box
    long top = 0;
    long width = 0;
    long height = 0;
    dom::Element* offsetParent = nullptr;
};

// offsetLeft/Top/Width/Height/Parent. The offset parent is the nearest
// positioned ancestor, table cell or table, else the body; none for elements
// not rendered.
OffsetBox OffsetOf(const dom::Element& element);
long ClientWidth(const dom::Element& element);
long ClientHeight(const dom::Element& element);
long ClientLeft(const dom::Element& element);
long ClientTop(const dom::Element& element);
long ScrollWidth(const dom::Element& element);
long ScrollHeight(const dom::Element& element);
long ScrollLeft(const dom::Element& element);
long ScrollTop(const dom::Element& element);
// Scrolls an element's content (the view for <html> and <body>), kept within
// what the content allows; fires onscroll when the position moved.
void ScrollTo(dom::Element& element, long left, long top);
POINT ViewScroll(const dom::Document& document);

// In view coordinates, scroll positions applied.
RECT BoundingClientRect(const dom::Element& element);
std::vector<RECT> ClientRects(const dom::Element& element);
// The innermost element painted at a point of the view; the body when nothing else is.
dom::Element* ElementFromPoint(dom::Document& document, long x, long y);

// A laid-out rectangle in view coordinates (scrolls of the view and of the
// element's scrolling ancestors applied), and the clip it is seen through.
RECT ViewRect(const DocumentLayout& layout, const dom::Document& document, const Rect& rect, int clip, RECT* visible = nullptr);

// The size an image or control is shown at (its border box less padding and
// borders); zero when it is not rendered.
SIZE DisplayedSize(const dom::Element& element);
// The load state of an image element's picture: "uninitialized" (none asked
// for, or it failed), "loading", "complete".
std::wstring ImageReadyState(const dom::Element& element);

// The computed style of an element (the layout's), or null when the element is not in the tree.
const ComputedStyle* CurrentStyleOf(const dom::Element& element);

}  // namespace corvalin::browser::layout
