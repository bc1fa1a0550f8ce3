// Blocks, lines of inline content, floats, positioned boxes, replaced
// elements and form controls.
#include <algorithm>

#include "browser/layout/deep_stack.h"
#include "browser/layout/layout_builder.h"

namespace corvalin::browser::layout {
void Rect::Unite(const Rect& o) {
    if (width == 0 && height == 0 && x == 0 && y == 0) {
        *this = o;
        return;
    }
    const long right = std::max(Right(), o.Right()), bottom = std::max(Bottom(), o.Bottom());
    x = std::min(x, o.x);
    y = std::min(y, o.y);
    width = right - x;
    height = bottom - y;
}

long HorizontalEdges(const ComputedStyle& s) { return s.padding[1] + s.padding[3] + s.borderWidth[1] + s.borderWidth[3]; }
long VerticalEdges(const ComputedStyle& s) { return s.padding[0] + s.padding[2] + s.borderWidth[0] + s.borderWidth[2]; }

bool IsCjk(wchar_t c) {
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFF00 && c <= 0xFFEF) || (c >= 0x3000 && c <= 0x303F);
}

void FormattingContext::Band(long y, long& left, long& right) const {
    for (const auto& f : floats) {
        if (y < f.rect.y || y >= f.rect.Bottom()) continue;
        if (f.left) left = std::max(left, f.rect.Right());
        else right = std::min(right, f.rect.x);
    }
}

long FormattingContext::ClearBelow(long y, Clear clear) const {
    if (clear == Clear::None) return y;
    for (const auto& f : floats) {
        if ((clear == Clear::Both || (clear == Clear::Left) == f.left)) y = std::max(y, f.rect.Bottom());
    }
    return y;
}

long FormattingContext::NextFloatBottom(long y) const {
    long next = -1;
    for (const auto& f : floats)
        if (f.rect.Bottom() > y && (next < 0 || f.rect.Bottom() < next)) next = f.rect.Bottom();
    return next < 0 ? y : next;
}

namespace {

// The content of one line while it is being filled.
class LineBuilder {
public:
    LineBuilder(LayoutBuilder& b, const dom::Element& container, const ComputedStyle& cs, long x, long width, long y,
                FormattingContext& fc)
        : b_(b), container_(container), cs_(cs), x_(x), width_(width), y_(y), fc_(fc) {
        StartLine();
    }

    long Y() const { return y_; }
    bool Empty() const { return items_.empty(); }
    long CurrentX() const { return left_ + used_; }

    void SetY(long y) {
        y_ = y;
        StartLine();
    }

    // Words and spaces of a text node; each remembers where in the node's
    // data its characters came from, for the selection.
    void Text(const dom::Node& node, const dom::Element& owner, const ComputedStyle& s) {
        const std::wstring& data = node.Data();
        const Font& font = FontOf(s);
        source_ = &node;
        if (s.whiteSpace == WhiteSpace::Pre) {
            std::wstring run;
            std::vector<std::uint32_t> offsets;
            auto flush = [&] {
                if (!run.empty()) Word(run, owner, s, font, false, std::move(offsets));
                run.clear();
                offsets.clear();
            };
            for (std::size_t i = 0; i < data.size(); ++i) {
                const wchar_t c = data[i];
                if (c == L'\r') continue;
                if (c == L'\n') {
                    flush();
                    Finish(true);
                    continue;
                }
                if (c == L'\t') {
                    const std::size_t spaces = 8 - run.size() % 8;
                    run.append(spaces, L' ');
                    offsets.insert(offsets.end(), spaces, static_cast<std::uint32_t>(i));
                    continue;
                }
                run += c == 0xA0 ? L' ' : c;
                offsets.push_back(static_cast<std::uint32_t>(i));
            }
            flush();
            return;
        }
        const bool wrap = s.whiteSpace == WhiteSpace::Normal;
        std::wstring word;
        auto offsetsOf = [](std::size_t end, std::size_t length) {
            std::vector<std::uint32_t> offsets(length);
            for (std::size_t k = 0; k < length; ++k) offsets[k] = static_cast<std::uint32_t>(end - length + k);
            return offsets;
        };
        for (std::size_t i = 0; i <= data.size(); ++i) {
            const wchar_t c = i < data.size() ? data[i] : L' ';
            const bool space = c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\f';
            if (!space && IsCjk(c) && wrap) {
                if (!word.empty()) Word(word, owner, s, font, wrap, offsetsOf(i, word.size()));
                word.assign(1, c);
                Word(word, owner, s, font, wrap, offsetsOf(i + 1, 1));   // a break may follow every CJK character
                word.clear();
                continue;
            }
            if (!space) {
                word += c == 0xA0 ? L' ' : c;
                continue;
            }
            if (!word.empty()) Word(word, owner, s, font, wrap, offsetsOf(i, word.size()));
            word.clear();
            if (i < data.size() && !lastWasSpace_ && hasContent_) Space(owner, s, font, static_cast<std::uint32_t>(i));
        }
    }

    // Replaced elements and inline blocks, already laid out at the origin.
    void Atomic(const Mark& mark, const Mark& end, SIZE size, const dom::Element& owner, const ComputedStyle& s) {
        if (used_ + size.cx > Available() && HasContent() && AllowsWrap()) Finish(false);
        Item item;
        item.kind = Item::Kind::Atomic;
        item.width = size.cx;
        item.owner = &owner;
        item.style = &s;
        item.mark = mark;
        item.end = end;
        item.height = size.cy;
        items_.push_back(std::move(item));
        used_ += size.cx;
        lastWasSpace_ = false;
        hasContent_ = true;
    }

    // Where an inline element starts or ends, with its own edges.
    void Edge(const dom::Element& owner, const ComputedStyle& s, bool start) {
        Item item;
        item.kind = start ? Item::Kind::Start : Item::Kind::End;
        item.owner = &owner;
        item.style = &s;
        const long margin = start ? s.margin[3].Resolve(width_) : s.margin[1].Resolve(width_);
        item.width = margin + (start ? s.padding[3] + s.borderWidth[3] : s.padding[1] + s.borderWidth[1]);
        items_.push_back(std::move(item));
        used_ += items_.back().width;
    }

    void FloatAdded() {
        // A float placed on this line narrows it.
        left_ = x_;
        right_ = x_ + width_;
        fc_.Band(y_, left_, right_);
    }

    // Ends the line. A forced break (<br>, a newline in pre text) makes a line
    // even when it is empty.
    void Finish(bool forced);

private:
    struct Item {
        enum class Kind { Text, Space, Atomic, Start, End } kind = Kind::Text;
        std::wstring text;
        long width = 0;
        long height = 0;
        const dom::Element* owner = nullptr;
        const ComputedStyle* style = nullptr;
        const Font* font = nullptr;
        Mark mark, end;
        long x = 0, top = 0;
        const dom::Node* source = nullptr;     // the text node of a word or space
        std::vector<std::uint32_t> offsets;    // where each character sits in its data
    };

    long Available() const { return right_ - left_; }
    bool HasContent() const { return hasContent_; }
    bool AllowsWrap() const { return cs_.whiteSpace == WhiteSpace::Normal; }

    void StartLine() {
        left_ = x_;
        right_ = x_ + width_;
        fc_.Band(y_, left_, right_);
        // Skip down past floats that leave no room at all.
        while (right_ - left_ < std::min<long>(width_, 20) && fc_.NextFloatBottom(y_) > y_) {
            y_ = fc_.NextFloatBottom(y_);
            left_ = x_;
            right_ = x_ + width_;
            fc_.Band(y_, left_, right_);
        }
        used_ = 0;
        lastWasSpace_ = true;
        hasContent_ = false;
    }

    void Word(const std::wstring& word, const dom::Element& owner, const ComputedStyle& s, const Font& font, bool wrap,
              std::vector<std::uint32_t> offsets) {
        const long w = TextWidth(font, word);
        if (wrap && used_ + w > Available() && HasContent()) Finish(false);
        Item item;
        item.kind = Item::Kind::Text;
        item.text = word;
        item.source = source_;
        item.offsets = std::move(offsets);
        item.width = w;
        item.owner = &owner;
        item.style = &s;
        item.font = &font;
        items_.push_back(std::move(item));
        used_ += w;
        lastWasSpace_ = false;
        hasContent_ = true;
    }

    void Space(const dom::Element& owner, const ComputedStyle& s, const Font& font, std::uint32_t offset) {
        Item item;
        item.kind = Item::Kind::Space;
        item.text = L" ";
        item.source = source_;
        item.offsets.assign(1, offset);
        item.width = TextWidth(font, L" ");
        item.owner = &owner;
        item.style = &s;
        item.font = &font;
        items_.push_back(std::move(item));
        used_ += items_.back().width;
        lastWasSpace_ = true;
    }

    LayoutBuilder& b_;
    const dom::Element& container_;
    const ComputedStyle& cs_;
    long x_, width_, y_;
    FormattingContext& fc_;
    long left_ = 0, right_ = 0, used_ = 0;
    bool lastWasSpace_ = true;
    bool hasContent_ = false;
    std::vector<Item> items_;
    const dom::Node* source_ = nullptr;
};

void LineBuilder::Finish(bool forced) {
    // Trailing spaces take no room.
    while (!items_.empty() && items_.back().kind == Item::Kind::Space) {
        used_ -= items_.back().width;
        items_.pop_back();
    }
    for (auto it = items_.rbegin(); it != items_.rend() && it->kind == Item::Kind::End; ++it) {
        auto next = it + 1;
        if (next != items_.rend() && next->kind == Item::Kind::Space) {
            used_ -= next->width;
            next->width = 0;
            next->text.clear();
        }
    }
    const bool hasText = std::any_of(items_.begin(), items_.end(), [](const Item& i) { return i.kind == Item::Kind::Text; });
    const bool hasAtomic = std::any_of(items_.begin(), items_.end(), [](const Item& i) { return i.kind == Item::Kind::Atomic; });
    if (items_.empty() && !forced) return;
    const bool onlyEdges = !hasText && !hasAtomic;

    // Vertical metrics: text sits on a common baseline; atomic boxes stand on it.
    const Font& strut = FontOf(cs_);
    long ascent = 0, descent = 0;
    auto textMetrics = [](const Item& i, long& a, long& d) {
        a = i.font->ascent;
        d = i.font->descent;
        if (i.style->lineHeight > 0) {
            const long extra = i.style->lineHeight - (a + d);
            a += extra / 2;
            d += extra - extra / 2;
        }
    };
    if (hasText || forced || (onlyEdges && !items_.empty())) {
        long a = strut.ascent, d = strut.descent;
        if (cs_.lineHeight > 0) {
            const long extra = cs_.lineHeight - (a + d);
            a += extra / 2;
            d += extra - extra / 2;
        }
        ascent = a;
        descent = d;
    }
    for (const auto& i : items_) {
        long a = 0, d = 0;
        if (i.kind == Item::Kind::Text || i.kind == Item::Kind::Space) textMetrics(i, a, d);
        else if (i.kind == Item::Kind::Atomic) {
            if (i.style->verticalAlign == VerticalAlign::Middle) {
                a = i.height / 2 + strut.ascent / 3;
                d = i.height - a;
            } else {
                a = i.height;
            }
        }
        ascent = std::max(ascent, a);
        descent = std::max(descent, d);
    }
    // Empty inline elements (anchors, empty spans) take no height of their own.
    const long lineHeight = onlyEdges && !forced ? 0 : ascent + descent;

    // Horizontal place from the container's alignment, in the band at this height.
    left_ = x_;
    right_ = x_ + width_;
    fc_.Band(y_, left_, right_);
    long offset = 0;
    if (cs_.textAlign == TextAlign::Center) offset = std::max(0L, (Available() - used_) / 2);
    else if (cs_.textAlign == TextAlign::Right) offset = std::max(0L, Available() - used_);
    long x = left_ + offset;
    for (auto& i : items_) {
        i.x = x;
        x += i.width;
        if (i.kind == Item::Kind::Atomic) {
            long a = i.height;
            if (i.style->verticalAlign == VerticalAlign::Middle) a = i.height / 2 + strut.ascent / 3;
            if (i.style->verticalAlign == VerticalAlign::Top) a = ascent;
            i.top = y_ + ascent - a;
            b_.Translate(i.mark, i.end, i.x, i.top);
        } else if (i.font) {
            i.top = y_ + ascent - i.font->ascent;
        }
    }

    // Fragments of the inline elements on this line: from their first to last
    // item, as tall as their own font around the baseline.
    struct Extent {
        const dom::Element* element;
        long left, right;
    };
    std::vector<Extent> extents;
    auto extend = [&](const dom::Element* e, long l, long r) {
        for (auto& ex : extents)
            if (ex.element == e) {
                ex.left = std::min(ex.left, l);
                ex.right = std::max(ex.right, r);
                return;
            }
        extents.push_back({e, l, r});
    };
    for (const auto& i : items_) {
        const dom::Element* e = i.owner;
        if (i.kind == Item::Kind::Atomic) e = e->ParentElement();
        long l = i.x, r = i.x + i.width;
        if (i.kind == Item::Kind::Start) l += i.style->margin[3].Resolve(width_);
        if (i.kind == Item::Kind::End) r -= i.style->margin[1].Resolve(width_);
        for (; e && e != &container_; e = e->ParentElement()) extend(e, l, r);
    }
    for (const auto& ex : extents) {
        const ComputedStyle& s = b_.StyleOf(*ex.element);
        const Font& f = FontOf(s);
        Rect r{ex.left, y_ + ascent - f.ascent - s.padding[0] - s.borderWidth[0], ex.right - ex.left,
               f.Height() + VerticalEdges(s)};
        ElementBox& box = b_.Box(b_.BoxIndex(*ex.element));
        box.fragments.push_back(r);
        if (s.visible && (s.background != kTransparent || !s.backgroundImage.empty() || s.borderWidth[0] || s.borderWidth[1] ||
                          s.borderWidth[2] || s.borderWidth[3])) {
            PaintItem p;
            p.kind = PaintKind::Box;
            p.rect = r;
            p.element = ex.element;
            p.style = &s;
            b_.AddItem(std::move(p));
        }
    }

    // Text runs: neighbouring words of one element and style become one run.
    for (std::size_t k = 0; k < items_.size();) {
        const Item& first = items_[k];
        if (first.kind != Item::Kind::Text && first.kind != Item::Kind::Space) {
            ++k;
            continue;
        }
        PaintItem p;
        p.kind = PaintKind::Text;
        p.element = first.owner;
        p.style = first.style;
        p.rect = {first.x, first.top, 0, first.font->Height()};
        p.textNode = first.source;
        std::size_t j = k;
        for (; j < items_.size(); ++j) {
            const Item& i = items_[j];
            if ((i.kind != Item::Kind::Text && i.kind != Item::Kind::Space) || i.owner != first.owner ||
                i.style != first.style || i.source != first.source)
                break;
            p.text += i.text;
            p.offsets.insert(p.offsets.end(), i.offsets.begin(), i.offsets.end());
            p.rect.width += i.width;
        }
        if (first.style->visible && !p.text.empty()) b_.AddItem(std::move(p));
        k = j;
    }

    items_.clear();
    y_ += lineHeight;
    StartLine();
}

// Number or bullet of a list item.
std::wstring MarkerText(const dom::Element& item, const ComputedStyle& s) {
    if (s.listStyle == L"none") return {};
    if (s.listStyle == L"disc" || s.listStyle == L"circle" || s.listStyle == L"square") return s.listStyle;
    long number = 1;
    const dom::Element* list = item.ParentElement();
    if (list && list->HasAttribute(L"start")) number = _wtol(list->GetAttribute(L"start").c_str());
    for (const dom::Node* n = item.PreviousSibling(); n; n = n->PreviousSibling())
        if (const dom::Element* e = n->AsElement(); e && e->Is(L"li")) ++number;
    if (item.HasAttribute(L"value")) number = _wtol(item.GetAttribute(L"value").c_str());
    std::wstring text;
    if (s.listStyle == L"lower-alpha" || s.listStyle == L"upper-alpha") {
        const wchar_t base = s.listStyle == L"lower-alpha" ? L'a' : L'A';
        for (long n = number; n > 0; n = (n - 1) / 26) text.insert(text.begin(), static_cast<wchar_t>(base + (n - 1) % 26));
    } else {
        text = std::to_wstring(number);
    }
    return text + L".";
}

}  // namespace

// ---- the builder ---------------------------------------------------------------

LayoutBuilder::LayoutBuilder(dom::Document& document, DocumentLayout& out, PreviousLayout* previous)
    : document_(document),
      out_(out),
      resolver_(previous && out.resolver ? *out.resolver : *(out.resolver = std::make_unique<StyleResolver>(document))),
      images_(ImageStore::Of(document)),
      previous_(previous && out.resolver ? previous : nullptr) {}

const ComputedStyle& LayoutBuilder::StyleOf(const dom::Element& element) {
    if (auto it = out_.styles.find(&element); it != out_.styles.end()) return *it->second;
    // Elements outside the tree the pre-pass walked (not expected).
    const dom::Element* parent = element.ParentElement();
    const ComputedStyle* parentStyle = parent ? &StyleOf(*parent) : nullptr;
    out_.ownedStyles.push_back(resolver_.Compute(element, parentStyle));
    out_.styles[&element] = out_.ownedStyles.back().get();
    return *out_.ownedStyles.back();
}

void LayoutBuilder::ComputeStyles() {
    for (const dom::Node* n = document_.FirstChild(); n; n = n->NextInTree(&document_)) {
        if (const dom::Element* e = n->AsElement()) StyleOf(*e);
    }
}

void LayoutBuilder::Translate(const Mark& from, const Mark& to, long dx, long dy) {
    if (dx == 0 && dy == 0) return;
    for (std::size_t i = from.items; i < to.items; ++i) {
        out_.items[i].rect.x += dx;
        out_.items[i].rect.y += dy;
    }
    for (std::size_t i = from.boxes; i < to.boxes; ++i) {
        ElementBox& box = out_.boxes[i];
        box.border.x += dx;
        box.border.y += dy;
        for (auto& f : box.fragments) {
            f.x += dx;
            f.y += dy;
        }
    }
    for (std::size_t i = from.clips; i < to.clips; ++i) {
        out_.clips[i].rect.x += dx;
        out_.clips[i].rect.y += dy;
    }
}

ElementBox& LayoutBuilder::NewBox(const dom::Element& element, const ComputedStyle& style) {
    out_.boxIndex[&element] = out_.boxes.size();
    ElementBox box;
    box.element = &element;
    box.style = &style;
    box.clip = clip;
    out_.boxes.push_back(std::move(box));
    return out_.boxes.back();
}

void LayoutBuilder::AddItem(PaintItem item) {
    // A background picture shown is fetched (the page asks the store for what is new).
    if (item.kind == PaintKind::Box && item.style && !item.style->backgroundImage.empty()) images_.Request(item.style->backgroundImage);
    item.clip = clip;
    item.layer = layer;
    out_.items.push_back(std::move(item));
}

bool LayoutBuilder::IsReplaced(const dom::Element& e) const { return IsReplacedElement(e); }

bool IsReplacedElement(const dom::Element& e) {
    return e.Is(L"img") || e.Is(L"input") || e.Is(L"select") || e.Is(L"textarea") || e.Is(L"button") ||
           e.Is(L"iframe") || e.Is(L"object") || e.Is(L"embed");
}

SIZE LayoutBuilder::ReplacedSize(const dom::Element& e, const ComputedStyle& s, long cbWidth) {
    const float z = s.zoom;
    auto scaled = [z](long v) { return static_cast<long>(v * z + 0.5f); };
    long w = 0, h = 0;
    const Font& font = FontOf(s);
    const std::wstring type = e.Is(L"input") ? e.Type() : std::wstring();
    if (e.Is(L"img") || type == L"image") {
        const std::wstring src = e.ResolvedUrlAttribute(L"src");
        const Image* image = src.empty() ? nullptr : &images_.Request(src);
        const bool known = image && image->state == Image::State::Loaded;
        long naturalW = known ? image->width : 28, naturalH = known ? image->height : 30;
        if (!known && e.HasAttribute(L"alt") && !e.GetAttribute(L"alt").empty()) {
            // A missing picture shows its alt text in a frame that fits it.
            naturalW = std::max(naturalW, static_cast<long>(TextWidth(font, e.GetAttribute(L"alt")) / z) + 24);
            naturalH = std::max(naturalH, static_cast<long>(font.Height() / z) + 8);
        }
        w = scaled(naturalW);
        h = scaled(naturalH);
        const bool autoW = s.width.IsAuto(), autoH = s.height.IsAuto();
        if (!autoW) w = s.width.Resolve(cbWidth);
        if (!autoH) h = s.height.Resolve(0, h);
        if (!autoW && autoH && naturalW > 0) h = w * naturalH / naturalW;
        if (autoW && !autoH && naturalH > 0) w = h * naturalW / naturalH;
        return {std::max(0L, w), std::max(0L, h)};
    }
    const long lineH = font.Height();
    if (type == L"checkbox" || type == L"radio") {
        w = h = scaled(13);
    } else if (e.Is(L"button") || type == L"submit" || type == L"reset" || type == L"button") {
        std::wstring label = e.Is(L"button") ? e.InnerText() : e.Value();
        if (label.empty() && !e.Is(L"button") && type != L"button") label = type == L"reset" ? L"Reset" : L"Submit Query";
        w = TextWidth(font, label) + scaled(16);
        h = std::max(scaled(21), lineH + scaled(6));
    } else if (e.Is(L"select")) {
        long widest = 0;
        for (const dom::Element* option : e.Options()) widest = std::max(widest, TextWidth(font, option->OptionText()));
        w = widest + scaled(24);
        const int size = std::max(0, _wtoi(e.GetAttribute(L"size").c_str()));
        const bool list = e.HasAttribute(L"multiple") || size > 1;
        h = list ? std::max(size > 1 ? size : 4, 1) * lineH + scaled(4) : std::max(scaled(20), lineH + scaled(4));
    } else if (e.Is(L"textarea")) {
        const long cols = std::max(1, e.HasAttribute(L"cols") ? _wtoi(e.GetAttribute(L"cols").c_str()) : 20);
        const long rows = std::max(1, e.HasAttribute(L"rows") ? _wtoi(e.GetAttribute(L"rows").c_str()) : 2);
        w = cols * font.averageWidth + scaled(24);
        h = rows * lineH + scaled(6);
    } else if (e.Is(L"iframe") || e.Is(L"object") || e.Is(L"embed")) {
        w = scaled(300);
        h = scaled(150);
    } else {
        // Text fields: as many average characters as their size, one line high.
        const long size = std::max(1, e.HasAttribute(L"size") ? _wtoi(e.GetAttribute(L"size").c_str()) : 20);
        w = size * font.averageWidth + scaled(8);
        if (type == L"file") w += TextWidth(font, L"Browse...") + scaled(16);
        h = std::max(scaled(20), lineH + scaled(4));
    }
    if (!s.width.IsAuto() && type != L"checkbox" && type != L"radio") w = s.width.Resolve(cbWidth, w);
    if (!s.height.IsAuto()) h = s.height.Resolve(0, h);
    return {std::max(0L, w), std::max(0L, h)};
}

SIZE LayoutBuilder::LayoutAtomic(const dom::Element& e, const ComputedStyle& s, long cbWidth) {
    const long ml = s.margin[3].Resolve(cbWidth), mr = s.margin[1].Resolve(cbWidth);
    const long mt = s.margin[0].Resolve(cbWidth), mb = s.margin[2].Resolve(cbWidth);
    if (!IsReplaced(e)) {
        FormattingContext own;
        const Rect r = LayoutBlockBox(e, s, 0, mt, cbWidth, own, s.width.IsAuto());
        return {r.width + ml + mr, r.height + mt + mb};
    }
    const SIZE content = ReplacedSize(e, s, cbWidth);
    const bool control = !e.Is(L"img") && !(e.Is(L"input") && e.Type() == L"image") && !e.Is(L"iframe");
    // Controls draw their own frame; images take CSS borders and padding around them.
    const long edgesX = control ? 0 : HorizontalEdges(s), edgesY = control ? 0 : VerticalEdges(s);
    ElementBox& box = NewBox(e, s);
    box.border = {ml, mt, content.cx + edgesX, content.cy + edgesY};
    box.contentWidth = box.border.width;
    box.contentHeight = box.border.height;
    const Rect border = box.border;
    if (s.visible) {
        if (!control && (edgesX || edgesY || s.background != kTransparent || !s.backgroundImage.empty())) {
            PaintItem frame;
            frame.kind = PaintKind::Box;
            frame.rect = border;
            frame.element = &e;
            frame.style = &s;
            AddItem(std::move(frame));
        }
        PaintItem item;
        item.element = &e;
        item.style = &s;
        item.rect = {border.x + (control ? 0 : s.borderWidth[3] + s.padding[3]), border.y + (control ? 0 : s.borderWidth[0] + s.padding[0]),
                     content.cx, content.cy};
        if (control) {
            item.kind = PaintKind::Control;
        } else {
            item.kind = PaintKind::Image;
            if (!e.Is(L"iframe")) item.text = e.ResolvedUrlAttribute(L"src");
        }
        AddItem(std::move(item));
    }
    return {border.width + ml + mr, border.height + mt + mb};
}

void LayoutBuilder::Taint(const dom::Element* upTo) {
    for (auto it = open_.rbegin(); it != open_.rend(); ++it) {
        ElementBox& box = out_.boxes[*it];
        if (box.element == upTo) return;
        box.record.reusable = false;
    }
}

bool LayoutBuilder::Reuse(const dom::Element& e, const ComputedStyle& s, long x, long y, long cbWidth,
                          const FormattingContext& fc, bool shrinkToFit, Rect& result) {
    // Cells are stretched and their content aligned after they are laid out;
    // numbered list items count their siblings.
    if (!previous_ || s.display == Display::TableCell) return false;
    if (s.display == Display::ListItem && s.listStyle != L"none" && s.listStyle != L"disc" && s.listStyle != L"circle" &&
        s.listStyle != L"square")
        return false;
    if (previous_->dirty->count(&e)) return false;
    const auto found = out_.boxIndex.find(&e);   // still where the previous layout had it
    if (found == out_.boxIndex.end() || found->second >= previous_->boxes.size()) return false;
    const std::size_t first = found->second;
    const ElementBox& old = previous_->boxes[first];
    if (old.element != &e) return false;
    const BlockRecord r = old.record;
    if (!r.reusable || old.style != &s || r.cbWidth != cbWidth || r.shrinkToFit != shrinkToFit || r.layer != layer) return false;
    // Floats beside it would narrow its lines.
    for (const FloatBox& f : fc.floats)
        if (f.rect.Bottom() > y) return false;

    const long sx = x + r.dx - old.border.x, sy = y + r.dy - old.border.y;
    const std::size_t boxes = out_.boxes.size(), items = out_.items.size(), clips = out_.clips.size();
    const auto remapClip = [&](int c) {
        return c < static_cast<int>(r.clips) ? clip : c - static_cast<int>(r.clips) + static_cast<int>(clips);
    };
    for (std::size_t i = r.clips; i < r.endClips; ++i) {
        Clip c = previous_->clips[i];
        c.rect.x += sx;
        c.rect.y += sy;
        c.parent = remapClip(c.parent);
        out_.clips.push_back(c);
    }
    for (std::size_t i = first; i < r.endBoxes; ++i) {
        ElementBox box = std::move(previous_->boxes[i]);
        box.border.x += sx;
        box.border.y += sy;
        for (Rect& f : box.fragments) {
            f.x += sx;
            f.y += sy;
        }
        box.clip = remapClip(box.clip);
        BlockRecord& inner = box.record;
        if (inner.endBoxes > 0) {
            inner.clip = remapClip(inner.clip);
            inner.items = inner.items - r.items + items;
            inner.endItems = inner.endItems - r.items + items;
            inner.clips = inner.clips - r.clips + clips;
            inner.endClips = inner.endClips - r.clips + clips;
            inner.endBoxes = inner.endBoxes - first + boxes;
        }
        if (const auto it = out_.boxIndex.find(box.element); it != out_.boxIndex.end()) it->second = out_.boxes.size();
        else out_.boxIndex.emplace(box.element, out_.boxes.size());
        out_.boxes.push_back(std::move(box));
        // What stays behind is empty now.
        previous_->boxes[i].record.reusable = false;
    }
    for (std::size_t i = r.items; i < r.endItems; ++i) {
        PaintItem item = std::move(previous_->items[i]);
        item.rect.x += sx;
        item.rect.y += sy;
        item.clip = remapClip(item.clip);
        out_.items.push_back(std::move(item));
    }
    out_.boxes[boxes].record.clip = clip;
    result = {x + r.resultX, y + r.resultY, r.resultWidth, r.resultHeight};
    return true;
}

Rect LayoutBuilder::LayoutBlockBox(const dom::Element& e, const ComputedStyle& s, long x, long y, long cbWidth,
                                   FormattingContext& fc, bool shrinkToFit) {
    if (Rect reused; Reuse(e, s, x, y, cbWidth, fc, shrinkToFit, reused)) return reused;
    const Mark start = Now();
    bool floatsBeside = false;
    for (const FloatBox& f : fc.floats) floatsBeside = floatsBeside || f.rect.Bottom() > y;
    const std::size_t floatsBefore = fc.floats.size();
    // Content pulled above its block may meet floats the block never sees.
    if (s.margin[0].value < 0 || s.margin[2].value < 0) Taint(nullptr);
    const std::uint8_t outerLayer = layer;
    if (s.Positioned()) layer = 1;
    const long edges = HorizontalEdges(s);
    long ml = s.margin[3].Resolve(cbWidth), mr = s.margin[1].Resolve(cbWidth);
    long width;
    // Widths count padding and borders, as pages of that era expect. A cell
    // is as wide as its column, whatever it asked for.
    const bool cell = s.display == Display::TableCell;
    if (cell) ml = mr = 0;
    if (!s.width.IsAuto() && !cell) {
        width = std::max(edges, s.width.Resolve(cbWidth));
        if (e.Is(L"table")) width = std::max(width, TableIntrinsicWidths(e).min);
    } else if ((shrinkToFit || e.Is(L"table")) && !cell) {
        const Intrinsic in = IntrinsicWidths(e);
        width = std::min(std::max(in.min, cbWidth - ml - mr), in.max);
    } else {
        width = std::max(0L, cbWidth - ml - mr);
    }
    if ((!s.width.IsAuto() || e.Is(L"table")) && !cell) {
        const long free = cbWidth - width - ml - mr;
        if (s.margin[3].IsAuto() && s.margin[1].IsAuto()) ml += std::max(0L, free / 2);
        else if (s.margin[3].IsAuto()) ml += std::max(0L, free);
    }

    const std::size_t boxIndex = out_.boxes.size();
    NewBox(e, s).border = {x + ml, y, width, 0};
    out_.boxes[boxIndex].record.reusable = true;
    open_.push_back(boxIndex);
    const std::size_t paintIndex = out_.items.size();
    if (s.visible) {
        PaintItem item;
        item.kind = PaintKind::Box;
        item.element = &e;
        item.style = &s;
        AddItem(std::move(item));
    }

    const long contentX = x + ml + s.borderWidth[3] + s.padding[3];
    const long contentY = y + s.borderWidth[0] + s.padding[0];
    long contentWidth = std::max(0L, width - edges);
    const int outerClip = clip;
    const bool clips = s.overflowX != Overflow::Visible || s.overflowY != Overflow::Visible;
    const bool root = e.Is(L"html") || e.Is(L"body");
    if (clips && !root) {
        out_.clips.push_back({{x + ml + s.borderWidth[3], y + s.borderWidth[0], width - s.borderWidth[1] - s.borderWidth[3], 0}, &e, clip});
        clip = static_cast<int>(out_.clips.size() - 1);
    }
    // A box that scrolls its own content shows its scroll bars inside its
    // borders, and its content is laid out beside them.
    const bool scrolls = clips && !root;
    const long barWidth = GetSystemMetrics(SM_CXVSCROLL), barHeight = GetSystemMetrics(SM_CYHSCROLL);
    bool verticalBar = scrolls && s.overflowY == Overflow::Scroll && contentWidth > barWidth;
    if (verticalBar) contentWidth -= barWidth;

    long contentHeight = 0;
    long height = 0;
    if (e.Is(L"table") || s.display == Display::Table) {
        const Rect table = LayoutTable(e, s, x + ml, y, width);
        height = table.height;
        contentHeight = height - VerticalEdges(s);
    } else {
        if (s.display == Display::ListItem && s.visible) {
            const std::wstring marker = MarkerText(e, s);
            if (!marker.empty()) {
                const Font& font = FontOf(s);
                PaintItem item;
                item.kind = PaintKind::Marker;
                item.element = &e;
                item.style = &s;
                item.text = marker;
                const bool bullet = marker == L"disc" || marker == L"circle" || marker == L"square";
                const long w = bullet ? std::max(4L, font.ascent / 3) : TextWidth(font, marker);
                const long h = bullet ? w : font.Height();
                item.rect = {contentX - w - (bullet ? font.averageWidth + 2 : 4), contentY + (bullet ? (font.Height() - w) / 2 + 1 : 0), w, h};
                AddItem(std::move(item));
            }
        }
        const bool newContext = clips || s.floating != Float::None || s.OutOfFlow() || shrinkToFit || root ||
                                s.display == Display::TableCell || s.display == Display::InlineBlock;
        FormattingContext own;
        FormattingContext& context = newContext ? own : fc;
        const Mark content = Now();
        auto layContent = [&] {
            long used = 0;
            // Markup nested deeper than the stack holds is left out rather than
            // exhausting it.
            if (RoomToNest(++depth)) used = FlowChildren(e, s, contentX, contentY, contentWidth, context);
            --depth;
            if (newContext)
                for (const auto& f : own.floats) used = std::max(used, f.rect.Bottom() - contentY);
            return used;
        };
        contentHeight = layContent();
        long specified = -1;
        if (!s.height.IsAuto()) {
            specified = s.height.unit == Length::Unit::Percent
                            ? (e.Is(L"html") || e.Is(L"body") ? s.height.Resolve(viewHeight_) : -1)
                            : s.height.Resolve(0);
        }
        if (scrolls && !verticalBar && s.overflowY == Overflow::Auto && specified >= 0 &&
            contentHeight > specified - VerticalEdges(s) && contentWidth > barWidth) {
            // Taller than its box: laid out again beside a vertical bar.
            out_.items.resize(content.items);
            out_.boxes.resize(content.boxes);
            out_.clips.resize(content.clips);
            own.floats.clear();
            verticalBar = true;
            contentWidth -= barWidth;
            contentHeight = layContent();
        }
        height = contentHeight + VerticalEdges(s);
        if (specified >= 0) height = std::max(VerticalEdges(s), specified);
    }

    // What is inside, for scroll sizes and the clip.
    long extentRight = width, extentBottom = height;
    if (clips || root) {
        const long originX = x + ml, originY = y;
        for (std::size_t i = paintIndex + 1; i < out_.items.size(); ++i) {
            extentRight = std::max(extentRight, out_.items[i].rect.Right() - originX + s.padding[1]);
            extentBottom = std::max(extentBottom, out_.items[i].rect.Bottom() - originY + s.padding[2]);
        }
    }
    const bool horizontalBar =
        scrolls && (s.overflowX == Overflow::Scroll || (s.overflowX == Overflow::Auto && extentRight > width)) &&
        height - s.borderWidth[0] - s.borderWidth[2] > barHeight;
    if (clips && !root) {
        out_.clips[clip].rect.height = height - s.borderWidth[0] - s.borderWidth[2] - (horizontalBar ? barHeight : 0);
        out_.clips[clip].rect.width -= verticalBar ? barWidth : 0;
        clip = outerClip;
    }
    ElementBox& box = out_.boxes[boxIndex];
    box.border.height = height;
    box.contentWidth = extentRight;
    box.contentHeight = extentBottom;
    box.bars = (verticalBar ? ElementBox::kVerticalBar : 0) | (horizontalBar ? ElementBox::kHorizontalBar : 0);
    if (box.bars && s.visible) {
        PaintItem bars;
        bars.kind = PaintKind::ScrollBars;
        bars.element = &e;
        bars.style = &s;
        bars.rect = {box.border.x + s.borderWidth[3], box.border.y + s.borderWidth[0],
                     box.border.width - s.borderWidth[1] - s.borderWidth[3], height - s.borderWidth[0] - s.borderWidth[2]};
        bars.bars = box.bars;
        AddItem(std::move(bars));
    }
    if (s.visible) out_.items[paintIndex].rect = box.border;
    const Rect result = box.border;
    if (s.position == Position::Relative) {
        const long dx = !s.left.IsAuto() ? s.left.Resolve(cbWidth) : (!s.right.IsAuto() ? -s.right.Resolve(cbWidth) : 0);
        const long dy = !s.top.IsAuto() ? s.top.Resolve(0) : (!s.bottom.IsAuto() ? -s.bottom.Resolve(0) : 0);
        Translate(start, Now(), dx, dy);
    }
    layer = outerLayer;
    open_.pop_back();
    BlockRecord& record = out_.boxes[boxIndex].record;
    record.reusable = record.reusable && !floatsBeside && fc.floats.size() == floatsBefore;
    record.shrinkToFit = shrinkToFit;
    record.layer = outerLayer;
    record.clip = outerClip;
    record.cbWidth = cbWidth;
    record.dx = out_.boxes[boxIndex].border.x - x;
    record.dy = out_.boxes[boxIndex].border.y - y;
    record.resultX = result.x - x;
    record.resultY = result.y - y;
    record.resultWidth = result.width;
    record.resultHeight = result.height;
    record.items = start.items;
    record.clips = start.clips;
    record.endItems = out_.items.size();
    record.endBoxes = out_.boxes.size();
    record.endClips = out_.clips.size();
    return result;
}

long LayoutBuilder::FlowChildren(const dom::Element& container, const ComputedStyle& cs, long x, long y, long width,
                                 FormattingContext& fc) {
    LineBuilder line(*this, container, cs, x, width, y, fc);
    long pendingMargin = 0;
    bool afterBlock = false;

    // Inline content depth first; block-level descendants interrupt lines.
    auto settleMargin = [&] {
        if (afterBlock) {
            line.SetY(line.Y() + pendingMargin);
            pendingMargin = 0;
            afterBlock = false;
        }
    };
    auto enter = [&](const dom::Node& node) {
        const dom::Node* n = &node;
        if (n->IsText()) {
            const dom::Element* owner = n->ParentElement();
            const ComputedStyle& s = StyleOf(*owner);
            const std::wstring& data = n->Data();
            if (s.whiteSpace != WhiteSpace::Pre &&
                std::all_of(data.begin(), data.end(), [](wchar_t c) { return c == L' ' || c == L'\n' || c == L'\r' || c == L'\t'; })) {
                if (!line.Empty()) line.Text(*n, *owner, s);
            } else {
                settleMargin();
                line.Text(*n, *owner, s);
            }
            return false;
        }
        const dom::Element* e = n->AsElement();
        if (!e) {
            return false;
        }
        const ComputedStyle& s = StyleOf(*e);
        if (s.display == Display::None || s.display == Display::TableColumn) {
            return false;
        }
        if (e->Is(L"br")) {
            settleMargin();
            NewBox(*e, s).border = {line.CurrentX(), line.Y(), 0, FontOf(s).Height()};
            line.Finish(true);
            if (const std::wstring clear = dom::LowerAscii(e->GetAttribute(L"clear")); !clear.empty())
                line.SetY(fc.ClearBelow(line.Y(), clear == L"left" ? Clear::Left : clear == L"right" ? Clear::Right : Clear::Both));
            return false;
        }
        if (s.OutOfFlow()) {
            // Placed against the nearest positioned ancestor (or the view),
            // at the spot it would have had in the flow when no offset is given.
            const long staticX = line.Empty() ? x : line.CurrentX();
            const long staticY = line.Y() + (afterBlock ? pendingMargin : 0);
            Rect cb{0, 0, viewWidth_, viewHeight_};
            const dom::Element* container = nullptr;
            for (const dom::Element* a = e->ParentElement(); a; a = a->ParentElement()) {
                const ComputedStyle& as = StyleOf(*a);
                if (!as.Positioned()) continue;
                container = a;
                if (const ElementBox* laidOut = LaidOut(*a)) {
                    const ElementBox& ab = *laidOut;
                    cb = {ab.border.x + as.borderWidth[3], ab.border.y + as.borderWidth[0],
                          ab.border.width - as.borderWidth[1] - as.borderWidth[3], ab.border.height};
                }
                break;
            }
            // Placed against something outside the blocks around it: they no
            // longer just move with it.
            Taint(container);
            const Mark mark = Now();
            const std::uint8_t outerLayer = layer;
            layer = 1;
            FormattingContext own;
            const bool replaced = IsReplaced(*e);
            long w = 0, h = 0;
            if (replaced) {
                const SIZE size = LayoutAtomic(*e, s, cb.width);
                w = size.cx;
                h = size.cy;
            } else {
                const Rect r = LayoutBlockBox(*e, s, 0, s.margin[0].Resolve(cb.width), cb.width, own, s.width.IsAuto());
                w = r.width + s.margin[3].Resolve(cb.width) + s.margin[1].Resolve(cb.width);
                h = r.height;
            }
            layer = outerLayer;
            long px = staticX, py = staticY;
            if (!s.left.IsAuto()) px = cb.x + s.left.Resolve(cb.width);
            else if (!s.right.IsAuto()) px = cb.Right() - s.right.Resolve(cb.width) - w;
            if (!s.top.IsAuto()) py = cb.y + s.top.Resolve(cb.height);
            else if (!s.bottom.IsAuto() && cb.height > 0) py = cb.Bottom() - s.bottom.Resolve(cb.height) - h;
            Translate(mark, Now(), px, py);
            return false;
        }
        if (s.floating != Float::None) {
            settleMargin();
            const Mark mark = Now();
            FormattingContext own;
            SIZE size;
            if (IsReplaced(*e)) {
                size = LayoutAtomic(*e, s, width);
            } else {
                const long mt = s.margin[0].Resolve(width), mb = s.margin[2].Resolve(width);
                const Rect r = LayoutBlockBox(*e, s, 0, mt, width, own, s.width.IsAuto());
                size = {r.width + s.margin[3].Resolve(width) + s.margin[1].Resolve(width), r.height + mt + mb};
            }
            long fy = fc.ClearBelow(line.Y(), s.clear);
            long left = x, right = x + width;
            fc.Band(fy, left, right);
            while (right - left < size.cx && fc.NextFloatBottom(fy) > fy) {
                fy = fc.NextFloatBottom(fy);
                left = x;
                right = x + width;
                fc.Band(fy, left, right);
            }
            const long fx = s.floating == Float::Left ? left : right - size.cx;
            Translate(mark, Now(), fx, fy);
            fc.floats.push_back({{fx, fy, size.cx, size.cy}, s.floating == Float::Left});
            line.FloatAdded();
            return false;
        }
        if (s.IsBlockLevel() || s.display == Display::TableCell) {
            line.Finish(false);
            const long mt = s.margin[0].Resolve(width), mb = s.margin[2].Resolve(width);
            long top = line.Y() + (afterBlock ? std::max(pendingMargin, mt) : mt);
            top = fc.ClearBelow(top, s.clear);
            const Rect r = LayoutBlockBox(*e, s, x, top, width, fc, false);
            pendingMargin = mb;
            afterBlock = true;
            line.SetY(top + r.height);
            return false;
        }
        settleMargin();
        if (IsReplaced(*e) || s.display == Display::InlineBlock) {
            const Mark mark = Now();
            const SIZE size = LayoutAtomic(*e, s, width);
            line.Atomic(mark, Now(), size, *e, s);
            return false;
        }
        // An inline element: its edges and its content join the line.
        NewBox(*e, s);
        line.Edge(*e, s, true);
        return true;
    };
    auto leave = [&](const dom::Node& node) {
        const dom::Element& e = *node.AsElement();
        line.Edge(e, StyleOf(e), false);
    };
    dom::WalkDescendants(container, enter, leave);
    line.Finish(false);
    return line.Y() + (afterBlock ? pendingMargin : 0) - y;
}

// ---- intrinsic widths ------------------------------------------------------------

Intrinsic LayoutBuilder::IntrinsicWidths(const dom::Element& e) {
    if (auto it = out_.intrinsic.find(&e); it != out_.intrinsic.end()) return it->second;
    const ComputedStyle& s = StyleOf(e);
    Intrinsic result;
    if (s.display == Display::None) {
        // nothing
    } else if (IsReplaced(e)) {
        const SIZE size = ReplacedSize(e, s, 0);
        const bool control = !e.Is(L"img") && !(e.Is(L"input") && e.Type() == L"image");
        result.min = result.max = size.cx + (control ? 0 : HorizontalEdges(s));
    } else if (e.Is(L"table") || s.display == Display::Table) {
        result = TableIntrinsicWidths(e);
    } else if (RoomToNest(depth)) {
        ++depth;
        result = ChildrenIntrinsic(e);
        --depth;
        result.min += HorizontalEdges(s);
        result.max += HorizontalEdges(s);
        if (!s.width.IsAuto() && s.width.unit == Length::Unit::Px) {
            const long w = std::max(HorizontalEdges(s), s.width.Resolve(0));
            result.max = w;
            result.min = (s.display == Display::TableCell) ? std::max(result.min, w) : w;
        }
    }
    const long margins = (s.margin[3].unit == Length::Unit::Px ? s.margin[3].Resolve(0) : 0) +
                         (s.margin[1].unit == Length::Unit::Px ? s.margin[1].Resolve(0) : 0);
    result.min += margins;
    result.max += margins;
    result.max = std::max(result.max, result.min);
    out_.intrinsic[&e] = result;
    return result;
}

Intrinsic LayoutBuilder::ChildrenIntrinsic(const dom::Element& element) {
    Intrinsic result;
    long lineWidth = 0;
    auto endLine = [&] {
        result.max = std::max(result.max, lineWidth);
        lineWidth = 0;
    };
    auto enter = [&](const dom::Node& node) {
        const dom::Node* n = &node;
        if (n->IsText()) {
            const ComputedStyle& s = StyleOf(*n->ParentElement());
            const Font& font = FontOf(s);
            const std::wstring& data = n->Data();
            std::wstring word;
            bool pendingSpace = false;
            auto flushWord = [&] {
                if (word.empty()) return;
                const long w = TextWidth(font, word);
                if (s.whiteSpace == WhiteSpace::Normal) result.min = std::max(result.min, w);
                if (pendingSpace && lineWidth > 0) lineWidth += TextWidth(font, L" ");
                lineWidth += w;
                if (s.whiteSpace != WhiteSpace::Normal) result.min = std::max(result.min, lineWidth);
                word.clear();
                pendingSpace = false;
            };
            for (wchar_t c : data) {
                if (s.whiteSpace == WhiteSpace::Pre && c == L'\n') {
                    flushWord();
                    endLine();
                    continue;
                }
                if (s.whiteSpace != WhiteSpace::Pre && (c == L' ' || c == L'\n' || c == L'\r' || c == L'\t')) {
                    flushWord();
                    pendingSpace = true;
                    continue;
                }
                if (IsCjk(c) && s.whiteSpace == WhiteSpace::Normal) {
                    flushWord();
                    word.assign(1, c);
                    flushWord();
                    continue;
                }
                word += c;
            }
            flushWord();
            return false;
        }
        const dom::Element* e = n->AsElement();
        if (!e) {
            return false;
        }
        const ComputedStyle& s = StyleOf(*e);
        if (s.display == Display::None || s.OutOfFlow()) {
            return false;
        }
        if (e->Is(L"br")) {
            endLine();
            return false;
        }
        if (IsReplaced(*e) || s.display == Display::InlineBlock || s.floating != Float::None) {
            const Intrinsic child = IntrinsicWidths(*e);
            result.min = std::max(result.min, child.min);
            lineWidth += child.max;
            return false;
        }
        if (s.IsBlockLevel() || s.display == Display::TableCell) {
            endLine();
            const Intrinsic child = IntrinsicWidths(*e);
            result.min = std::max(result.min, child.min);
            result.max = std::max(result.max, child.max);
            return false;
        }
        lineWidth += HorizontalEdges(s);
        return true;
    };
    dom::WalkDescendants(element, enter, [](const dom::Node&) {});
    endLine();
    return result;
}

// ---- the whole document ------------------------------------------------------------

void ForgetBoxesNotLaidOut(DocumentLayout& layout) {
    for (auto it = layout.boxIndex.begin(); it != layout.boxIndex.end();) {
        if (it->second < layout.boxes.size() && layout.boxes[it->second].element == it->first) ++it;
        else it = layout.boxIndex.erase(it);
    }
}

void PaintCanvas(const dom::Document& document, DocumentLayout& layout) {
    layout.canvasBackground = RGB(255, 255, 255);
    layout.canvasImage.clear();
    if (const dom::Element* body = document.Body())
        if (const ComputedStyle* bs = layout.StyleOf(*body)) {
            if (bs->background != kTransparent) layout.canvasBackground = bs->background;
            layout.canvasImage = bs->backgroundImage;
        }
    if (const dom::Element* html = document.DocumentElement())
        if (const ComputedStyle* hs = layout.StyleOf(*html); hs && hs->background != kTransparent)
            layout.canvasBackground = hs->background;
}

void LayoutBuilder::Run(long width, long height) {
    RunOnLargeStack([&] { LayOutRoot(width, height); });
}

void LayoutBuilder::LayOutRoot(long width, long height) {
    viewWidth_ = width;
    viewHeight_ = height;
    ++out_.passes;
    if (!previous_) ComputeStyles();
    out_.viewWidth = width;
    out_.viewHeight = height;
    const dom::Element* html = document_.DocumentElement();
    if (!html) return;
    const ComputedStyle& hs = StyleOf(*html);
    if (hs.display == Display::None) return;
    FormattingContext root;
    const Rect r = LayoutBlockBox(*html, hs, 0, 0, width, root, false);
    long right = std::max(width, r.Right()), bottom = std::max(r.Bottom(), 0L);
    for (const auto& item : out_.items) {
        if (item.clip >= 0) continue;
        right = std::max(right, item.rect.Right());
        bottom = std::max(bottom, item.rect.Bottom());
    }
    if (const dom::Element* body = document_.Body()) StyleOf(*body);
    PaintCanvas(document_, out_);
    // Inline elements are as large as the lines they touch.
    for (auto& box : out_.boxes) {
        if (box.fragments.empty()) continue;
        box.border = box.fragments.front();
        for (const auto& f : box.fragments) box.border.Unite(f);
        box.contentWidth = box.border.width;
        box.contentHeight = box.border.height;
    }
    out_.canvasWidth = right;
    out_.canvasHeight = std::max(bottom, height);
    // Positioned content paints above the flow, each in document order.
    out_.paintOrder.clear();
    out_.paintOrder.reserve(out_.items.size());
    for (std::uint8_t pass = 0; pass < 2; ++pass)
        for (std::size_t i = 0; i < out_.items.size(); ++i)
            if ((out_.items[i].layer != 0) == (pass != 0)) out_.paintOrder.push_back(static_cast<std::uint32_t>(i));
}

}  // namespace corvalin::browser::layout
