#include "browser/layout/geometry.h"

#include <algorithm>
#include <array>
#include <climits>

#include "browser/layout/layout_builder.h"
#include "browser/layout/image_store.h"

namespace corvalin::browser::layout {

namespace {

class LayoutCache final : public dom::Document::Attachment {
public:
    std::uint64_t version = 0;
    std::uint64_t inputs = 0;
    std::unique_ptr<DocumentLayout> layout;
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

const DocumentLayout& CurrentLayout(dom::Document& document) {
    auto* cache = static_cast<LayoutCache*>(document.LayoutAttachment());
    if (!cache) {
        document.SetLayoutAttachment(std::make_unique<LayoutCache>());
        cache = static_cast<LayoutCache*>(document.LayoutAttachment());
    }
    if (!cache->layout || cache->version != document.Version() || cache->inputs != document.LayoutInputsVersion()) {
        cache->layout = LayOut(document, document.ViewWidth(), document.ViewHeight());
        cache->version = document.Version();
        cache->inputs = document.LayoutInputsVersion();
    }
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
    return std::max(0L, box->border.width - box->style->borderWidth[1] - box->style->borderWidth[3]);
}

long ClientHeight(const dom::Element& e) {
    const DocumentLayout* layout = nullptr;
    const ElementBox* box = BoxOf(e, layout);
    if (IsViewElement(e)) return layout->viewHeight;
    if (!box || !box->fragments.empty()) return 0;
    return std::max(0L, box->border.height - box->style->borderWidth[0] - box->style->borderWidth[2]);
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
    for (auto it = layout.items.rbegin(); it != layout.items.rend(); ++it) {
        if (!it->element) continue;
        RECT visible;
        const RECT r = ViewRect(layout, document, it->rect, it->clip, &visible);
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
