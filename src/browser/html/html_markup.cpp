#include "browser/html/html_markup.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "browser/dom/document.h"
#include "browser/html/html_parser.h"

namespace corvalin::browser::html {

namespace {

using dom::Element;
using dom::Node;

bool IsRawText(const Element& e) {
    return e.Is(L"script") || e.Is(L"style") || e.Is(L"xmp") || e.Is(L"plaintext") || e.Is(L"listing");
}

// Attributes written bare and in capitals, as the browser writes them.
bool IsFlagAttribute(std::wstring_view name) {
    static constexpr std::array<const wchar_t*, 12> flags{L"checked", L"disabled", L"selected", L"readonly",
                                                          L"multiple", L"noshade",  L"nowrap",   L"compact",
                                                          L"defer",    L"ismap",    L"declare",  L"noresize"};
    for (const wchar_t* f : flags) {
        if (dom::EqualsIgnoringCase(name, f)) return true;
    }
    return false;
}

bool NeedsQuotes(std::wstring_view value) {
    if (value.empty()) return true;
    for (wchar_t c : value) {
        bool plain = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'-' ||
                     c == L'_' || c == L'.' || c >= 0x80;
        if (!plain || c == 0xA0) return true;
    }
    return false;
}

// The one escaper of the engine's markup: text escapes the angle brackets,
// a quoted attribute value its quote; both escape '&' and the no-break space.
enum class EscapeFor { Text, QuotedValue };
void AppendEscaped(std::wstring& out, std::wstring_view text, EscapeFor where) {
    for (wchar_t c : text) {
        if (c == L'&') out += L"&amp;";
        else if (c == 0xA0) out += L"&nbsp;";
        else if (where == EscapeFor::Text && c == L'<') out += L"&lt;";
        else if (where == EscapeFor::Text && c == L'>') out += L"&gt;";
        else if (where == EscapeFor::QuotedValue && c == L'"') out += L"&quot;";
        else out += c;
    }
}

void AppendEscapedText(std::wstring& out, std::wstring_view text) { AppendEscaped(out, text, EscapeFor::Text); }

void AppendAttribute(std::wstring& out, std::wstring_view name, std::wstring_view value) {
    out += L' ';
    if (IsFlagAttribute(name)) {
        out += dom::UpperAscii(name);
        return;
    }
    out += name;
    out += L'=';
    if (!NeedsQuotes(value)) {
        out += value;
        return;
    }
    out += L'"';
    AppendEscaped(out, value, EscapeFor::QuotedValue);
    out += L'"';
}

void AppendStartTag(std::wstring& out, const Element& e) {
    out += L'<';
    out += e.TagName();
    bool input = e.Is(L"input");
    bool option = e.Is(L"option");
    bool wroteValue = false;
    bool wroteChecked = false;
    for (const auto& a : e.Attributes()) {
        // Controls show what they hold now.
        if (input && dom::EqualsIgnoringCase(a.name, L"value") && e.CurrentValue()) {
            AppendAttribute(out, a.name, *e.CurrentValue());
            wroteValue = true;
            continue;
        }
        if (input && dom::EqualsIgnoringCase(a.name, L"checked")) {
            wroteChecked = true;
            if (e.Checked()) AppendAttribute(out, a.name, a.value);
            continue;
        }
        if (option && dom::EqualsIgnoringCase(a.name, L"selected") && e.CurrentSelected()) {
            if (*e.CurrentSelected()) AppendAttribute(out, a.name, a.value);
            wroteChecked = true;
            continue;
        }
        AppendAttribute(out, a.name, a.value);
    }
    if (input && !wroteValue && e.CurrentValue() && !e.CurrentValue()->empty()) {
        AppendAttribute(out, L"value", *e.CurrentValue());
    }
    if (input && !wroteChecked && e.CurrentChecked() && *e.CurrentChecked()) AppendAttribute(out, L"checked", L"");
    if (option && !wroteChecked && e.CurrentSelected() && *e.CurrentSelected()) {
        AppendAttribute(out, L"selected", L"");
    }
    out += L'>';
}

// Serialises the children of `root` (and root itself when `withRoot`),
// iteratively so any depth goes.
std::wstring Serialize(const Node& root, bool withRoot, const MarkupSlice* slice = nullptr) {
    std::wstring out;
    auto enter = [&](const Node& n) {
        if (n.IsText()) {
            std::wstring_view data = n.Data();
            if (slice) {
                const auto [from, to] = slice->textSlice(n);
                data = from < to && to <= data.size() ? data.substr(from, to - from) : std::wstring_view();
            }
            const Element* parent = n.ParentElement();
            if (parent && IsRawText(*parent)) out += data;
            else AppendEscapedText(out, data);
            return false;
        }
        if (slice && (!n.AsElement() || !slice->keep(*n.AsElement()))) return false;
        if (n.Type() == dom::NodeType::Comment) {
            out += L"<!--";
            out += n.Data();
            out += L"-->";
            return false;
        }
        const Element* e = n.AsElement();
        if (!e) return true;
        AppendStartTag(out, *e);
        return !dom::IsVoidElement(e->LocalName());
    };
    auto leave = [&](const Node& n) {
        if (const Element* e = n.AsElement()) {
            out += L"</";
            out += e->TagName();
            out += L'>';
        }
    };
    if (withRoot && !enter(root)) return out;
    dom::WalkDescendants(root, enter, leave);
    if (withRoot) leave(root);
    return out;
}

bool CanHoldMarkup(const Element& e) { return !dom::IsVoidElement(e.LocalName()); }

void InsertAll(Node& parent, Node* before, std::vector<dom::Ref<Node>>& nodes) {
    for (auto& n : nodes) parent.InsertBefore(n, before);
}

}  // namespace

std::wstring InnerHtml(const Node& node) { return Serialize(node, false); }

std::wstring OuterHtml(const Node& node) { return Serialize(node, true); }

std::wstring SliceHtml(const Node& root, const MarkupSlice& slice) { return Serialize(root, false, &slice); }

bool ContentIsReadOnly(const Element& element) {
    // The parts of a table and of the document's frame change through their
    // own members, never by rewriting their content.
    static constexpr std::wstring_view readOnly[] = {L"col",   L"colgroup", L"frameset", L"html", L"head", L"style",
                                                     L"table", L"tbody",    L"tfoot",    L"thead", L"title", L"tr"};
    return std::ranges::find(readOnly, element.LocalName()) != std::end(readOnly);
}

bool OuterIsReadOnly(const Element& element) {
    // A table's inner parts (a cell too) can't be replaced whole, nor can the
    // document's root or frameset.
    static constexpr std::wstring_view readOnly[] = {L"caption", L"col",   L"colgroup", L"frameset", L"html", L"tbody",
                                                     L"td",      L"tfoot", L"th",       L"thead",    L"tr"};
    return !element.ParentElement() || std::ranges::find(readOnly, element.LocalName()) != std::end(readOnly);
}

bool SetInnerHtml(Element& element, std::wstring_view markup) {
    if (ContentIsReadOnly(element)) return false;
    if (!CanHoldMarkup(element)) return false;
    dom::Ref<Element> keep(&element);
    auto nodes = ParseFragment(element.OwnerDocument(), markup, &element);
    element.RemoveAllChildren();
    InsertAll(element, nullptr, nodes);
    return true;
}

bool SetOuterHtml(Element& element, std::wstring_view markup) {
    if (OuterIsReadOnly(element)) return false;
    Element* parent = element.ParentElement();
    dom::Ref<Element> keep(&element);
    auto nodes = ParseFragment(element.OwnerDocument(), markup, parent);
    InsertAll(*parent, &element, nodes);
    element.Remove();
    return true;
}

bool InsertAdjacentHtml(Element& element, std::wstring_view where, std::wstring_view markup) {
    dom::Ref<Element> keep(&element);
    dom::Document& document = element.OwnerDocument();
    if (dom::EqualsIgnoringCase(where, L"beforeBegin") || dom::EqualsIgnoringCase(where, L"afterEnd")) {
        Element* parent = element.ParentElement();
        if (!parent) return false;
        auto nodes = ParseFragment(document, markup, parent);
        Node* before = dom::EqualsIgnoringCase(where, L"beforeBegin") ? &element : element.NextSibling();
        InsertAll(*parent, before, nodes);
        return true;
    }
    if (dom::EqualsIgnoringCase(where, L"afterBegin") || dom::EqualsIgnoringCase(where, L"beforeEnd")) {
        if (!CanHoldMarkup(element)) return false;
        auto nodes = ParseFragment(document, markup, &element);
        Node* before = dom::EqualsIgnoringCase(where, L"afterBegin") ? element.FirstChild() : nullptr;
        InsertAll(element, before, nodes);
        return true;
    }
    return false;
}

bool InsertAdjacentText(Element& element, std::wstring_view where, std::wstring_view text) {
    dom::Document& document = element.OwnerDocument();
    std::vector<dom::Ref<Node>> nodes{document.CreateTextNode(std::wstring(text))};
    if (dom::EqualsIgnoringCase(where, L"beforeBegin") || dom::EqualsIgnoringCase(where, L"afterEnd")) {
        Element* parent = element.ParentElement();
        if (!parent) return false;
        InsertAll(*parent, dom::EqualsIgnoringCase(where, L"beforeBegin") ? &element : element.NextSibling(), nodes);
        return true;
    }
    if (dom::EqualsIgnoringCase(where, L"afterBegin") || dom::EqualsIgnoringCase(where, L"beforeEnd")) {
        if (!CanHoldMarkup(element)) return false;
        InsertAll(element, dom::EqualsIgnoringCase(where, L"afterBegin") ? element.FirstChild() : nullptr, nodes);
        return true;
    }
    return false;
}

}  // namespace corvalin::browser::html
