#include "browser/dom/layout.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace corvalin::browser::dom {

namespace {

constexpr long kBodyMarginLeft = 10;
constexpr long kBodyMarginTop = 15;

long CharWidth(wchar_t c) { return c >= 0x2E80 ? 16 : 8; }

long NumberAttribute(const Element& e, const wchar_t* name, long fallback) {
    const std::wstring* v = e.FindAttribute(name);
    if (!v || v->empty()) return fallback;
    long n = 0;
    bool any = false;
    for (wchar_t c : *v) {
        if (c < L'0' || c > L'9') break;
        n = n * 10 + (c - L'0');
        any = true;
        if (n > 100000) break;
    }
    return any ? n : fallback;
}

bool IsHidden(const Element& e) {
    if (e.Is(L"script") || e.Is(L"style") || e.Is(L"head") || e.Is(L"title") || e.Is(L"noscript") ||
        e.Is(L"meta") || e.Is(L"link")) {
        return true;
    }
    if (e.Is(L"input") && e.Type() == L"hidden") return true;
    return EqualsIgnoringCase(e.StyleValue(L"display"), L"none");
}

// Replaced content: a box of its own size, no children laid out.
bool ReplacedSize(const Element& e, long& width, long& height) {
    if (e.Is(L"img")) {
        width = NumberAttribute(e, L"width", 16);
        height = NumberAttribute(e, L"height", 16);
    } else if (e.Is(L"input")) {
        std::wstring t = e.Type();
        if (t == L"checkbox" || t == L"radio") {
            width = height = 13;
        } else if (t == L"submit" || t == L"reset" || t == L"button") {
            width = static_cast<long>(e.Value().size()) * 8 + 16;
            height = 22;
        } else if (t == L"image") {
            width = NumberAttribute(e, L"width", 16);
            height = NumberAttribute(e, L"height", 16);
        } else {
            width = NumberAttribute(e, L"size", 20) * 7 + 10;
            height = 22;
        }
    } else if (e.Is(L"select")) {
        width = 120;
        height = 22;
    } else if (e.Is(L"textarea")) {
        width = NumberAttribute(e, L"cols", 20) * 8 + 10;
        height = NumberAttribute(e, L"rows", 2) * 16 + 6;
    } else if (e.Is(L"iframe")) {
        width = NumberAttribute(e, L"width", 300);
        height = NumberAttribute(e, L"height", 150);
    } else {
        return false;
    }
    width = NumberAttribute(e, L"width", width);
    height = NumberAttribute(e, L"height", height);
    return true;
}

struct Layout {
    std::uint64_t version = ~std::uint64_t{0};
    std::unordered_map<const Element*, LayoutBox> boxes;   // page coordinates
    std::vector<const Element*> order;                      // document order of laid-out elements
    long contentWidth = 0;
    long contentHeight = 0;
};

class Flow {
public:
    explicit Flow(Layout& out) : out_(out) {}

    void Run(const Element& body) {
        x_ = 0;
        y_ = 0;
        Start(body);
        const Node* n = body.FirstChild();
        while (n) {
            bool descend = Enter(*n);
            if (descend && n->FirstChild()) {
                n = n->FirstChild();
                continue;
            }
            if (descend) Leave(*n->AsElement());
            for (;;) {
                if (n->NextSibling()) {
                    n = n->NextSibling();
                    break;
                }
                n = n->Parent();
                if (!n || n == &body) {
                    n = nullptr;
                    break;
                }
                Leave(*n->AsElement());
            }
        }
        Leave(body);
        out_.contentHeight = std::max(out_.contentHeight, y_ + (x_ > 0 ? kLineHeight : 0));
    }

private:
    struct Open {
        const Element* element;
        long startX, startY;
        bool block;
    };

    void NewLine() {
        if (x_ > 0) {
            y_ += kLineHeight;
            x_ = 0;
        }
    }
    void Advance(long width) {
        if (x_ + width > kViewWidth && x_ > 0) NewLine();
        x_ += width;
        out_.contentWidth = std::max(out_.contentWidth, std::min(x_, kViewWidth * 4));
    }
    void Start(const Element& e) {
        bool block = IsBlockElement(e.LocalName()) || e.Is(L"td") || e.Is(L"th");
        if (block && !e.Is(L"td") && !e.Is(L"th")) NewLine();
        open_.push_back({&e, x_, y_, block && !e.Is(L"td") && !e.Is(L"th")});
        out_.order.push_back(&e);
    }
    bool Enter(const Node& n) {
        if (n.IsText()) {
            for (wchar_t c : n.Data()) Advance(c == L'\n' || c == L'\r' || c == L'\t' ? 8 : CharWidth(c));
            return false;
        }
        const Element* e = n.AsElement();
        if (!e) return false;
        if (IsHidden(*e)) {
            out_.boxes[e] = LayoutBox{x_, y_, 0, 0, nullptr};
            return false;
        }
        if (e->Is(L"br")) {
            out_.boxes[e] = LayoutBox{x_, y_, 0, kLineHeight, nullptr};
            out_.order.push_back(e);
            y_ += kLineHeight;
            x_ = 0;
            return false;
        }
        long w = 0, h = 0;
        if (ReplacedSize(*e, w, h)) {
            if (x_ + w > kViewWidth && x_ > 0) NewLine();
            out_.boxes[e] = LayoutBox{x_, y_, w, h, nullptr};
            out_.order.push_back(e);
            Advance(w);
            // A tall inline box makes its line taller.
            if (h > kLineHeight) pendingExtra_ = std::max(pendingExtra_, h - kLineHeight);
            return false;
        }
        Start(*e);
        return true;
    }
    void Leave(const Element& e) {
        if (open_.empty() || open_.back().element != &e) return;
        Open o = open_.back();
        open_.pop_back();
        LayoutBox box;
        if (o.block) {
            NewLine();
            if (pendingExtra_) {
                y_ += pendingExtra_;
                pendingExtra_ = 0;
            }
            box = LayoutBox{0, o.startY, kViewWidth, std::max(0L, y_ - o.startY), nullptr};
            if (e.HasAttribute(L"width")) box.width = NumberAttribute(e, L"width", kViewWidth);
        } else if (y_ == o.startY) {
            box = LayoutBox{o.startX, o.startY, x_ - o.startX, kLineHeight, nullptr};
        } else {
            box = LayoutBox{0, o.startY, kViewWidth, y_ - o.startY + kLineHeight, nullptr};
        }
        out_.boxes[&e] = box;
    }

    Layout& out_;
    long x_ = 0;
    long y_ = 0;
    long pendingExtra_ = 0;
    std::vector<Open> open_;
};

const Layout& LayoutFor(const Document& document) {
    static const Document* cachedFor = nullptr;
    static Layout cached;
    if (cachedFor == &document && cached.version == document.Version()) return cached;
    cached = Layout{};
    cachedFor = &document;
    cached.version = document.Version();
    if (Element* body = document.Body()) Flow(cached).Run(*body);
    return cached;
}

}  // namespace

LayoutBox PageBoxOf(const Element& element) {
    const Document& document = element.OwnerDocument();
    const Layout& layout = LayoutFor(document);
    auto it = layout.boxes.find(&element);
    if (it == layout.boxes.end()) return {};
    LayoutBox box = it->second;
    box.left += kBodyMarginLeft;
    box.top += kBodyMarginTop;
    return box;
}

LayoutBox LayoutOf(const Element& element) {
    const Document& document = element.OwnerDocument();
    Element* body = document.Body();
    if (&element == body || &element == document.DocumentElement()) {
        LayoutBox box;
        const Layout& layout = LayoutFor(document);
        box.width = kViewWidth + 2 * kBodyMarginLeft;
        box.height = std::max(kViewHeight, layout.contentHeight + 2 * kBodyMarginTop);
        return box;
    }
    if (!body || !body->Contains(&element)) return {};
    const Layout& layout = LayoutFor(document);
    auto it = layout.boxes.find(&element);
    if (it == layout.boxes.end()) return {};
    LayoutBox box = it->second;
    box.left += kBodyMarginLeft;
    box.top += kBodyMarginTop;
    bool hidden = box.width == 0 && box.height == 0 && IsHidden(element);
    box.offsetParent = hidden ? nullptr : body;
    return box;
}

long ClientWidth(const Element& element) {
    const Document& d = element.OwnerDocument();
    if (&element == d.Body() || &element == d.DocumentElement()) return kViewWidth + 2 * kBodyMarginLeft;
    return LayoutOf(element).width;
}

long ClientHeight(const Element& element) {
    const Document& d = element.OwnerDocument();
    if (&element == d.Body() || &element == d.DocumentElement()) return kViewHeight;
    return LayoutOf(element).height;
}

long ScrollWidth(const Element& element) {
    const Document& d = element.OwnerDocument();
    if (&element == d.Body() || &element == d.DocumentElement()) {
        return std::max(ClientWidth(element), LayoutFor(d).contentWidth + 2 * kBodyMarginLeft);
    }
    return LayoutOf(element).width;
}

long ScrollHeight(const Element& element) {
    const Document& d = element.OwnerDocument();
    if (&element == d.Body() || &element == d.DocumentElement()) {
        return std::max(ClientHeight(element), LayoutFor(d).contentHeight + 2 * kBodyMarginTop);
    }
    return LayoutOf(element).height;
}

void SetScroll(Element& element, long left, long top) {
    long maxLeft = std::max(0L, ScrollWidth(element) - ClientWidth(element));
    long maxTop = std::max(0L, ScrollHeight(element) - ClientHeight(element));
    element.SetScrollPosition(std::clamp(left, 0L, maxLeft), std::clamp(top, 0L, maxTop));
}

Element* ElementFromPoint(Document& document, long x, long y) {
    Element* body = document.Body();
    if (!body) return nullptr;
    if (Element* html = document.DocumentElement()) {
        x += html->ScrollLeft();
        y += html->ScrollTop();
    }
    x += body->ScrollLeft();
    y += body->ScrollTop();
    const Layout& layout = LayoutFor(document);
    Element* found = body;
    for (const Element* e : layout.order) {
        if (e == body) continue;
        auto it = layout.boxes.find(e);
        if (it == layout.boxes.end()) continue;
        LayoutBox b = it->second;
        b.left += kBodyMarginLeft;
        b.top += kBodyMarginTop;
        if (x >= b.left && x < b.left + b.width && y >= b.top && y < b.top + b.height) {
            found = const_cast<Element*>(e);
        }
    }
    return found;
}

}  // namespace corvalin::browser::dom
