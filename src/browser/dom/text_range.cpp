#include "browser/dom/text_range.h"

#include <algorithm>

#include "browser/dom/document.h"
#include "browser/html/html_parser.h"

namespace corvalin::browser::dom {

namespace {

bool OutsideRanges(const Element& e) {
    return e.Is(L"script") || e.Is(L"style") || e.Is(L"title") || e.Is(L"head") || e.Is(L"textarea");
}

wchar_t Fold(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

}  // namespace

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

std::wstring TextRange::HtmlText() const {
    std::wstring out;
    for (wchar_t c : Text()) {
        switch (c) {
        case L'&': out += L"&amp;"; break;
        case L'<': out += L"&lt;"; break;
        case L'>': out += L"&gt;"; break;
        case 0xA0: out += L"&nbsp;"; break;
        default: out += c;
        }
    }
    return out;
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

void TextRange::PasteHtml(std::wstring_view markup) {
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
    // Take the range's characters out of their text nodes.
    for (std::size_t i = 0; i < flat.texts.size(); ++i) {
        Node* t = flat.texts[i];
        std::size_t from = flat.starts[i], to = from + t->Data().size();
        std::size_t cutFrom = std::max(from, s), cutTo = std::min(to, e);
        if (cutFrom >= cutTo) continue;
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
    auto nodes = html::ParseFragment(document, markup, parent->AsElement());
    Ref<Node> last;
    for (auto& n : nodes) {
        parent->InsertBefore(n, before);
        last = n;
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
    std::wstring escaped;
    for (wchar_t c : text) {
        if (c == L'&') escaped += L"&amp;";
        else if (c == L'<') escaped += L"&lt;";
        else if (c == L'>') escaped += L"&gt;";
        else escaped += c;
    }
    PasteHtml(escaped);
}

long TextRange::MoveStart(long count) {
    Flat flat = Flatten();
    long s = static_cast<long>(Global(flat, startPoint_));
    long e = static_cast<long>(Global(flat, endPoint_));
    long target = std::clamp(s + count, 0L, static_cast<long>(flat.all.size()));
    SetFrom(flat, static_cast<std::size_t>(target), static_cast<std::size_t>(std::max(target, e)));
    return target - s;
}

long TextRange::MoveEnd(long count) {
    Flat flat = Flatten();
    long s = static_cast<long>(Global(flat, startPoint_));
    long e = static_cast<long>(Global(flat, endPoint_));
    long target = std::clamp(e + count, 0L, static_cast<long>(flat.all.size()));
    SetFrom(flat, static_cast<std::size_t>(std::min(s, target)), static_cast<std::size_t>(target));
    return target - e;
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
