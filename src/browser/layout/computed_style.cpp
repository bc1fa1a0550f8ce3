#include "browser/layout/computed_style.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>

#include "browser/net/url.h"

namespace corvalin::browser::layout {

namespace {

// What a browser of that era shows without any sheet of the page's own.
constexpr const wchar_t* kUserAgentSheet = LR"(
html, body, div, p, h1, h2, h3, h4, h5, h6, ul, ol, dl, dt, dd, form, blockquote, center, pre, address, hr,
fieldset, menu, dir, xmp, listing, plaintext, noframes, frameset, legend, marquee { display: block }
head, script, style, title, meta, link, noscript, template, base, param, xml, map, area, col, colgroup, option, optgroup, datalist { display: none }
li { display: list-item }
table { display: table }
thead, tbody, tfoot { display: table-row-group }
tr { display: table-row }
td, th { display: table-cell; padding: 1px; vertical-align: middle }
caption { display: table-caption; text-align: center }
img, input, select, textarea, button, iframe, object, embed { display: inline-block }
body { margin: 15px 10px; font-family: 宋体; font-size: 16px; color: #000000 }
p { margin: 1em 0 }
h1 { font-size: 2em; margin: 0.67em 0; font-weight: bold }
h2 { font-size: 1.5em; margin: 0.83em 0; font-weight: bold }
h3 { font-size: 1.17em; margin: 1em 0; font-weight: bold }
h4 { margin: 1.33em 0; font-weight: bold }
h5 { font-size: 0.83em; margin: 1.67em 0; font-weight: bold }
h6 { font-size: 0.67em; margin: 2.33em 0; font-weight: bold }
b, strong, th { font-weight: bold }
th { text-align: center }
i, em, cite, var, address, dfn { font-style: italic }
u, ins { text-decoration: underline }
s, strike, del { text-decoration: line-through }
a:link, a:visited { color: #0000ff; text-decoration: underline }
ul, ol, menu, dir { margin: 1em 0 1em 40px }
ul, menu, dir { list-style-type: disc }
ol { list-style-type: decimal }
ul ul, ol ul { list-style-type: circle; margin-top: 0; margin-bottom: 0 }
ol ol, ul ol { margin-top: 0; margin-bottom: 0 }
dl { margin: 1em 0 }
dd { margin-left: 40px }
blockquote { margin: 1em 40px }
pre, xmp, listing, plaintext { white-space: pre; font-family: Courier New; font-size: 13px; margin: 1em 0 }
tt, code, kbd, samp { font-family: Courier New }
center { text-align: center }
small { font-size: smaller }
big { font-size: larger }
nobr { white-space: nowrap }
hr { border: 1px inset; margin: 7px 0; height: 0 }
fieldset { border: 2px groove; padding: 4px 8px; margin: 0 2px }
input, select, textarea, button { font-size: 13px; font-weight: normal; font-style: normal; color: #000000 }
input, select, button { margin: 0 }
)";

struct UserAgentRules {
    std::vector<StyleRule> rules;
    std::unordered_map<std::wstring, std::vector<const StyleRule*>> index;
};

long FontSizeOfHtmlSize(std::wstring_view text) {
    static constexpr long kSizes[] = {10, 13, 16, 18, 24, 32, 48};
    if (text.empty()) return 0;
    int n = _wtoi(std::wstring(text).c_str());
    if (text[0] == L'+' || text[0] == L'-') n += 3;
    n = std::clamp(n, 1, 7);
    return kSizes[n - 1];
}

bool IsNumber(std::wstring_view text) {
    if (text.empty()) return false;
    for (wchar_t c : text)
        if (!(c >= L'0' && c <= L'9') && c != L'.') return false;
    return true;
}

// A length attribute ("100", "50%") as a CSS value.
std::wstring AttributeLength(const std::wstring& value) {
    std::wstring digits;
    for (wchar_t c : value) {
        if ((c >= L'0' && c <= L'9') || c == L'.') digits += c;
        else break;
    }
    if (digits.empty()) return {};
    return digits + (value.find(L'%') != std::wstring::npos ? L"%" : L"px");
}

const dom::Element* AncestorTable(const dom::Element& cell) {
    for (const dom::Element* e = cell.ParentElement(); e; e = e->ParentElement())
        if (e->Is(L"table")) return e;
    return nullptr;
}

// Presentational attributes, weighed below every rule of the page's sheets.
void AttributeHints(const dom::Element& e, std::vector<Declaration>& out) {
    auto add = [&](Property p, std::wstring value) {
        if (!value.empty()) out.push_back({p, std::move(value), false});
    };
    if (const std::wstring* align = e.FindAttribute(L"align")) {
        const std::wstring a = dom::LowerAscii(*align);
        if (e.Is(L"img") || e.Is(L"table") || e.Is(L"iframe") || e.Is(L"object") || e.Is(L"embed") ||
            (e.Is(L"input") && e.Type() == L"image")) {
            if (a == L"left" || a == L"right") add(Property::Float, a);
            else if (a == L"center" && e.Is(L"table")) {
                add(Property::MarginLeft, L"auto");
                add(Property::MarginRight, L"auto");
            } else if (a == L"middle" || a == L"absmiddle") add(Property::VerticalAlign, L"middle");
            else if (a == L"top") add(Property::VerticalAlign, L"top");
        } else if (a == L"left" || a == L"right" || a == L"center" || a == L"justify") {
            add(Property::TextAlign, a);
        }
    }
    if (const std::wstring* valign = e.FindAttribute(L"valign")) add(Property::VerticalAlign, dom::LowerAscii(*valign));
    if (const std::wstring* bg = e.FindAttribute(L"bgcolor")) add(Property::BackgroundColor, *bg);
    if (const std::wstring* image = e.FindAttribute(L"background")) add(Property::BackgroundImage, L"url(" + *image + L")");
    const bool sized = e.Is(L"img") || e.Is(L"table") || e.Is(L"td") || e.Is(L"th") || e.Is(L"iframe") ||
                       e.Is(L"hr") || e.Is(L"object") || e.Is(L"embed") || e.Is(L"col") ||
                       (e.Is(L"input") && e.Type() == L"image");
    if (sized) {
        if (const std::wstring* w = e.FindAttribute(L"width")) add(Property::Width, AttributeLength(*w));
        if (const std::wstring* h = e.FindAttribute(L"height")) add(Property::Height, AttributeLength(*h));
    }
    if (e.Is(L"tr")) {
        if (const std::wstring* h = e.FindAttribute(L"height")) add(Property::Height, AttributeLength(*h));
    }
    if (e.Is(L"td") || e.Is(L"th")) {
        if (e.HasAttribute(L"nowrap")) add(Property::WhiteSpace, L"nowrap");
        if (const dom::Element* table = AncestorTable(e)) {
            if (const std::wstring* padding = table->FindAttribute(L"cellpadding")) {
                const std::wstring px = AttributeLength(*padding);
                for (auto p : {Property::PaddingTop, Property::PaddingRight, Property::PaddingBottom, Property::PaddingLeft})
                    add(p, px);
            }
            if (const std::wstring* border = table->FindAttribute(L"border"); border && _wtoi(border->c_str()) > 0) {
                ExpandDeclaration(L"border", L"1px inset #808080", false, out);
            }
        }
    }
    if (e.Is(L"table")) {
        if (const std::wstring* border = e.FindAttribute(L"border")) {
            const int width = border->empty() ? 1 : _wtoi(border->c_str());
            if (width > 0) ExpandDeclaration(L"border", std::to_wstring(width) + L"px outset #808080", false, out);
        }
    }
    if (e.Is(L"img") || (e.Is(L"input") && e.Type() == L"image")) {
        if (const std::wstring* border = e.FindAttribute(L"border"))
            ExpandDeclaration(L"border", std::to_wstring(_wtoi(border->c_str())) + L"px solid", false, out);
        if (const std::wstring* h = e.FindAttribute(L"hspace")) {
            add(Property::MarginLeft, AttributeLength(*h));
            add(Property::MarginRight, AttributeLength(*h));
        }
        if (const std::wstring* v = e.FindAttribute(L"vspace")) {
            add(Property::MarginTop, AttributeLength(*v));
            add(Property::MarginBottom, AttributeLength(*v));
        }
    }
    if (e.Is(L"font")) {
        if (const std::wstring* color = e.FindAttribute(L"color")) add(Property::Color, *color);
        if (const std::wstring* face = e.FindAttribute(L"face")) add(Property::FontFamily, *face);
        if (const std::wstring* size = e.FindAttribute(L"size")) {
            if (const long px = FontSizeOfHtmlSize(*size)) add(Property::FontSize, std::to_wstring(px) + L"px");
        }
    }
    if (e.Is(L"body")) {
        if (const std::wstring* text = e.FindAttribute(L"text")) add(Property::Color, *text);
        for (const auto& [attribute, sides] : {std::pair{L"leftmargin", 3}, std::pair{L"rightmargin", 1},
                                               std::pair{L"topmargin", 0}, std::pair{L"bottommargin", 2}}) {
            if (const std::wstring* v = e.FindAttribute(attribute))
                add(static_cast<Property>(static_cast<int>(Property::MarginTop) + sides), AttributeLength(*v));
        }
        if (const std::wstring* v = e.FindAttribute(L"marginwidth")) {
            add(Property::MarginLeft, AttributeLength(*v));
            add(Property::MarginRight, AttributeLength(*v));
        }
        if (const std::wstring* v = e.FindAttribute(L"marginheight")) {
            add(Property::MarginTop, AttributeLength(*v));
            add(Property::MarginBottom, AttributeLength(*v));
        }
    }
    if (e.Is(L"hr")) {
        if (const std::wstring* size = e.FindAttribute(L"size")) {
            const long px = std::max(0, _wtoi(size->c_str()) - 2);
            add(Property::Height, std::to_wstring(px) + L"px");
        }
        if (const std::wstring* color = e.FindAttribute(L"color")) {
            ExpandDeclaration(L"border", L"1px solid " + *color, false, out);
            add(Property::BackgroundColor, *color);
        }
        if (const std::wstring* align = e.FindAttribute(L"align")) {
            const std::wstring a = dom::LowerAscii(*align);
            add(Property::MarginLeft, a == L"left" ? L"0" : L"auto");
            add(Property::MarginRight, a == L"right" ? L"0" : L"auto");
        } else if (e.HasAttribute(L"width")) {
            add(Property::MarginLeft, L"auto");
            add(Property::MarginRight, L"auto");
        }
    }
    if (e.Is(L"ul") || e.Is(L"ol") || e.Is(L"li")) {
        if (const std::wstring* type = e.FindAttribute(L"type")) {
            static const std::pair<const wchar_t*, const wchar_t*> kTypes[] = {
                {L"1", L"decimal"}, {L"a", L"lower-alpha"}, {L"A", L"upper-alpha"}, {L"i", L"lower-roman"},
                {L"I", L"upper-roman"}, {L"disc", L"disc"}, {L"circle", L"circle"}, {L"square", L"square"}};
            for (const auto& [from, to] : kTypes)
                if (*type == from || dom::EqualsIgnoringCase(*type, from)) {
                    add(Property::ListStyleType, to);
                    break;
                }
        }
    }
}

bool MatchesCompound(const dom::Element& e, const CompoundSelector& c) {
    if (!c.tag.empty() && !e.Is(c.tag)) return false;
    if (!c.id.empty() && e.Id() != c.id) return false;
    if (!c.classes.empty()) {
        const std::wstring classes = e.ClassName();
        for (const auto& name : c.classes) {
            bool found = false;
            std::size_t start = 0;
            while (start <= classes.size() && !found) {
                std::size_t end = classes.find_first_of(L" \t\r\n\f", start);
                if (end == std::wstring::npos) end = classes.size();
                found = classes.compare(start, end - start, name) == 0;
                start = end + 1;
            }
            if (!found) return false;
        }
    }
    if (c.unstyled) return false;
    if (c.link || c.visited) {
        if (!((e.Is(L"a") || e.Is(L"area")) && e.HasAttribute(L"href"))) return false;
        const bool visited = e.OwnerDocument().WasVisited(e.ResolvedUrlAttribute(L"href"));
        if (c.visited != visited || (c.link && visited)) return false;
    }
    return !c.hover || e.OwnerDocument().IsHovered(e);
}

bool Matches(const dom::Element& element, const Selector& selector) {
    const auto& parts = selector.compounds;
    int i = static_cast<int>(parts.size()) - 1;
    if (!MatchesCompound(element, parts[i])) return false;
    const dom::Element* current = &element;
    while (i > 0) {
        const wchar_t combinator = parts[i].combinator;
        --i;
        if (combinator == L'>') {
            current = current->ParentElement();
            if (!current || !MatchesCompound(*current, parts[i])) return false;
        } else {
            current = current->ParentElement();
            while (current && !MatchesCompound(*current, parts[i])) current = current->ParentElement();
            if (!current) return false;
        }
    }
    return true;
}

std::wstring KeyOf(const CompoundSelector& c) {
    if (!c.id.empty()) return L"#" + c.id;
    if (!c.classes.empty()) return L"." + c.classes.front();
    if (!c.tag.empty()) return c.tag;
    return {};
}

// A number with its unit; false for anything else.
bool SplitNumber(std::wstring_view text, float& number, std::wstring& unit) {
    std::wstring s(text);
    wchar_t* end = nullptr;
    number = std::wcstof(s.c_str(), &end);
    if (end == s.c_str()) return false;
    unit = dom::LowerAscii(std::wstring_view(end));
    return true;
}

COLORREF Named(std::wstring_view name, bool& ok) {
    static const std::pair<const wchar_t*, COLORREF> kColors[] = {
        {L"black", RGB(0, 0, 0)}, {L"white", RGB(255, 255, 255)}, {L"red", RGB(255, 0, 0)},
        {L"green", RGB(0, 128, 0)}, {L"blue", RGB(0, 0, 255)}, {L"yellow", RGB(255, 255, 0)},
        {L"gray", RGB(128, 128, 128)}, {L"grey", RGB(128, 128, 128)}, {L"silver", RGB(192, 192, 192)},
        {L"maroon", RGB(128, 0, 0)}, {L"navy", RGB(0, 0, 128)}, {L"purple", RGB(128, 0, 128)},
        {L"teal", RGB(0, 128, 128)}, {L"olive", RGB(128, 128, 0)}, {L"lime", RGB(0, 255, 0)},
        {L"aqua", RGB(0, 255, 255)}, {L"cyan", RGB(0, 255, 255)}, {L"fuchsia", RGB(255, 0, 255)},
        {L"magenta", RGB(255, 0, 255)}, {L"orange", RGB(255, 165, 0)}, {L"pink", RGB(255, 192, 203)},
        {L"brown", RGB(165, 42, 42)}, {L"gold", RGB(255, 215, 0)}, {L"lightgrey", RGB(211, 211, 211)},
        {L"lightgray", RGB(211, 211, 211)}, {L"darkgray", RGB(169, 169, 169)}, {L"darkblue", RGB(0, 0, 139)},
        {L"darkred", RGB(139, 0, 0)}, {L"darkgreen", RGB(0, 100, 0)}, {L"lightblue", RGB(173, 216, 230)},
        {L"buttonface", GetSysColor(COLOR_BTNFACE)}, {L"window", GetSysColor(COLOR_WINDOW)},
        {L"windowtext", GetSysColor(COLOR_WINDOWTEXT)}, {L"highlight", GetSysColor(COLOR_HIGHLIGHT)},
    };
    for (const auto& [n, c] : kColors)
        if (dom::EqualsIgnoringCase(name, n)) {
            ok = true;
            return c;
        }
    ok = false;
    return 0;
}

Length ParseLength(std::wstring_view text, long fontSize, float zoom, bool allowAuto = true) {
    Length out;
    if (text.empty() || (allowAuto && dom::EqualsIgnoringCase(text, L"auto"))) return out;
    float n = 0;
    std::wstring unit;
    if (!SplitNumber(text, n, unit)) return out;
    if (unit == L"%") {
        out.unit = Length::Unit::Percent;
        out.value = n;
        return out;
    }
    float px = n;
    if (unit == L"pt") px = n * 4.0f / 3.0f;
    else if (unit == L"em") px = n * fontSize / zoom;
    else if (unit == L"ex") px = n * fontSize / zoom / 2.0f;
    else if (unit == L"in") px = n * 96.0f;
    else if (unit == L"cm") px = n * 96.0f / 2.54f;
    else if (unit == L"mm") px = n * 96.0f / 25.4f;
    else if (unit == L"pc") px = n * 16.0f;
    else if (!unit.empty() && unit != L"px") return out;
    out.unit = Length::Unit::Px;
    out.value = px * zoom;
    return out;
}

long BorderWidth(std::wstring_view text, float zoom) {
    if (dom::EqualsIgnoringCase(text, L"thin")) return std::max(1L, static_cast<long>(1 * zoom));
    if (dom::EqualsIgnoringCase(text, L"medium")) return static_cast<long>(3 * zoom);
    if (dom::EqualsIgnoringCase(text, L"thick")) return static_cast<long>(5 * zoom);
    return std::max(0L, ParseLength(text, 16, zoom, false).Resolve(0));
}

BorderStyle ParseBorderStyle(std::wstring_view t) {
    static const std::pair<const wchar_t*, BorderStyle> kStyles[] = {
        {L"solid", BorderStyle::Solid}, {L"dashed", BorderStyle::Dashed}, {L"dotted", BorderStyle::Dotted},
        {L"double", BorderStyle::Double}, {L"inset", BorderStyle::Inset}, {L"outset", BorderStyle::Outset},
        {L"groove", BorderStyle::Groove}, {L"ridge", BorderStyle::Ridge}};
    for (const auto& [n, s] : kStyles)
        if (dom::EqualsIgnoringCase(t, n)) return s;
    return BorderStyle::None;
}

Overflow ParseOverflow(std::wstring_view t) {
    if (dom::EqualsIgnoringCase(t, L"hidden")) return Overflow::Hidden;
    if (dom::EqualsIgnoringCase(t, L"scroll")) return Overflow::Scroll;
    if (dom::EqualsIgnoringCase(t, L"auto")) return Overflow::Auto;
    return Overflow::Visible;
}

Display ParseDisplay(std::wstring_view t) {
    static const std::pair<const wchar_t*, Display> kDisplays[] = {
        {L"none", Display::None}, {L"inline", Display::Inline}, {L"block", Display::Block},
        {L"list-item", Display::ListItem}, {L"inline-block", Display::InlineBlock}, {L"table", Display::Table},
        {L"inline-table", Display::InlineBlock}, {L"table-row-group", Display::TableRowGroup},
        {L"table-header-group", Display::TableRowGroup}, {L"table-footer-group", Display::TableRowGroup},
        {L"table-row", Display::TableRow}, {L"table-cell", Display::TableCell},
        {L"table-caption", Display::TableCaption}, {L"table-column", Display::TableColumn},
        {L"table-column-group", Display::TableColumn}};
    for (const auto& [n, d] : kDisplays)
        if (dom::EqualsIgnoringCase(t, n)) return d;
    return Display::Inline;
}

// url(foo.png), url("foo.png") → foo.png
std::wstring UrlOf(std::wstring_view value) {
    if (value.size() < 5 || !dom::EqualsIgnoringCase(value.substr(0, 4), L"url(")) return {};
    std::wstring_view inner = value.substr(4);
    if (const std::size_t close = inner.rfind(L')'); close != std::wstring_view::npos) inner = inner.substr(0, close);
    while (!inner.empty() && (inner.front() == L' ' || inner.front() == L'"' || inner.front() == L'\'')) inner.remove_prefix(1);
    while (!inner.empty() && (inner.back() == L' ' || inner.back() == L'"' || inner.back() == L'\'')) inner.remove_suffix(1);
    return std::wstring(inner);
}

const UserAgentRules& UserAgent() {
    static const UserAgentRules rules = [] {
        UserAgentRules r;
        r.rules = ParseStyleSheet(kUserAgentSheet);
        for (const auto& rule : r.rules) r.index[KeyOf(rule.selector.compounds.back())].push_back(&rule);
        return r;
    }();
    return rules;
}

bool IsStyleSheetLink(const dom::Element& e) {
    return e.Is(L"link") && dom::EqualsIgnoringCase(e.GetAttribute(L"rel"), L"stylesheet");
}

}  // namespace

std::optional<COLORREF> ParseColor(std::wstring_view text) {
    while (!text.empty() && text.front() == L' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == L' ') text.remove_suffix(1);
    if (text.empty()) return std::nullopt;
    auto hex = [](wchar_t c) -> int {
        if (c >= L'0' && c <= L'9') return c - L'0';
        if (c >= L'a' && c <= L'f') return c - L'a' + 10;
        if (c >= L'A' && c <= L'F') return c - L'A' + 10;
        return -1;
    };
    std::wstring_view digits = text.front() == L'#' ? text.substr(1) : text;
    const bool allHex = !digits.empty() && std::all_of(digits.begin(), digits.end(), [&](wchar_t c) { return hex(c) >= 0; });
    if (allHex && digits.size() == 3 && text.front() == L'#')
        return RGB(hex(digits[0]) * 17, hex(digits[1]) * 17, hex(digits[2]) * 17);
    // Attributes write colours without '#' ("ff0000") as often as with it.
    if (allHex && digits.size() == 6)
        return RGB(hex(digits[0]) * 16 + hex(digits[1]), hex(digits[2]) * 16 + hex(digits[3]), hex(digits[4]) * 16 + hex(digits[5]));
    if (text.size() > 4 && dom::EqualsIgnoringCase(text.substr(0, 4), L"rgb(")) {
        int parts[3] = {};
        std::wstring inner(text.substr(4));
        int index = 0;
        for (wchar_t* p = inner.data(); *p && index < 3;) {
            wchar_t* end = nullptr;
            const double v = std::wcstod(p, &end);
            if (end == p) {
                ++p;
                continue;
            }
            parts[index++] = std::clamp(static_cast<int>(*end == L'%' ? v * 2.55 + 0.5 : v), 0, 255);
            p = end;
        }
        if (index == 3) return RGB(parts[0], parts[1], parts[2]);
        return std::nullopt;
    }
    bool ok = false;
    const COLORREF named = Named(text, ok);
    if (ok) return named;
    return std::nullopt;
}

StyleResolver::StyleResolver(const dom::Document& document) : document_(document) {
    // The page's sheets in document order: <style> elements and loaded <link>s.
    for (const dom::Node* n = document.FirstChild(); n; n = n->NextInTree(&document)) {
        const dom::Element* e = n->AsElement();
        if (!e) continue;
        if (e->Is(L"style") && !e->HasAttribute(L"disabled")) {
            AddSheet(e->TextContent(), {}, authorSheets_);
        } else if (IsStyleSheetLink(*e) && !e->HasAttribute(L"disabled")) {
            const std::wstring url = e->ResolvedUrlAttribute(L"href");
            if (const std::wstring* text = document.LinkedStyleSheet(url)) AddSheet(*text, url, authorSheets_);
        }
    }
    for (const auto& sheet : authorSheets_) Index(*sheet, authorIndex_, authorUniversal_);
}

void StyleResolver::AddSheet(std::wstring_view text, const std::wstring& base,
                             std::vector<std::unique_ptr<std::vector<StyleRule>>>& into) {
    auto rules = std::make_unique<std::vector<StyleRule>>(ParseStyleSheet(text));
    // A linked sheet's addresses are relative to the sheet: written out whole
    // here, they resolve the same against the document later.
    if (!base.empty()) {
        for (StyleRule& rule : *rules)
            for (Declaration& d : rule.declarations)
                if (d.property == Property::BackgroundImage)
                    if (const std::wstring url = UrlOf(d.value); !url.empty()) d.value = L"url(" + ResolveUrl(base, url) + L")";
    }
    into.push_back(std::move(rules));
}

void StyleResolver::Index(const std::vector<StyleRule>& rules, std::unordered_map<std::wstring, std::vector<IndexedRule>>& byKey,
                          std::vector<IndexedRule>& universal) {
    for (const auto& rule : rules) {
        for (const auto& compound : rule.selector.compounds) usesHover_ = usesHover_ || compound.hover;
        const std::wstring key = KeyOf(rule.selector.compounds.back());
        (key.empty() ? universal : byKey[key]).push_back({&rule, order_++});
    }
}

void StyleResolver::Collect(const dom::Element& element, const std::unordered_map<std::wstring, std::vector<IndexedRule>>& byKey,
                            const std::vector<IndexedRule>& universal, std::vector<IndexedRule>& out) const {
    auto from = [&](const std::vector<IndexedRule>& list) {
        for (const auto& r : list)
            if (Matches(element, r.rule->selector)) out.push_back(r);
    };
    from(universal);
    if (byKey.empty()) return;
    if (auto it = byKey.find(element.LocalName()); it != byKey.end()) from(it->second);
    const std::wstring id = element.Id();
    if (!id.empty())
        if (auto it = byKey.find(L"#" + id); it != byKey.end()) from(it->second);
    const std::wstring classes = element.ClassName();
    std::size_t start = 0;
    std::vector<std::wstring> seen;
    while (start < classes.size()) {
        std::size_t end = classes.find_first_of(L" \t\r\n\f", start);
        if (end == std::wstring::npos) end = classes.size();
        if (end > start) {
            std::wstring name = classes.substr(start, end - start);
            if (std::find(seen.begin(), seen.end(), name) == seen.end()) {
                if (auto it = byKey.find(L"." + name); it != byKey.end()) from(it->second);
                seen.push_back(std::move(name));
            }
        }
        start = end + 1;
    }
}

const std::wstring* StyleResolver::Intern(std::wstring value) { return &*interned_.insert(std::move(value)).first; }

std::unique_ptr<ComputedStyle> StyleResolver::Compute(const dom::Element& element, const ComputedStyle* parent) {
    auto style = std::make_unique<ComputedStyle>();
    std::array<const std::wstring*, kPropertyCount>& values = style->values;
    values.fill(nullptr);
    std::array<bool, kPropertyCount> important{};
    auto apply = [&](const Declaration& d, bool fromImportantLayer) {
        const auto i = static_cast<std::size_t>(d.property);
        if (important[i] && !fromImportantLayer) return;
        values[i] = Intern(d.value);
        if (fromImportantLayer) important[i] = true;
    };

    // User agent, then attributes, then the page's rules by specificity and
    // order, then inline style; !important declarations of the page last.
    const UserAgentRules& ua = UserAgent();
    std::vector<const StyleRule*> uaMatched;
    for (const std::wstring& key : {std::wstring(), element.LocalName()}) {
        if (auto it = ua.index.find(key); it != ua.index.end())
            for (const StyleRule* rule : it->second)
                if (Matches(element, rule->selector)) uaMatched.push_back(rule);
    }
    std::stable_sort(uaMatched.begin(), uaMatched.end(), [](const StyleRule* a, const StyleRule* b) {
        return a->selector.specificity < b->selector.specificity;
    });
    for (const StyleRule* rule : uaMatched)
        for (const auto& d : rule->declarations) apply(d, false);

    std::vector<Declaration> hints;
    AttributeHints(element, hints);
    for (const auto& d : hints) apply(d, false);

    std::vector<IndexedRule> matched;
    Collect(element, authorIndex_, authorUniversal_, matched);
    std::sort(matched.begin(), matched.end(), [](const IndexedRule& a, const IndexedRule& b) {
        if (a.rule->selector.specificity != b.rule->selector.specificity)
            return a.rule->selector.specificity < b.rule->selector.specificity;
        return a.order < b.order;
    });
    for (const auto& r : matched)
        for (const auto& d : r.rule->declarations)
            if (!d.important) apply(d, false);
    const std::wstring* inlineText = element.FindAttribute(L"style");
    const std::vector<Declaration> inlineStyle = inlineText ? ParseDeclarations(*inlineText) : std::vector<Declaration>{};
    for (const auto& d : inlineStyle)
        if (!d.important) apply(d, false);
    for (const auto& r : matched)
        for (const auto& d : r.rule->declarations)
            if (d.important) apply(d, true);
    for (const auto& d : inlineStyle)
        if (d.important) apply(d, true);

    // Inheritance, and "inherit" written out.
    for (std::size_t i = 0; i < kPropertyCount; ++i) {
        const bool inherit = values[i] ? dom::EqualsIgnoringCase(*values[i], L"inherit") : IsInherited(static_cast<Property>(i));
        if (inherit) values[i] = parent ? parent->values[i] : nullptr;
    }
    Resolve(element, *style, parent);
    return style;
}

void StyleResolver::Resolve(const dom::Element& element, ComputedStyle& s, const ComputedStyle* parent) {
    auto text = [&](Property p) -> std::wstring_view {
        const std::wstring* v = s.values[static_cast<std::size_t>(p)];
        return v ? std::wstring_view(*v) : std::wstring_view();
    };
    auto is = [&](Property p, const wchar_t* word) { return dom::EqualsIgnoringCase(text(p), word); };

    // Zoom first: every length below is scaled by it.
    float zoom = parent ? parent->zoom : 1.0f;
    if (!text(Property::Zoom).empty() && !is(Property::Zoom, L"normal")) {
        float n = 0;
        std::wstring unit;
        if (SplitNumber(text(Property::Zoom), n, unit) && n > 0) zoom *= unit == L"%" ? n / 100.0f : n;
    }
    s.zoom = std::clamp(zoom, 0.05f, 20.0f);

    const long parentSize = parent ? parent->fontSize : static_cast<long>(16 * s.zoom);
    const std::wstring_view size = text(Property::FontSize);
    s.fontSize = parentSize;
    if (!size.empty() && parent) {
        // Inherited size is already zoomed; only this element's extra zoom applies.
        const float ownZoom = s.zoom / parent->zoom;
        static const std::pair<const wchar_t*, long> kKeywords[] = {
            {L"xx-small", 9}, {L"x-small", 10}, {L"small", 13}, {L"medium", 16}, {L"large", 18},
            {L"x-large", 24}, {L"xx-large", 32}};
        bool keyword = false;
        for (const auto& [n, px] : kKeywords)
            if (dom::EqualsIgnoringCase(size, n)) {
                s.fontSize = static_cast<long>(px * s.zoom);
                keyword = true;
            }
        if (dom::EqualsIgnoringCase(size, L"smaller")) s.fontSize = static_cast<long>(parentSize * 5 / 6 * ownZoom);
        else if (dom::EqualsIgnoringCase(size, L"larger")) s.fontSize = static_cast<long>(parentSize * 6 / 5 * ownZoom);
        else if (!keyword && size.find(L'%') != std::wstring_view::npos) {
            s.fontSize = static_cast<long>(parentSize * ParseLength(size, parentSize, 1).value / 100 * ownZoom);
        } else if (!keyword) {
            const Length l = ParseLength(size, static_cast<long>(parentSize / parent->zoom), s.zoom, false);
            if (l.unit == Length::Unit::Px) s.fontSize = l.Resolve(0);
        }
    } else if (!size.empty()) {
        const Length l = ParseLength(size, 16, s.zoom, false);
        if (l.unit == Length::Unit::Px) s.fontSize = l.Resolve(0);
    }
    s.fontSize = std::max(1L, s.fontSize);
    if (s.values[static_cast<std::size_t>(Property::FontSize)] == nullptr)
        s.values[static_cast<std::size_t>(Property::FontSize)] = Intern(std::to_wstring(s.fontSize) + L"px");

    const long em = s.fontSize;
    s.display = text(Property::Display).empty() ? Display::Inline : ParseDisplay(text(Property::Display));
    s.visible = !is(Property::Visibility, L"hidden");
    s.width = ParseLength(text(Property::Width), em, s.zoom);
    s.height = ParseLength(text(Property::Height), em, s.zoom);
    for (int i = 0; i < 4; ++i) {
        s.margin[i] = ParseLength(text(static_cast<Property>(static_cast<int>(Property::MarginTop) + i)), em, s.zoom);
        if (text(static_cast<Property>(static_cast<int>(Property::MarginTop) + i)).empty()) s.margin[i] = Length{Length::Unit::Px, 0};
        s.padding[i] = std::max(0L, ParseLength(text(static_cast<Property>(static_cast<int>(Property::PaddingTop) + i)), em, s.zoom).Resolve(0));
        s.borderStyle[i] = ParseBorderStyle(text(static_cast<Property>(static_cast<int>(Property::BorderTopStyle) + i)));
        const std::wstring_view width = text(static_cast<Property>(static_cast<int>(Property::BorderTopWidth) + i));
        s.borderWidth[i] = s.borderStyle[i] == BorderStyle::None ? 0 : BorderWidth(width.empty() ? L"medium" : width, s.zoom);
    }
    const std::wstring_view color = text(Property::Color);
    s.color = parent ? parent->color : RGB(0, 0, 0);
    if (auto c = ParseColor(color)) s.color = *c;
    for (int i = 0; i < 4; ++i) {
        const auto c = ParseColor(text(static_cast<Property>(static_cast<int>(Property::BorderTopColor) + i)));
        s.borderColor[i] = c ? *c : s.color;
    }
    if (auto c = ParseColor(text(Property::BackgroundColor))) s.background = *c;
    if (const std::wstring url = UrlOf(text(Property::BackgroundImage)); !url.empty()) s.backgroundImage = document_.ResolveUrl(url);

    s.fontFamily = text(Property::FontFamily).empty() ? L"宋体" : std::wstring(text(Property::FontFamily));
    if (const std::size_t comma = s.fontFamily.find(L','); comma != std::wstring::npos) s.fontFamily.resize(comma);
    std::erase_if(s.fontFamily, [](wchar_t c) { return c == L'"' || c == L'\''; });
    while (!s.fontFamily.empty() && s.fontFamily.back() == L' ') s.fontFamily.pop_back();
    while (!s.fontFamily.empty() && s.fontFamily.front() == L' ') s.fontFamily.erase(0, 1);

    const std::wstring_view weight = text(Property::FontWeight);
    s.fontWeight = parent ? parent->fontWeight : 400;
    if (dom::EqualsIgnoringCase(weight, L"bold") || dom::EqualsIgnoringCase(weight, L"bolder")) s.fontWeight = 700;
    else if (dom::EqualsIgnoringCase(weight, L"normal") || dom::EqualsIgnoringCase(weight, L"lighter")) s.fontWeight = 400;
    else if (IsNumber(weight)) s.fontWeight = _wtoi(std::wstring(weight).c_str());
    s.italic = is(Property::FontStyle, L"italic") || is(Property::FontStyle, L"oblique");

    // Decorations are drawn across the whole box and its inline content.
    s.underline = parent && parent->underline && !s.IsBlockLevel();
    s.lineThrough = parent && parent->lineThrough && !s.IsBlockLevel();
    const std::wstring_view decoration = text(Property::TextDecoration);
    if (decoration.find(L"underline") != std::wstring_view::npos) s.underline = true;
    if (decoration.find(L"line-through") != std::wstring_view::npos) s.lineThrough = true;
    if (dom::EqualsIgnoringCase(decoration, L"none")) s.underline = s.lineThrough = false;

    const std::wstring_view lineHeight = text(Property::LineHeight);
    if (!lineHeight.empty() && !dom::EqualsIgnoringCase(lineHeight, L"normal")) {
        if (IsNumber(lineHeight)) s.lineHeight = static_cast<long>(std::wcstof(std::wstring(lineHeight).c_str(), nullptr) * em);
        else s.lineHeight = ParseLength(lineHeight, em, s.zoom).Resolve(em);
    }
    if (is(Property::TextAlign, L"center") || is(Property::TextAlign, L"middle")) s.textAlign = TextAlign::Center;
    else if (is(Property::TextAlign, L"right")) s.textAlign = TextAlign::Right;
    else if (is(Property::TextAlign, L"justify")) s.textAlign = TextAlign::Justify;
    if (is(Property::WhiteSpace, L"pre")) s.whiteSpace = WhiteSpace::Pre;
    else if (is(Property::WhiteSpace, L"nowrap")) s.whiteSpace = WhiteSpace::NoWrap;
    if (is(Property::VerticalAlign, L"top") || is(Property::VerticalAlign, L"text-top")) s.verticalAlign = VerticalAlign::Top;
    else if (is(Property::VerticalAlign, L"middle")) s.verticalAlign = VerticalAlign::Middle;
    else if (is(Property::VerticalAlign, L"bottom") || is(Property::VerticalAlign, L"text-bottom")) s.verticalAlign = VerticalAlign::Bottom;
    s.listStyle = text(Property::ListStyleType).empty() ? L"disc" : dom::LowerAscii(text(Property::ListStyleType));
    s.overflowX = ParseOverflow(text(Property::OverflowX));
    s.overflowY = ParseOverflow(text(Property::OverflowY));
    if (is(Property::Position, L"relative")) s.position = Position::Relative;
    else if (is(Property::Position, L"absolute")) s.position = Position::Absolute;
    else if (is(Property::Position, L"fixed")) s.position = Position::Fixed;
    s.left = ParseLength(text(Property::Left), em, s.zoom);
    s.top = ParseLength(text(Property::Top), em, s.zoom);
    s.right = ParseLength(text(Property::Right), em, s.zoom);
    s.bottom = ParseLength(text(Property::Bottom), em, s.zoom);
    if (is(Property::Float, L"left")) s.floating = Float::Left;
    else if (is(Property::Float, L"right")) s.floating = Float::Right;
    if (is(Property::Clear, L"left")) s.clear = Clear::Left;
    else if (is(Property::Clear, L"right")) s.clear = Clear::Right;
    else if (is(Property::Clear, L"both")) s.clear = Clear::Both;

    // Floated and absolutely positioned boxes are blocks.
    if ((s.floating != Float::None || s.OutOfFlow()) && s.display != Display::None &&
        (s.display == Display::Inline || s.display == Display::TableRow || s.display == Display::TableCell))
        s.display = s.display == Display::Inline && (element.Is(L"img") || element.Is(L"input") || element.Is(L"select") ||
                                                     element.Is(L"textarea") || element.Is(L"button"))
                        ? Display::InlineBlock
                        : Display::Block;
    if (s.OutOfFlow()) s.floating = Float::None;
    if (element.Is(L"input") && element.Type() == L"hidden") s.display = Display::None;
}

}  // namespace corvalin::browser::layout
