// Inside the layout: the builder that turns the styled tree into boxes and
// paint items. Blocks and inline flow live in block_layout.cpp, tables in
// table_layout.cpp. Content whose position is not known yet (cells, inline
// blocks, floats) is laid out at the origin and moved into place afterwards.
#pragma once
#include <unordered_map>
#include <unordered_set>
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

// The last layout of the same document, taken apart for a new one: blocks
// outside `dirty` (elements that changed and their ancestors) move over when
// they are laid out under the same conditions. The layout's box index keeps
// the old places until an element is laid out again, and is cleaned of the
// elements that were not by ForgetBoxesNotLaidOut().
struct PreviousLayout {
    std::vector<ElementBox> boxes;
    std::vector<PaintItem> items;
    std::vector<Clip> clips;
    const std::unordered_set<const dom::Element*>* dirty = nullptr;
};
void ForgetBoxesNotLaidOut(DocumentLayout& layout);

class LayoutBuilder {
public:
    // With `previous`, `out` keeps its styles and what did not change moves
    // over from `previous`.
    LayoutBuilder(dom::Document& document, DocumentLayout& out, PreviousLayout* previous = nullptr);
    void Run(long width, long height);

    // Shared by blocks and tables.
    const ComputedStyle& StyleOf(const dom::Element& element);
    Mark Now() const { return {out_.items.size(), out_.boxes.size(), out_.clips.size()}; }
    void Translate(const Mark& from, const Mark& to, long dx, long dy);
    ElementBox& NewBox(const dom::Element& element, const ComputedStyle& style);
    std::size_t BoxIndex(const dom::Element& element) const { return out_.boxIndex.at(&element); }
    // The element's box laid out by this builder, if any.
    const ElementBox* LaidOut(const dom::Element& element) const {
        const auto it = out_.boxIndex.find(&element);
        return it != out_.boxIndex.end() && it->second < out_.boxes.size() && out_.boxes[it->second].element == &element
                   ? &out_.boxes[it->second]
                   : nullptr;
    }
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
    int depth = 0;            // nesting of boxes being laid out
    int clip = -1;            // the clip new items fall under
    std::uint8_t layer = 0;   // 1 inside positioned elements

private:
    void LayOutRoot(long width, long height);
    void ComputeStyles();
    // A block of the previous layout, moved to its new place; false when it
    // must be laid out again.
    bool Reuse(const dom::Element& e, const ComputedStyle& s, long x, long y, long cbWidth, const FormattingContext& fc,
               bool shrinkToFit, Rect& result);
    // Blocks being laid out whose result would not just move with them.
    void Taint(const dom::Element* upTo);
    Intrinsic ChildrenIntrinsic(const dom::Element& element);

    dom::Document& document_;
    DocumentLayout& out_;
    StyleResolver& resolver_;
    ImageStore& images_;
    long viewWidth_ = 0;
    long viewHeight_ = 0;
    PreviousLayout* previous_ = nullptr;
    std::vector<std::size_t> open_;   // boxes of the blocks being laid out, outermost first
};

// Images, form controls and embedded frames: sized by what they show.
bool IsReplacedElement(const dom::Element& e);
// The canvas takes the background of the root or the body.
void PaintCanvas(const dom::Document& document, DocumentLayout& layout);
long HorizontalEdges(const ComputedStyle& s);   // padding and borders, left and right
long VerticalEdges(const ComputedStyle& s);
bool IsCjk(wchar_t c);

}  // namespace corvalin::browser::layout
