// Inside the layout: the builder that turns the styled tree into boxes and
// paint items. Blocks and inline flow live in block_layout.cpp, tables in
// table_layout.cpp. Content whose position is not known yet (cells, inline
// blocks, floats) is laid out at the origin and moved into place afterwards.
#pragma once
#include <unordered_map>
#include <vector>

#include "browser/layout/document_layout.h"
#include "browser/layout/fonts.h"
#include "browser/layout/image_store.h"

namespace corvalin::browser::layout {

// A point in the builder's output; what was made between two marks moves together.
struct Mark {
    std::size_t items = 0;
    std::size_t boxes = 0;
    std::size_t clips = 0;
};

struct FloatBox {
    Rect rect;   // margin box
    bool left = true;
};

// Floats of one block formatting context, in canvas coordinates.
struct FormattingContext {
    std::vector<FloatBox> floats;
    // The free band at height y between `left` and `right`.
    void Band(long y, long& left, long& right) const;
    long ClearBelow(long y, Clear clear) const;
    long NextFloatBottom(long y) const;   // the nearest float bottom below y, or y
};

struct Intrinsic {
    long min = 0;   // the widest thing that cannot break
    long max = 0;   // everything on one line
};

class LayoutBuilder {
public:
    LayoutBuilder(dom::Document& document, DocumentLayout& out);
    void Run(long width, long height);

    // Shared by blocks and tables.
    const ComputedStyle& StyleOf(const dom::Element& element);
    Mark Now() const { return {out_.items.size(), out_.boxes.size(), out_.clips.size()}; }
    void Translate(const Mark& from, const Mark& to, long dx, long dy);
    ElementBox& NewBox(const dom::Element& element, const ComputedStyle& style);
    std::size_t BoxIndex(const dom::Element& element) const { return out_.boxIndex.at(&element); }
    ElementBox& Box(std::size_t index) { return out_.boxes[index]; }
    void AddItem(PaintItem item);

    // Lays out a block-level box: its border box's top at `y`, its margin box's
    // left at `x`, in a containing block `cbWidth` wide. Vertical margins are
    // the caller's business. Returns the border box.
    Rect LayoutBlockBox(const dom::Element& e, const ComputedStyle& s, long x, long y, long cbWidth, FormattingContext& fc,
                        bool shrinkToFit);
    // The children of `container` in its content box; returns the height used.
    long FlowChildren(const dom::Element& container, const ComputedStyle& cs, long x, long y, long width, FormattingContext& fc);
    Rect LayoutTable(const dom::Element& table, const ComputedStyle& s, long x, long y, long width);
    Intrinsic IntrinsicWidths(const dom::Element& element);
    Intrinsic TableIntrinsicWidths(const dom::Element& table);

    // Replaced elements and form controls: their size, margins and borders excluded.
    bool IsReplaced(const dom::Element& e) const;
    SIZE ReplacedSize(const dom::Element& e, const ComputedStyle& s, long cbWidth);
    // An inline-level atomic box laid out at the origin; returns its margin box size.
    SIZE LayoutAtomic(const dom::Element& e, const ComputedStyle& s, long cbWidth);

    long ViewWidth() const { return viewWidth_; }
    long ViewHeight() const { return viewHeight_; }
    int depth = 0;            // nesting of boxes being laid out; deeper markup is not shown
    int clip = -1;            // the clip new items fall under
    std::uint8_t layer = 0;   // 1 inside positioned elements

private:
    void ComputeStyles();
    Intrinsic ChildrenIntrinsic(const dom::Element& element);

    dom::Document& document_;
    DocumentLayout& out_;
    StyleResolver& resolver_;
    ImageStore& images_;
    long viewWidth_ = 0;
    long viewHeight_ = 0;
    std::unordered_map<const dom::Element*, Intrinsic> intrinsic_;
};

long HorizontalEdges(const ComputedStyle& s);   // padding and borders, left and right
long VerticalEdges(const ComputedStyle& s);
bool IsCjk(wchar_t c);

}  // namespace corvalin::browser::layout
