#include "browser/layout/geometry.h"

#include <algorithm>
#include <array>
#include <climits>
#include <unordered_set>

#include "browser/layout/layout_builder.h"
#include "browser/layout/image_store.h"

namespace corvalin::browser::layout {

namespace {

// Sheets come from these; a change to one restyles the whole page.
bool HoldsStyleSheet(const dom::Node& root) {
    for (const dom::Node* n = &root; n; n = n->NextInTree(&root))
        if (const dom::Element* e = n->AsElement(); e && (e->Is(L"style") || e->Is(L"link"))) return true;
    return false;
}

// Attributes the layout reads itself; the others act through the style.
bool ActsOnLayout(std::wstring_view name) {
    static constexpr std::wstring_view kNames[] = {L"alt",  L"src",     L"cols",  L"rows",    L"multiple", L"size",
                                                   L"start", L"value",  L"type",  L"clear",   L"colspan",  L"rowspan",
                                                   L"span",  L"cellspacing", L"scroll", L"selected", L"label"};
    for (std::wstring_view n : kNames)
        if (dom::EqualsIgnoringCase(n, name)) return true;
    return false;
}

// Whether two styles of one element lay it out alike: what differs only in
// colour, background colour or image, border colour and style, or
// decoration is painted, not laid out.
bool SameGeometry(const dom::Element& e, const ComputedStyle& a, const ComputedStyle& b) {
    auto same = [](const Length& x, const Length& y) { return x.unit == y.unit && x.value == y.value; };
    for (int i = 0; i < 4; ++i)
        if (!same(a.margin[i], b.margin[i]) || a.padding[i] != b.padding[i] || a.borderWidth[i] != b.borderWidth[i])
            return false;
    // Blocks always have a box to paint; inline elements, rows and images
    // only while they have a background.
    const bool alwaysPainted = !IsReplacedElement(e) && a.display != Display::Inline && a.display != Display::TableRow &&
                               a.display != Display::TableRowGroup;
    if (!alwaysPainted && (a.background == kTransparent) != (b.background == kTransparent)) return false;
    return a.display == b.display && a.visible == b.visible && same(a.width, b.width) && same(a.height, b.height) &&
           a.fontFamily == b.fontFamily &&
           a.fontSize == b.fontSize && a.fontWeight == b.fontWeight && a.italic == b.italic && a.lineHeight == b.lineHeight &&
           a.textAlign == b.textAlign && a.whiteSpace == b.whiteSpace && a.verticalAlign == b.verticalAlign &&
           a.listStyle == b.listStyle && a.overflowX == b.overflowX && a.overflowY == b.overflowY && a.position == b.position &&
           same(a.left, b.left) && same(a.top, b.top) && same(a.right, b.right) && same(a.bottom, b.bottom) &&
           a.floating == b.floating && a.clear == b.clear && a.zoom == b.zoom;
}

// The layout of a document and what changed in the tree since it was made.
class LayoutCache final : public dom::Document::Attachment {
public:
    std::uint64_t version = 0;
    std::uint64_t inputs = 0;
    std::unique_ptr<DocumentLayout> layout;
    bool whole = true;                                 // the next layout starts from nothing
    std::unordered_set<const dom::Element*> dirty;     // elements whose boxes changed, and their ancestors
    std::vector<dom::Ref<dom::Element>> restyled;      // their styles are computed again, with their subtrees
    std::vector<dom::Ref<dom::Node>> inserted;
    std::size_t staleStyles = 0;                       // styles replaced but still owned by the layout

    void MarkDirty(const dom::Element* e) {
        // Ancestors of a marked element are marked: the walk stops at the first.
        for (; e; e = e->ParentElement())
            if (!dirty.insert(e).second) return;
    }

    void Reset(bool all) {
        whole = all;
        dirty.clear();
        restyled.clear();
        inserted.clear();
    }

    void AttributeChanged(dom::Element& e, std::wstring_view name) override {
        if (whole) return;
        if (HoldsStyleSheet(e)) return Reset(true);
        restyled.emplace_back(&e);
        if (ActsOnLayout(name)) MarkDirty(&e);
        Bound();
    }
    void TextChanged(dom::Node& text) override {
        if (whole) return;
        const dom::Element* parent = text.ParentElement();
        if (!parent || HoldsStyleSheet(*parent)) return Reset(true);
        MarkDirty(parent);
    }
    void Inserted(dom::Node& subtree) override {
        if (whole) return;
        const dom::Element* parent = subtree.ParentElement();
        if (!parent || HoldsStyleSheet(subtree)) return Reset(true);
        inserted.emplace_back(&subtree);
        MarkDirty(parent);
        Bound();
    }
    void Removing(dom::Node& subtree) override {
        if (whole) return;
        const dom::Element* parent = subtree.ParentElement();
        if (!parent || HoldsStyleSheet(subtree)) return Reset(true);
        // Its addresses may come back as other elements.
        for (const dom::Node* n = &subtree; n; n = n->NextInTree(&subtree)) {
            if (const dom::Element* e = n->AsElement()) {
                layout->styles.erase(e);
                layout->boxIndex.erase(e);
                layout->intrinsic.erase(e);
                dirty.erase(e);
            }
        }
        MarkDirty(parent);
    }
    void UnknownChange() override { Reset(true); }

private:
    // Past this many changes one layout of everything is cheaper.
    void Bound() {
        if (restyled.size() + inserted.size() > 2000) Reset(true);
    }
};

std::unique_ptr<DocumentLayout> Build(dom::Document& document, long width, long height) {
    auto out = std::make_unique<DocumentLayout>();
    LayoutBuilder(document, *out).Run(width, height);
    return out;
}

// The view scrolls unless the page turned that off (scroll="no" on the body,
// overflow hidden on the body or the root).
bool ViewScrolls(const dom::Document& document, const DocumentLayout& layout) {
    const dom::Element* body = document.Body();
    if (body && dom::EqualsIgnoringCase(body->GetAttribute(L"scroll"), L"no")) return false;
    for (const dom::Element* e : std::array<const dom::Element*, 2>{body, document.DocumentElement()}) {
        if (!e) continue;
        if (const ComputedStyle* s = layout.StyleOf(*e); s && (s->overflowY == Overflow::Hidden || s->overflowX == Overflow::Hidden))
            return false;
    }
    return true;
}

bool IsViewElement(const dom::Element& e) {
    const dom::Document& d = e.OwnerDocument();
    return &e == d.Body() || &e == d.DocumentElement();
}

const ElementBox* BoxOf(const dom::Element& e, const DocumentLayout*& layout) {
    layout = &CurrentLayout(e.OwnerDocument());
    return layout->BoxOf(e);
}

}  // namespace

std::unique_ptr<DocumentLayout> LayOut(dom::Document& document, long width, long height) {
    auto layout = Build(document, width, height);
    if (!ViewScrolls(document, *layout)) return layout;
    const long bar = GetSystemMetrics(SM_CXVSCROLL), barHeight = GetSystemMetrics(SM_CYHSCROLL);
    if (layout->canvasHeight > height && width > bar) {
        layout = Build(document, width - bar, height);
        layout->verticalBar = true;
    }
    if (layout->canvasWidth > layout->viewWidth && height > barHeight) {
        layout->horizontalBar = true;
        layout->viewHeight = height - barHeight;
    }
    return layout;
}

namespace {

const ComputedStyle& EnsureStyle(DocumentLayout& layout, const dom::Element& e) {
    if (const ComputedStyle* s = layout.StyleOf(e)) return *s;
    const dom::Element* parent = e.ParentElement();
    const ComputedStyle* parentStyle = parent ? &EnsureStyle(layout, *parent) : nullptr;
    layout.ownedStyles.push_back(layout.resolver->Compute(e, parentStyle));
    layout.styles[&e] = layout.ownedStyles.back().get();
    return *layout.ownedStyles.back();
}

// Computes the styles of a changed element's subtree again. A style that
// lays out as before is updated where it is, so what was laid out with it
// paints the new colours; the others are replaced and their boxes laid out again.
void Restyle(LayoutCache& cache, DocumentLayout& layout, const dom::Element& root) {
    for (const dom::Node* n = &root; n; n = n->NextInTree(&root)) {
        const dom::Element* e = n->AsElement();
        if (!e) continue;
        const dom::Element* parent = e->ParentElement();
        std::unique_ptr<ComputedStyle> fresh = layout.resolver->Compute(*e, parent ? &EnsureStyle(layout, *parent) : nullptr);
        const auto it = layout.styles.find(e);
        if (it != layout.styles.end() && SameGeometry(*e, *it->second, *fresh)) {
            *const_cast<ComputedStyle*>(it->second) = std::move(*fresh);
            continue;
        }
        if (it != layout.styles.end()) ++cache.staleStyles;
        layout.styles[e] = fresh.get();
        layout.ownedStyles.push_back(std::move(fresh));
        cache.MarkDirty(e);
    }
}

// Brings the cache's layout up to date with what changed; false when only a
// layout of everything will do.
bool Update(dom::Document& document, LayoutCache& cache) {
    DocumentLayout& layout = *cache.layout;
    for (const auto& subtree : cache.inserted) {
        if (!subtree->IsConnected()) continue;
        for (const dom::Node* n = subtree.get(); n; n = n->NextInTree(subtree.get()))
            if (const dom::Element* e = n->AsElement()) EnsureStyle(layout, *e);
    }
    for (const auto& e : cache.restyled)
        if (e->IsConnected()) Restyle(cache, layout, *e);
    if (cache.staleStyles > 4096 && cache.staleStyles > layout.ownedStyles.size() / 2) return false;
    if (cache.dirty.empty()) {
        // Nothing moves: colours and backgrounds only.
        PaintCanvas(document, layout);
        return true;
    }
    for (const dom::Element* e : cache.dirty) layout.intrinsic.erase(e);
    PreviousLayout previous;
    previous.boxes = std::move(layout.boxes);
    previous.items = std::move(layout.items);
    previous.clips = std::move(layout.clips);
    previous.dirty = &cache.dirty;
    layout.boxes.clear();
    layout.items.clear();
    layout.clips.clear();
    layout.boxes.reserve(previous.boxes.size());
    layout.items.reserve(previous.items.size());
    const long width = document.ViewWidth(), height = document.ViewHeight();
    const long bar = GetSystemMetrics(SM_CXVSCROLL), barHeight = GetSystemMetrics(SM_CYHSCROLL);
    // Laid out at the width it had; when the vertical scroll bar comes or
    // goes, the width changes and everything is laid out again.
    const bool verticalBar = layout.verticalBar;
    LayoutBuilder(document, layout, &previous).Run(verticalBar ? width - bar : width, height);
    ForgetBoxesNotLaidOut(layout);
    const bool scrolls = ViewScrolls(document, layout);
    if ((scrolls && layout.canvasHeight > height && width > bar) != verticalBar) return false;
    layout.verticalBar = verticalBar;
    layout.horizontalBar = false;
    if (scrolls && layout.canvasWidth > layout.viewWidth && height > barHeight) {
        layout.horizontalBar = true;
        layout.viewHeight = height - barHeight;
    }
    return true;
}

}  // namespace

const DocumentLayout& CurrentLayout(dom::Document& document) {
    auto* cache = static_cast<LayoutCache*>(document.LayoutAttachment());
    if (!cache) {
        document.SetLayoutAttachment(std::make_unique<LayoutCache>());
        cache = static_cast<LayoutCache*>(document.LayoutAttachment());
    }
    if (cache->layout && cache->version == document.Version() && cache->inputs == document.LayoutInputsVersion()) return *cache->layout;
    if (!cache->layout || cache->whole || cache->inputs != document.LayoutInputsVersion() || !Update(document, *cache)) {
        cache->layout = LayOut(document, document.ViewWidth(), document.ViewHeight());
        cache->staleStyles = 0;
    }
    cache->Reset(false);
    cache->version = document.Version();
    cache->inputs = document.LayoutInputsVersion();
    return *cache->layout;
}

POINT ViewScroll(const dom::Document& document) {
    const dom::Element* html = document.DocumentElement();
    return html ? POINT{html->ScrollLeft(), html->ScrollTop()} : POINT{0, 0};
}

RECT ViewRect(const DocumentLayout& layout, const dom::Document& document, const Rect& rect, int clip, RECT* visible) {
    const POINT view = ViewScroll(document);
    long dx = -view.x, dy = -view.y;
    RECT seen{LONG_MIN / 2, LONG_MIN / 2, LONG_MAX / 2, LONG_MAX / 2};
    std::vector<int> chain;
    for (int c = clip; c >= 0 && chain.size() < 64; c = layout.clips[c].parent) chain.push_back(c);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const Clip& c = layout.clips[*it];
        const RECT r{c.rect.x + dx, c.rect.y + dy, c.rect.Right() + dx, c.rect.Bottom() + dy};
        seen = {std::max(seen.left, r.left), std::max(seen.top, r.top), std::min(seen.right, r.right), std::min(seen.bottom, r.bottom)};
        if (c.scroller) {
            dx -= c.scroller->ScrollLeft();
            dy -= c.scroller->ScrollTop();
        }
    }
    if (visible) *visible = seen;
    return {rect.x + dx, rect.y + dy, rect.Right() + dx, rect.Bottom() + dy};
}

OffsetBox OffsetOf(const dom::Element& e) {
    const DocumentLayout* layout = nullptr;
    const ElementBox* box = BoxOf(e, layout);
    const dom::Document& document = e.OwnerDocument();
    OffsetBox out;
    if (&e == document.Body()) {
        out.width = layout->viewWidth;
        out.height = layout->viewHeight;
        return out;
    }
    if (&e == document.DocumentElement()) {
        out.width = layout->viewWidth;
        out.height = std::max(layout->viewHeight, layout->canvasHeight);
        return out;
    }
    if (!box) return out;
    const ComputedStyle& s = *box->style;
    dom::Element* parent = nullptr;
    for (dom::Element* a = e.ParentElement(); a; a = a->ParentElement()) {
        if (a == document.Body()) {
            parent = a;
            break;
        }
        const ComputedStyle* as = layout->StyleOf(*a);
        if (!as) continue;
        if (as->Positioned() || (!s.OutOfFlow() && (a->Is(L"td") || a->Is(L"th") || a->Is(L"table")))) {
            parent = a;
            break;
        }
    }
    long originX = 0, originY = 0;
    if (parent && parent != document.Body()) {
        if (const ElementBox* pb = layout->BoxOf(*parent)) {
            originX = pb->border.x;
            originY = pb->border.y;
        }
    }
    const Rect& first = box->fragments.empty() ? box->border : box->fragments.front();
    out.left = first.x - originX;
    out.top = first.y - originY;
    out.width = box->border.width;
    out.height = box->border.height;
    out.offsetParent = parent;
    return out;
}

long ClientWidth(const dom::Element& e) {
    const DocumentLayout* layout = nullptr;
    const ElementBox* box = BoxOf(e, layout);
    if (IsViewElement(e)) return layout->viewWidth;
    if (!box || !box->fragments.empty()) return 0;
    const long bar = box->bars & ElementBox::kVerticalBar ? GetSystemMetrics(SM_CXVSCROLL) : 0;
    return std::max(0L, box->border.width - box->style->borderWidth[1] - box->style->borderWidth[3] - bar);
}

long ClientHeight(const dom::Element& e) {
    const DocumentLayout* layout = nullptr;
    const ElementBox* box = BoxOf(e, layout);
    if (IsViewElement(e)) return layout->viewHeight;
    if (!box || !box->fragments.empty()) return 0;
    const long bar = box->bars & ElementBox::kHorizontalBar ? GetSystemMetrics(SM_CYHSCROLL) : 0;
    return std::max(0L, box->border.height - box->style->borderWidth[0] - box->style->borderWidth[2] - bar);
}

long ClientLeft(const dom::Element& e) {
    const DocumentLayout* layout = nullptr;
    const ElementBox* box = BoxOf(e, layout);
    return box && box->fragments.empty() && !IsViewElement(e) ? box->style->borderWidth[3] : 0;
}

long ClientTop(const dom::Element& e) {
    const DocumentLayout* layout = nullptr;
    const ElementBox* box = BoxOf(e, layout);
    return box && box->fragments.empty() && !IsViewElement(e) ? box->style->borderWidth[0] : 0;
}

long ScrollWidth(const dom::Element& e) {
    const DocumentLayout* layout = nullptr;
    const ElementBox* box = BoxOf(e, layout);
    if (IsViewElement(e)) return std::max(layout->viewWidth, layout->canvasWidth);
    if (!box) return 0;
    return std::max(ClientWidth(e), box->contentWidth - box->style->borderWidth[1] - box->style->borderWidth[3]);
}

long ScrollHeight(const dom::Element& e) {
    const DocumentLayout* layout = nullptr;
    const ElementBox* box = BoxOf(e, layout);
    if (IsViewElement(e)) return std::max(layout->viewHeight, layout->canvasHeight);
    if (!box) return 0;
    return std::max(ClientHeight(e), box->contentHeight - box->style->borderWidth[0] - box->style->borderWidth[2]);
}

long ScrollLeft(const dom::Element& e) {
    if (IsViewElement(e)) return ViewScroll(e.OwnerDocument()).x;
    return e.ScrollLeft();
}

long ScrollTop(const dom::Element& e) {
    if (IsViewElement(e)) return ViewScroll(e.OwnerDocument()).y;
    return e.ScrollTop();
}

void ScrollTo(dom::Element& element, long left, long top) {
    dom::Document& document = element.OwnerDocument();
    dom::Element* target = &element;
    if (IsViewElement(element)) target = document.DocumentElement();
    const long maxLeft = std::max(0L, ScrollWidth(element) - ClientWidth(element));
    const long maxTop = std::max(0L, ScrollHeight(element) - ClientHeight(element));
    left = std::clamp(left, 0L, maxLeft);
    top = std::clamp(top, 0L, maxTop);
    if (left == target->ScrollLeft() && top == target->ScrollTop()) return;
    target->SetScrollPosition(left, top);
    if (dom::DocumentHost* host = document.Host()) host->ViewChanged();
    dom::Element* eventTarget = target == document.DocumentElement() ? document.Body() : target;
    if (eventTarget) {
        const dom::Ref<dom::Element> hold(eventTarget);
        document.FireEvent(*eventTarget, L"onscroll");
    }
}

RECT BoundingClientRect(const dom::Element& e) {
    const DocumentLayout* layout = nullptr;
    const ElementBox* box = BoxOf(e, layout);
    const dom::Document& document = e.OwnerDocument();
    if (IsViewElement(e)) {
        const POINT scroll = ViewScroll(document);
        return {-scroll.x, -scroll.y, std::max(layout->viewWidth, layout->canvasWidth) - scroll.x, layout->canvasHeight - scroll.y};
    }
    if (!box) return {};
    return ViewRect(*layout, document, box->border, box->clip);
}

std::vector<RECT> ClientRects(const dom::Element& e) {
    const DocumentLayout* layout = nullptr;
    const ElementBox* box = BoxOf(e, layout);
    std::vector<RECT> out;
    if (!box) return out;
    if (box->fragments.empty()) {
        out.push_back(BoundingClientRect(e));
        return out;
    }
    for (const Rect& f : box->fragments) out.push_back(ViewRect(*layout, e.OwnerDocument(), f, box->clip));
    return out;
}

dom::Element* ElementFromPoint(dom::Document& document, long x, long y) {
    const DocumentLayout& layout = CurrentLayout(document);
    const POINT point{x, y};
    for (auto index = layout.paintOrder.rbegin(); index != layout.paintOrder.rend(); ++index) {
        const PaintItem* it = &layout.items[*index];
        if (!it->element) continue;
        RECT visible;
        const RECT r = ViewRect(layout, document, it->rect, it->clip, &visible);
        if (it->kind == PaintKind::ScrollBars) {
            // Only the bars themselves; the content shows between them.
            const bool onVertical = (it->bars & ElementBox::kVerticalBar) && x >= r.right - GetSystemMetrics(SM_CXVSCROLL);
            const bool onHorizontal = (it->bars & ElementBox::kHorizontalBar) && y >= r.bottom - GetSystemMetrics(SM_CYHSCROLL);
            if (!onVertical && !onHorizontal) continue;
        }
        if (PtInRect(&r, point) && PtInRect(&visible, point)) return const_cast<dom::Element*>(it->element);
    }
    return document.Body();
}

SIZE DisplayedSize(const dom::Element& e) {
    const DocumentLayout* layout = nullptr;
    const ElementBox* box = BoxOf(e, layout);
    if (!box) return {0, 0};
    const bool control = !e.Is(L"img") && !(e.Is(L"input") && e.Type() == L"image");
    const long w = box->border.width - (control ? 0 : HorizontalEdges(*box->style));
    const long h = box->border.height - (control ? 0 : VerticalEdges(*box->style));
    return {std::max(0L, w), std::max(0L, h)};
}

std::wstring ImageReadyState(const dom::Element& e) {
    const std::wstring src = e.ResolvedUrlAttribute(L"src");
    const ImageStore* store = ImageStore::Find(e.OwnerDocument());
    const Image* image = store && !src.empty() ? store->Lookup(src) : nullptr;
    if (!image || image->state == Image::State::Broken) return L"uninitialized";
    return image->state == Image::State::Loaded ? L"complete" : L"loading";
}

const ComputedStyle* CurrentStyleOf(const dom::Element& element) {
    return CurrentLayout(element.OwnerDocument()).StyleOf(element);
}

}  // namespace corvalin::browser::layout
