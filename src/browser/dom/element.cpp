#include "browser/dom/element.h"

#include <algorithm>
#include <array>

#include "browser/dom/document.h"

namespace corvalin::browser::dom {

namespace {

template <std::size_t N>
bool InList(std::wstring_view name, const std::array<const wchar_t*, N>& list) {
    for (const wchar_t* n : list) {
        if (name == n) return true;
    }
    return false;
}

// "backgroundColor" → "background-color"; CSS names pass unchanged (lower case).
std::wstring CssName(std::wstring_view name) {
    if (EqualsIgnoringCase(name, L"cssFloat") || EqualsIgnoringCase(name, L"styleFloat")) return L"float";
    std::wstring out;
    for (wchar_t c : name) {
        if (c >= L'A' && c <= L'Z') {
            if (!out.empty()) out += L'-';
            out += static_cast<wchar_t>(c - L'A' + L'a');
        } else {
            out += c;
        }
    }
    return out;
}

std::vector<StyleProperty> ParseStyle(std::wstring_view text) {
    std::vector<StyleProperty> out;
    std::size_t start = 0;
    wchar_t quote = 0;
    int parens = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        wchar_t c = i < text.size() ? text[i] : L';';
        if (quote) {
            if (c == quote) quote = 0;
            if (i < text.size()) continue;
        }
        if (c == L'"' || c == L'\'') { quote = c; continue; }
        if (c == L'(') ++parens;
        if (c == L')' && parens > 0) --parens;
        if (c != L';' || (parens > 0 && i < text.size())) continue;
        std::wstring_view declaration = text.substr(start, i - start);
        start = i + 1;
        std::size_t colon = declaration.find(L':');
        if (colon == std::wstring_view::npos) continue;
        std::wstring name = LowerAscii(TrimHtmlSpace(declaration.substr(0, colon)));
        std::wstring_view value = TrimHtmlSpace(declaration.substr(colon + 1));
        if (name.empty()) continue;
        auto same = std::find_if(out.begin(), out.end(), [&](const StyleProperty& p) { return p.name == name; });
        // Within one block a later declaration overrides an earlier
        // !important one only if it is !important too.
        if (same != out.end()) {
            std::wstring_view earlier = same->value;
            std::wstring_view later = value;
            if (SplitImportant(earlier) && !SplitImportant(later)) continue;
        }
        if (value.empty()) {
            if (same != out.end()) out.erase(same);
        } else if (same != out.end()) {
            same->value = std::wstring(value);
        } else {
            out.push_back({name, std::wstring(value)});
        }
    }
    return out;
}

std::wstring HandlerKey(std::wstring_view eventName) {
    std::wstring key = LowerAscii(eventName);
    if (key.rfind(L"on", 0) != 0) key = L"on" + key;
    return key;
}

// Rendered text, built as the browser lays text out.
class TextRenderer {
public:
    void Characters(std::wstring_view text, bool preformatted) {
        for (wchar_t c : text) {
            if (preformatted) {
                if (c == L'\r') continue;
                if (c == L'\n') { LineBreak(); continue; }
                Flush();
                out_ += c == 0xA0 ? L' ' : c;
                continue;
            }
            if (IsHtmlSpace(c)) {
                pendingSpace_ = true;
                continue;
            }
            Flush();
            out_ += c == 0xA0 ? L' ' : c;
        }
    }
    void BlockBoundary() {
        pendingSpace_ = false;
        if (!out_.empty() && !EndsWithBreak()) pendingBreak_ = true;
    }
    void LineBreak() {
        pendingSpace_ = false;
        pendingBreak_ = false;
        out_ += L"\r\n";
    }
    void CellBoundary() {
        if (!out_.empty() && !EndsWithBreak()) {
            pendingSpace_ = false;
            pendingTab_ = true;
        }
    }
    std::wstring Take() {
        while (!out_.empty() && (out_.back() == L' ' || out_.back() == L'\t')) out_.pop_back();
        return std::move(out_);
    }

private:
    bool EndsWithBreak() const { return out_.size() >= 2 && out_.compare(out_.size() - 2, 2, L"\r\n") == 0; }
    void Flush() {
        if (pendingBreak_) out_ += L"\r\n";
        else if (pendingTab_) out_ += L'\t';
        else if (pendingSpace_ && !out_.empty() && !EndsWithBreak()) out_ += L' ';
        pendingBreak_ = pendingSpace_ = pendingTab_ = false;
    }
    std::wstring out_;
    bool pendingSpace_ = false;
    bool pendingBreak_ = false;
    bool pendingTab_ = false;
};

bool IsHiddenText(const Element& e) {
    return e.Is(L"script") || e.Is(L"style") || e.Is(L"head") || e.Is(L"title") || e.Is(L"noscript") ||
           e.Is(L"xml") || e.Is(L"template");
}

void InsertTextWithBreaks(Node& parent, Node* before, std::wstring_view text) {
    Document& document = parent.OwnerDocument();
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        bool end = i == text.size();
        if (!end && text[i] != L'\r' && text[i] != L'\n') continue;
        if (i > start) parent.InsertBefore(Text::Create(document, std::wstring(text.substr(start, i - start))), before);
        if (end) break;
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
        parent.InsertBefore(Element::Create(document, L"br"), before);
        start = i + 1;
    }
}

}  // namespace

std::vector<StyleProperty> ParseStyleDeclarations(std::wstring_view text) { return ParseStyle(text); }

bool SplitImportant(std::wstring_view& value) {
    const std::size_t bang = value.rfind(L'!');
    if (bang == std::wstring_view::npos || !EqualsIgnoringCase(TrimHtmlSpace(value.substr(bang + 1)), L"important")) return false;
    value = TrimHtmlSpace(value.substr(0, bang));
    return true;
}

bool IsBlockElement(std::wstring_view n) {
    static constexpr std::array<const wchar_t*, 38> blocks{
        L"address", L"blockquote", L"body", L"center", L"dd", L"dir", L"div", L"dl", L"dt", L"fieldset",
        L"form", L"h1", L"h2", L"h3", L"h4", L"h5", L"h6", L"hr", L"html", L"isindex", L"li", L"listing",
        L"menu", L"noframes", L"ol", L"p", L"plaintext", L"pre", L"table", L"tr", L"ul", L"xmp", L"caption",
        L"thead", L"tbody", L"tfoot", L"frameset", L"legend"};
    return InList(n, blocks);
}

bool IsVoidElement(std::wstring_view n) {
    static constexpr std::array<const wchar_t*, 16> voids{L"area", L"base", L"basefont", L"br", L"col",
                                                          L"embed", L"frame", L"hr", L"img", L"input",
                                                          L"isindex", L"link", L"meta", L"param", L"wbr",
                                                          L"bgsound"};
    return InList(n, voids);
}

Element::Element(Document& document, std::wstring localName)
    : Node(NodeType::Element, &document), localName_(std::move(localName)) {}

Ref<Element> Element::Create(Document& document, std::wstring_view tagName) {
    return Ref<Element>(new Element(document, LowerAscii(tagName)));
}

std::wstring Element::TagName() const { return UpperAscii(localName_); }

namespace {

bool SameAttributeName(std::wstring_view a, std::wstring_view b, NameCase match) {
    return match == NameCase::Exact ? a == b : EqualsIgnoringCase(a, b);
}

}  // namespace

const std::wstring* Element::FindAttribute(std::wstring_view name, NameCase match) const {
    for (const auto& a : attributes_) {
        if (SameAttributeName(a.name, name, match)) return &a.value;
    }
    return nullptr;
}

std::wstring Element::GetAttribute(std::wstring_view name) const {
    const std::wstring* v = FindAttribute(name);
    return v ? *v : std::wstring();
}

void Element::SetAttribute(std::wstring_view name, std::wstring value, NameCase match) {
    if (name.empty()) return;
    for (auto& a : attributes_) {
        if (SameAttributeName(a.name, name, match)) {
            std::wstring before = std::move(a.value);
            a.value = std::move(value);
            // The id and name indexes follow the first attribute of a name,
            // the one every reader finds.
            if (FindAttribute(name) == &a.value) OwnerDocument().Reindex(*this, name, &before, &a.value);
            OwnerDocument().Changed();
            return;
        }
    }
    if (match == NameCase::Exact && HasAttribute(name)) {
        // Another attribute of this name in another case comes first and
        // keeps answering every case-blind reader.
        attributes_.push_back({std::wstring(name), std::move(value)});
        OwnerDocument().Changed();
        return;
    }
    AddParsedAttribute(match == NameCase::Exact ? std::wstring(name) : LowerAscii(name), std::move(value));
}

void Element::AddParsedAttribute(std::wstring lowerName, std::wstring value) {
    attributes_.push_back({std::move(lowerName), std::move(value)});
    OwnerDocument().Reindex(*this, attributes_.back().name, nullptr, &attributes_.back().value);
    OwnerDocument().Changed();
}

bool Element::RemoveAttribute(std::wstring_view name, NameCase match) {
    auto it = std::find_if(attributes_.begin(), attributes_.end(),
                           [&](const Attribute& a) { return SameAttributeName(a.name, name, match); });
    if (it == attributes_.end()) return false;
    const bool indexed = FindAttribute(name) == &it->value;
    const Attribute removed = std::move(*it);
    attributes_.erase(it);
    if (indexed) OwnerDocument().Reindex(*this, removed.name, &removed.value, FindAttribute(removed.name));
    OwnerDocument().Changed();
    return true;
}

std::wstring Element::ResolvedUrlAttribute(std::wstring_view name) const {
    const std::wstring* v = FindAttribute(name);
    if (!v) return {};
    return OwnerDocument().ResolveUrl(TrimHtmlSpace(*v));
}

// ---- Style ------------------------------------------------------------------

std::vector<StyleProperty> Element::Style() const { return ParseStyle(GetAttribute(L"style")); }

std::wstring Element::StyleValue(std::wstring_view name) const {
    std::wstring css = CssName(name);
    for (const auto& p : Style()) {
        if (p.name == css) return p.value;
    }
    return {};
}

void Element::SetStyleValue(std::wstring_view name, std::wstring_view value) {
    std::wstring css = CssName(name);
    auto props = Style();
    auto it = std::find_if(props.begin(), props.end(), [&](const StyleProperty& p) { return p.name == css; });
    std::wstring_view v = TrimHtmlSpace(value);
    if (v.empty()) {
        if (it != props.end()) props.erase(it);
    } else if (it != props.end()) {
        it->value = std::wstring(v);
    } else {
        props.push_back({css, std::wstring(v)});
    }
    std::wstring text;
    for (const auto& p : props) {
        if (!text.empty()) text += L"; ";
        text += UpperAscii(p.name) + L": " + p.value;
    }
    if (text.empty()) RemoveAttribute(L"style");
    else SetAttribute(L"style", text);
}

std::wstring Element::StyleCssText() const {
    std::wstring text;
    for (const auto& p : Style()) {
        if (!text.empty()) text += L"; ";
        text += UpperAscii(p.name) + L": " + p.value;
    }
    return text;
}

void Element::SetStyleCssText(std::wstring_view text) {
    auto props = ParseStyle(text);
    std::wstring out;
    for (const auto& p : props) {
        if (!out.empty()) out += L"; ";
        out += UpperAscii(p.name) + L": " + p.value;
    }
    if (out.empty()) RemoveAttribute(L"style");
    else SetAttribute(L"style", out);
}

// ---- Handlers ---------------------------------------------------------------

EventHandler Element::Handler(std::wstring_view eventName) const {
    std::wstring key = HandlerKey(eventName);
    for (const auto& [name, handler] : assignedHandlers_) {
        if (name == key) return handler;
    }
    EventHandler fromMarkup;
    if (const std::wstring* source = FindAttribute(key)) fromMarkup.source = *source;
    return fromMarkup;
}

void Element::SetHandler(std::wstring_view eventName, EventHandler handler) {
    std::wstring key = HandlerKey(eventName);
    for (auto& [name, h] : assignedHandlers_) {
        if (name == key) {
            h = std::move(handler);
            return;
        }
    }
    assignedHandlers_.emplace_back(key, std::move(handler));
}

void Element::DropScriptHandlers() { assignedHandlers_.clear(); }

// ---- Text -------------------------------------------------------------------

void Element::Prefetch() const {
    const char* bytes = reinterpret_cast<const char*>(this);
    for (std::size_t at = 0; at < sizeof(Element); at += 64) __builtin_prefetch(bytes + at);
    __builtin_prefetch(attributes_.data());
    if (Binding()) __builtin_prefetch(Binding());
    if (FirstChild()) __builtin_prefetch(FirstChild());
}

std::wstring Element::InnerText() const {
    TextRenderer text;
    auto keepsSpaces = [](const Element& e) {
        return e.Is(L"pre") || e.Is(L"textarea") || e.Is(L"xmp") || e.Is(L"listing") || e.Is(L"plaintext");
    };
    int preformatted = keepsSpaces(*this) ? 1 : 0;
    // Entering a node renders what comes before its content; false: skip it.
    auto enter = [&](const Node& n) {
        if (n.IsText()) {
            text.Characters(n.Data(), preformatted > 0);
            return false;
        }
        const Element* e = n.AsElement();
        if (!e || IsHiddenText(*e)) return false;
        if (e->Is(L"br")) {
            text.LineBreak();
            return false;
        }
        if (IsBlockElement(e->LocalName())) text.BlockBoundary();
        if ((e->Is(L"td") || e->Is(L"th")) && e->PreviousSibling()) text.CellBoundary();
        if (keepsSpaces(*e)) ++preformatted;
        return true;
    };
    auto leave = [&](const Node& n) {
        const Element* e = n.AsElement();
        if (!e) return;
        if (IsBlockElement(e->LocalName())) text.BlockBoundary();
        if (keepsSpaces(*e)) --preformatted;
    };
    WalkDescendants(*this, enter, leave);
    return text.Take();
}

void Element::SetInnerText(std::wstring_view text) {
    RemoveAllChildren();
    if (Is(L"textarea")) currentValue_.reset();
    InsertTextWithBreaks(*this, nullptr, text);
}

void Element::SetOuterText(std::wstring_view text) {
    Node* parent = Parent();
    if (!parent) return;
    Ref<Node> keep(this);
    InsertTextWithBreaks(*parent, this, text);
    Remove();
}


// ---- Focus, position --------------------------------------------------------

void Element::Focus() {
    Document& document = OwnerDocument();
    if (document.active_ == this) return;
    if (Element* previous = document.active_) {
        document.active_ = nullptr;
        document.DispatchEvent(*previous, L"blur");
    }
    document.active_ = this;
    document.DispatchEvent(*this, L"focus");
}

void Element::Blur() {
    Document& document = OwnerDocument();
    if (document.active_ != this) return;
    document.active_ = nullptr;
    document.DispatchEvent(*this, L"blur");
}

int Element::SourceIndex() const {
    const Document& document = OwnerDocument();
    if (!document.Contains(this)) return -1;
    int index = 0;
    for (const Node* n = document.FirstChild(); n; n = n->NextInTree(&document)) {
        if (n == this) return index;
        if (n->IsElement()) ++index;
    }
    return -1;
}

Document* Element::ContentDocument() const { return static_cast<Document*>(contentDocument_.get()); }

void Element::SetContentDocument(Document* document) { contentDocument_ = document; }

std::vector<Element*> Element::ElementChildren() const {
    std::vector<Element*> out;
    for (Node* c = FirstChild(); c; c = c->NextSibling()) {
        if (Element* e = c->AsElement()) out.push_back(e);
    }
    return out;
}

}  // namespace corvalin::browser::dom
