// The laid-out document: a box for every rendered element, and the list of
// things to paint in paint order. Built from the DOM and the computed style,
// and the only source of geometry for painting, hit tests and script.
// Coordinates are canvas pixels: the top left of the document, unscrolled.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "browser/dom/document.h"
#include "browser/layout/computed_style.h"

namespace corvalin::browser::layout {

struct Rect {
    long x = 0, y = 0, width = 0, height = 0;
    long Right() const { return x + width; }
    long Bottom() const { return y + height; }
    bool Contains(long px, long py) const { return px >= x && px < x + width && py >= y && py < y + height; }
    bool Intersects(const Rect& o) const { return x < o.Right() && o.x < Right() && y < o.Bottom() && o.y < Bottom(); }
    void Unite(const Rect& o);
};

// How a block was laid out, so that a later layout can move it and what it
// holds instead of laying it out again. Positions are from where the block was
// placed, so they stay true wherever its ancestors moved it afterwards.
struct BlockRecord {
    bool reusable = false;       // its layout depends on nothing but the inputs below
    bool shrinkToFit = false;
    std::uint8_t layer = 0;
    int clip = -1;               // the clip around it
    long cbWidth = 0;
    long dx = 0, dy = 0;         // its border box once laid out, from its placement
    long resultX = 0, resultY = 0, resultWidth = 0, resultHeight = 0;   // what the layout answered
    std::size_t items = 0, clips = 0;                // where its items and clips begin
    std::size_t endItems = 0, endBoxes = 0, endClips = 0;
};

// One rendered element.
struct ElementBox {
    const dom::Element* element = nullptr;
    const ComputedStyle* style = nullptr;
    Rect border;                  // border box; for inline elements the union of their lines
    std::vector<Rect> fragments;  // inline elements: one per line they touch
    long contentWidth = 0;        // extent of what is inside, for scroll sizes
    long contentHeight = 0;
    int clip = -1;                // the scrolling/clipping ancestor's clip, or -1
    static constexpr std::uint8_t kVerticalBar = 1, kHorizontalBar = 2;
    std::uint8_t bars = 0;        // scroll bars of a box that scrolls its content
    BlockRecord record;           // blocks only
};

// Narrowest and widest a box can be laid out in.
struct Intrinsic {
    long min = 0;   // the widest thing that cannot break
    long max = 0;   // everything on one line
};

enum class PaintKind : std::uint8_t { Box, Text, Image, Control, Marker, ScrollBars };

struct PaintItem {
    PaintKind kind = PaintKind::Box;
    Rect rect;
    const dom::Element* element = nullptr;   // what a hit here finds
    const ComputedStyle* style = nullptr;
    std::wstring text;                       // text runs, control labels, markers, alt text
    // Text runs: the text node they show, and where each of their characters
    // sits in its data (white space collapsed, so not one to one).
    const dom::Node* textNode = nullptr;
    std::vector<std::uint32_t> offsets;
    int clip = -1;
    std::uint8_t layer = 0;                  // positioned content paints above the flow
    std::uint8_t bars = 0;                   // ScrollBars: which (ElementBox::kVerticalBar...), in `rect`, the padding box
};

// A clipping and scrolling ancestor (overflow other than visible).
struct Clip {
    Rect rect;                                 // its padding box
    const dom::Element* scroller = nullptr;    // whose scroll offsets move what is inside
    int parent = -1;
};

class DocumentLayout {
public:
    std::vector<ElementBox> boxes;
    std::vector<PaintItem> items;          // in the order they were laid out
    std::vector<std::uint32_t> paintOrder; // indices of items: the flow, then positioned content
    std::vector<Clip> clips;
    std::unordered_map<const dom::Element*, std::size_t> boxIndex;
    // The resolver keeps the text of every computed value the styles point at.
    std::unique_ptr<StyleResolver> resolver;
    std::vector<std::unique_ptr<ComputedStyle>> ownedStyles;
    std::unordered_map<const dom::Element*, const ComputedStyle*> styles;
    std::unordered_map<const dom::Element*, Intrinsic> intrinsic;   // kept while the element's subtree is unchanged
    std::uint64_t passes = 0;  // layouts made into this object, whole or in part
    long canvasWidth = 0;      // everything laid out, for the view's scroll range
    long canvasHeight = 0;
    long viewWidth = 0;        // what the layout was made for (scroll bars taken off)
    long viewHeight = 0;
    bool verticalBar = false;  // the view shows scroll bars
    bool horizontalBar = false;
    COLORREF canvasBackground = RGB(255, 255, 255);
    std::wstring canvasImage;

    const ElementBox* BoxOf(const dom::Element& element) const {
        auto it = boxIndex.find(&element);
        return it == boxIndex.end() ? nullptr : &boxes[it->second];
    }
    const ComputedStyle* StyleOf(const dom::Element& element) const {
        auto it = styles.find(&element);
        return it == styles.end() ? nullptr : it->second;
    }
};

// Lays `document` out for a view of `width` by `height` pixels.
std::unique_ptr<DocumentLayout> LayOut(dom::Document& document, long width, long height);

}  // namespace corvalin::browser::layout
