#include "browser/dom/text_range.h"

#include <algorithm>

#include "browser/dom/document.h"

namespace corvalin::browser::dom {

namespace {

bool OutsideRanges(const Element& e) {
    return e.Is(L"script") || e.Is(L"style") || e.Is(L"title") || e.Is(L"head") || e.Is(L"textarea");
}

wchar_t Fold(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

enum class CharClass { Space, Word, Punctuation };

bool IsCjk(wchar_t c) { return (c >= 0x3400 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF); }

CharClass ClassOf(wchar_t c) {
    if (c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\f' || c == 0xA0 || c == 0x3000) return CharClass::Space;
    if ((c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_' || c >= 0xC0)
        return CharClass::Word;
    return CharClass::Punctuation;
}

bool EndsSentence(wchar_t c) { return c == L'.' || c == L'!' || c == L'?' || c == 0x3002 || c == 0xFF01 || c == 0xFF1F; }

// A word starts where a run of one class of characters begins (each CJK
// character is a word of its own); spaces belong to the word before them.
bool IsWordStart(const std::wstring& all, std::size_t p) {
    if (p == 0 || p >= all.size()) return true;
    const CharClass here = ClassOf(all[p]);
    if (here == CharClass::Space) return false;
    return ClassOf(all[p - 1]) != here || IsCjk(all[p]) || IsCjk(all[p - 1]);
}

bool IsSentenceStart(const std::wstring& all, std::size_t p) {
    if (p == 0 || p >= all.size()) return true;
    if (ClassOf(all[p]) == CharClass::Space) return false;
    std::size_t q = p;
    while (q > 0 && ClassOf(all[q - 1]) == CharClass::Space) --q;
    return q == 0 || (q < p && EndsSentence(all[q - 1]));
}

// One unit forward or back from `p`; `p` itself when there is nowhere to go.
std::size_t Step(const std::wstring& all, std::size_t p, TextUnit unit, bool forward) {
    const std::size_t n = all.size();
    auto space = [&](std::size_t i) { return ClassOf(all[i]) == CharClass::Space; };
    switch (unit) {
    case TextUnit::Character: return forward ? std::min(p + 1, n) : (p > 0 ? p - 1 : 0);
    case TextUnit::TextEdit: return forward ? n : 0;
    case TextUnit::Word:
        if (forward) {
            if (p >= n) return n;
            ++p;
            while (p < n && !IsWordStart(all, p)) ++p;
            return p;
        }
        if (p == 0) return 0;
        --p;
        while (p > 0 && !IsWordStart(all, p)) --p;
        return p;
    case TextUnit::Sentence:
        if (forward) {
            if (p >= n) return n;
            while (p < n && !EndsSentence(all[p])) ++p;
            while (p < n && (EndsSentence(all[p]) || space(p))) ++p;
            return p;
        }
        if (p == 0) return 0;
        --p;
        while (p > 0 && !IsSentenceStart(all, p)) --p;
        return p;
    }
    return p;
}

// `count` units from `pos` (negative: back); `moved` says how many were taken.
std::size_t StepBy(const std::wstring& all, std::size_t pos, long count, TextUnit unit, long& moved) {
    moved = 0;
    const bool forward = count > 0;
    for (long i = 0; i < (forward ? count : -count); ++i) {
        const std::size_t next = Step(all, pos, unit, forward);
        if (next == pos) break;
        pos = next;
        moved += forward ? 1 : -1;
    }
    return pos;
}

// Content that is not text: pictures, controls, frames, tables.
bool HoldsContent(const Element& element) {
    for (Node* n = element.FirstChild(); n; n = n->NextInTree(&element)) {
        const Element* e = n->AsElement();
        if (e && (IsVoidElement(e->LocalName()) || e->Is(L"select") || e->Is(L"textarea") || e->Is(L"iframe") ||
                  e->Is(L"object") || e->Is(L"table")))
            return true;
    }
    return false;
}

}  // namespace

std::optional<TextUnit> TextUnitFromName(std::wstring_view name) {
    if (EqualsIgnoringCase(name, L"character")) return TextUnit::Character;
    if (EqualsIgnoringCase(name, L"word")) return TextUnit::Word;
    if (EqualsIgnoringCase(name, L"sentence")) return TextUnit::Sentence;
    if (EqualsIgnoringCase(name, L"textedit")) return TextUnit::TextEdit;
    return std::nullopt;
}

TextRange::TextRange(Element& scope) : scope_(&scope) { SelectAll(); }

TextRange::Flat TextRange::Flatten() const {
    Flat flat;
    const Node* root = scope_.get();
    for (Node* n = root->FirstChild(); n;) {
        if (const Element* e = n->AsElement(); e && OutsideRanges(*e)) {
            n = n->NextSkippingChildren(root);
            continue;
        }
        if (n->IsText()) {
            flat.texts.push_back(n);
            flat.starts.push_back(flat.all.size());
            flat.all += n->Data();
        }
        n = n->NextInTree(root);
    }
    return flat;
}

std::size_t TextRange::Global(const Flat& flat, const Point& p) const {
    if (!p.text) return flat.all.size();
    for (std::size_t i = 0; i < flat.texts.size(); ++i) {
        if (flat.texts[i] == p.text.get()) return flat.starts[i] + std::min(p.offset, p.text->Data().size());
    }
    // The node left the scope: the point falls back to the scope's end.
    return flat.all.size();
}

TextRange::Point TextRange::At(const Flat& flat, std::size_t global) const {
    global = std::min(global, flat.all.size());
    for (std::size_t i = 0; i < flat.texts.size(); ++i) {
        std::size_t length = flat.texts[i]->Data().size();
        if (global < flat.starts[i] + length || (global == flat.starts[i] + length && i + 1 == flat.texts.size())) {
            return Point{flat.texts[i], global - flat.starts[i]};
        }
    }
    return Point{};
}

void TextRange::SetFrom(const Flat& flat, std::size_t start, std::size_t end) {
    start = std::min(start, flat.all.size());
    end = std::clamp(end, start, flat.all.size());
    startPoint_ = At(flat, start);
    endPoint_ = At(flat, end);
}

bool TextRange::Collapsed() const {
    Flat flat = Flatten();
    return Global(flat, startPoint_) >= Global(flat, endPoint_);
}

std::wstring TextRange::Text() const {
    Flat flat = Flatten();
    std::size_t s = Global(flat, startPoint_), e = Global(flat, endPoint_);
    return e > s ? flat.all.substr(s, e - s) : std::wstring();
}

std::vector<TextRange::NodeSpan> TextRange::CoveredSpans() const {
    Flat flat = Flatten();
    const std::size_t s = Global(flat, startPoint_), e = Global(flat, endPoint_);
    std::vector<NodeSpan> spans;
    for (std::size_t i = 0; i < flat.texts.size(); ++i) {
        const std::size_t begin = flat.starts[i], end = begin + flat.texts[i]->Data().size();
        const std::size_t from = std::max(s, begin), to = std::min(e, end);
        if (from < to) spans.push_back({flat.texts[i], from - begin, to - begin});
    }
    return spans;
}

bool TextRange::Find(std::wstring_view text) {
    if (text.empty()) return false;
    Flat flat = Flatten();
    std::size_t s = Global(flat, startPoint_), e = Global(flat, endPoint_);
    std::size_t limit = e > s ? e : flat.all.size();
    for (std::size_t i = s; i + text.size() <= limit; ++i) {
        bool same = true;
        for (std::size_t k = 0; k < text.size() && same; ++k) same = Fold(flat.all[i + k]) == Fold(text[k]);
        if (same) {
            SetFrom(flat, i, i + text.size());
            return true;
        }
    }
    return false;
}

void TextRange::ReplaceWith(const NodeMaker& make) {
    Document& document = scope_->OwnerDocument();
    Ref<Element> keepScope = scope_;
    Flat flat = Flatten();
    std::size_t s = Global(flat, startPoint_), e = Global(flat, endPoint_);
    if (e < s) e = s;
    // The markup goes where the range's first character is (or the caret).
    Point at = At(flat, s);
    if (e > s) {
        for (std::size_t i = 0; i < flat.texts.size(); ++i) {
            std::size_t length = flat.texts[i]->Data().size();
            if (s >= flat.starts[i] && s < flat.starts[i] + length) {
                at = Point{flat.texts[i], s - flat.starts[i]};
                break;
            }
        }
    }
    // Take the range's characters out of their text nodes, noting the
    // elements a whole cut text may leave empty.
    std::vector<Ref<Element>> emptied;
    for (std::size_t i = 0; i < flat.texts.size(); ++i) {
        Node* t = flat.texts[i];
        std::size_t from = flat.starts[i], to = from + t->Data().size();
        std::size_t cutFrom = std::max(from, s), cutTo = std::min(to, e);
        if (cutFrom >= cutTo) continue;
        if (cutFrom == from && cutTo == to) {
            for (Element* holder = t->ParentElement(); holder && holder != scope_.get(); holder = holder->ParentElement())
                emptied.push_back(holder);
        }
        std::wstring data = t->Data();
        data.erase(cutFrom - from, cutTo - cutFrom);
        t->SetData(std::move(data));
    }
    Node* parent = scope_.get();
    Node* before = nullptr;
    if (at.text) {
        parent = at.text->Parent();
        std::wstring data = at.text->Data();
        if (at.offset == 0) {
            before = at.text.get();
        } else if (at.offset >= data.size()) {
            before = at.text->NextSibling();
        } else {
            Ref<dom::Text> tail = document.CreateTextNode(data.substr(at.offset));
            at.text->SetData(data.substr(0, at.offset));
            parent->InsertBefore(tail, at.text->NextSibling());
            before = tail.get();
        }
    }
    const std::vector<Ref<Node>> nodes = make(*parent);
    Ref<Node> last;
    for (auto& n : nodes) {
        parent->InsertBefore(n, before);
        last = n;
    }
    // An element whose every character was replaced goes with them, as the
    // browser does (the pasted markup's own parent stays).
    for (const Ref<Element>& holder : emptied) {
        if (!holder->Parent() || holder->Contains(parent) || !holder->TextContent().empty() || HoldsContent(*holder)) continue;
        holder->Parent()->RemoveChild(holder.get());
    }
    // Collapse after what went in.
    flat = Flatten();
    std::size_t after = s;
    if (last) {
        Node* next = last->NextSkippingChildren(scope_.get());
        while (next && !next->IsText()) next = next->NextInTree(scope_.get());
        after = next ? Global(flat, Point{next, 0}) : flat.all.size();
    }
    SetFrom(flat, after, after);
}

void TextRange::SetText(std::wstring_view text) {
    ReplaceWith([&](Node&) {
        std::vector<Ref<Node>> nodes;
        if (!text.empty()) nodes.emplace_back(scope_->OwnerDocument().CreateTextNode(std::wstring(text)));
        return nodes;
    });
}

long TextRange::MoveStart(long count, TextUnit unit) {
    Flat flat = Flatten();
    const std::size_t e = Global(flat, endPoint_);
    long moved = 0;
    const std::size_t target = StepBy(flat.all, Global(flat, startPoint_), count, unit, moved);
    SetFrom(flat, target, std::max(target, e));
    return moved;
}

long TextRange::MoveEnd(long count, TextUnit unit) {
    Flat flat = Flatten();
    const std::size_t s = Global(flat, startPoint_);
    long moved = 0;
    const std::size_t target = StepBy(flat.all, Global(flat, endPoint_), count, unit, moved);
    SetFrom(flat, std::min(s, target), target);
    return moved;
}

long TextRange::Move(long count, TextUnit unit) {
    Collapse(true);
    const long moved = MoveStart(count, unit);
    Collapse(true);
    return moved;
}

bool TextRange::Expand(TextUnit unit) {
    Flat flat = Flatten();
    const std::wstring& all = flat.all;
    const std::size_t s = Global(flat, startPoint_), e = Global(flat, endPoint_);
    std::size_t start = s, end = e;
    long moved = 0;
    switch (unit) {
    case TextUnit::Character:
        if (end == start && end < all.size()) ++end;
        break;
    case TextUnit::TextEdit:
        start = 0;
        end = all.size();
        break;
    case TextUnit::Word:
    case TextUnit::Sentence: {
        auto isStart = [&](std::size_t p) { return unit == TextUnit::Word ? IsWordStart(all, p) : IsSentenceStart(all, p); };
        if (!isStart(start)) start = StepBy(all, start, -1, unit, moved);
        if (end == start || !isStart(end)) end = StepBy(all, std::max(end, start), 1, unit, moved);
        break;
    }
    }
    SetFrom(flat, start, end);
    return start != s || end != e;
}

int TextRange::CompareEndPoints(bool thisStart, const TextRange& other, bool otherStart) const {
    Flat flat = Flatten();
    const std::size_t a = Global(flat, thisStart ? startPoint_ : endPoint_);
    const std::size_t b = Global(flat, otherStart ? other.startPoint_ : other.endPoint_);
    return a < b ? -1 : a > b ? 1 : 0;
}

void TextRange::SetEndPoint(bool thisStart, const TextRange& other, bool otherStart) {
    Flat flat = Flatten();
    const std::size_t s = Global(flat, startPoint_), e = Global(flat, endPoint_);
    const std::size_t target = Global(flat, otherStart ? other.startPoint_ : other.endPoint_);
    if (thisStart) SetFrom(flat, target, std::max(target, e));
    else SetFrom(flat, std::min(s, target), target);
}

std::size_t TextRange::GlobalOf(const Flat& flat, TextPoint point) const {
    for (std::size_t i = 0; i < flat.texts.size(); ++i) {
        if (flat.texts[i] == point.text) return flat.starts[i] + std::min(point.offset, flat.texts[i]->Data().size());
    }
    return flat.all.size();
}

void TextRange::SetPoints(TextPoint anchor, TextPoint focus) {
    Flat flat = Flatten();
    const std::size_t a = GlobalOf(flat, anchor), f = GlobalOf(flat, focus);
    SetFrom(flat, std::min(a, f), std::max(a, f));
}

void TextRange::SelectWordAt(TextPoint point) {
    Flat flat = Flatten();
    const std::wstring& all = flat.all;
    std::size_t p = GlobalOf(flat, point);
    if (p >= all.size()) {
        if (all.empty()) return SetFrom(flat, 0, 0);
        p = all.size() - 1;
    }
    const CharClass kind = ClassOf(all[p]);
    std::size_t start = p, end = p + 1;
    if (kind != CharClass::Space && !IsCjk(all[p])) {
        while (start > 0 && ClassOf(all[start - 1]) == kind && !IsCjk(all[start - 1])) --start;
        while (end < all.size() && ClassOf(all[end]) == kind && !IsCjk(all[end])) ++end;
    }
    SetFrom(flat, start, end);
}

void TextRange::Collapse(bool toStart) {
    Flat flat = Flatten();
    std::size_t s = Global(flat, startPoint_), e = Global(flat, endPoint_);
    std::size_t at = toStart ? s : e;
    SetFrom(flat, at, at);
}

void TextRange::SelectAll() {
    Flat flat = Flatten();
    SetFrom(flat, 0, flat.all.size());
}

void TextRange::MoveToElementText(Element& element) {
    if (!scope_->Contains(&element)) return;
    Flat flat = Flatten();
    std::size_t s = flat.all.size(), e = 0;
    for (std::size_t i = 0; i < flat.texts.size(); ++i) {
        if (!element.Contains(flat.texts[i])) continue;
        s = std::min(s, flat.starts[i]);
        e = std::max(e, flat.starts[i] + flat.texts[i]->Data().size());
    }
    if (s > e) s = e = Global(flat, Point{});
    SetFrom(flat, s, e);
}

Element* TextRange::ParentElement() const {
    if (startPoint_.text && startPoint_.text->ParentElement()) return startPoint_.text->ParentElement();
    return scope_.get();
}

}  // namespace corvalin::browser::dom
