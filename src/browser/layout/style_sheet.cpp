#include "browser/layout/style_sheet.h"

#include <algorithm>
#include <array>
#include <cwctype>
#include <optional>

#include "browser/dom/element.h"
#include "browser/layout/computed_style.h"

namespace corvalin::browser::layout {

namespace {

constexpr std::array<const wchar_t*, kPropertyCount> kNames{
    L"display", L"visibility", L"width", L"height",
    L"margin-top", L"margin-right", L"margin-bottom", L"margin-left",
    L"padding-top", L"padding-right", L"padding-bottom", L"padding-left",
    L"border-top-width", L"border-right-width", L"border-bottom-width", L"border-left-width",
    L"border-top-style", L"border-right-style", L"border-bottom-style", L"border-left-style",
    L"border-top-color", L"border-right-color", L"border-bottom-color", L"border-left-color",
    L"color", L"background-color", L"background-image",
    L"font-family", L"font-size", L"font-weight", L"font-style",
    L"text-align", L"text-decoration", L"line-height", L"white-space", L"vertical-align", L"list-style-type",
    L"overflow-x", L"overflow-y", L"position", L"left", L"top", L"right", L"bottom", L"float", L"clear", L"zoom"};

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\f'; }

std::wstring_view Trim(std::wstring_view s) {
    while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
    return s;
}

// Splits a value at white space outside parentheses and quotes.
std::vector<std::wstring> Tokens(std::wstring_view value) {
    std::vector<std::wstring> out;
    std::wstring current;
    int parens = 0;
    wchar_t quote = 0;
    for (wchar_t c : value) {
        if (quote) {
            current += c;
            if (c == quote) quote = 0;
            continue;
        }
        if (c == L'"' || c == L'\'') quote = c;
        if (c == L'(') ++parens;
        if (c == L')' && parens > 0) --parens;
        if (IsSpace(c) && parens == 0) {
            if (!current.empty()) out.push_back(std::move(current));
            current.clear();
            continue;
        }
        current += c;
    }
    if (!current.empty()) out.push_back(std::move(current));
    return out;
}

std::optional<Property> Find(std::wstring_view name) {
    for (std::size_t i = 0; i < kNames.size(); ++i)
        if (name == kNames[i]) return static_cast<Property>(i);
    return std::nullopt;
}

bool IsBorderStyle(std::wstring_view t) {
    for (const wchar_t* s : {L"none", L"hidden", L"solid", L"dashed", L"dotted", L"double", L"groove", L"ridge",
                             L"inset", L"outset"})
        if (dom::EqualsIgnoringCase(t, s)) return true;
    return false;
}

bool IsWidthToken(std::wstring_view t) {
    if (t.empty()) return false;
    if (dom::EqualsIgnoringCase(t, L"thin") || dom::EqualsIgnoringCase(t, L"medium") || dom::EqualsIgnoringCase(t, L"thick"))
        return true;
    return (t[0] >= L'0' && t[0] <= L'9') || t[0] == L'.' || t[0] == L'-';
}

bool IsSizeToken(std::wstring_view t) {
    for (const wchar_t* s : {L"xx-small", L"x-small", L"small", L"medium", L"large", L"x-large", L"xx-large",
                             L"smaller", L"larger"})
        if (dom::EqualsIgnoringCase(t, s)) return true;
    return !t.empty() && ((t[0] >= L'0' && t[0] <= L'9') || t[0] == L'.');
}

// top right bottom left from one to four values, as margin and padding spell them.
void FourSides(const std::vector<std::wstring>& v, Property first, bool important, std::vector<Declaration>& out) {
    if (v.empty() || v.size() > 4) return;
    const std::wstring& top = v[0];
    const std::wstring& right = v.size() > 1 ? v[1] : top;
    const std::wstring& bottom = v.size() > 2 ? v[2] : top;
    const std::wstring& left = v.size() > 3 ? v[3] : right;
    const auto base = static_cast<int>(first);
    out.push_back({static_cast<Property>(base), top, important});
    out.push_back({static_cast<Property>(base + 1), right, important});
    out.push_back({static_cast<Property>(base + 2), bottom, important});
    out.push_back({static_cast<Property>(base + 3), left, important});
}

// "1px solid red" for the sides from `first` to `last` (0 top .. 3 left).
void Border(const std::vector<std::wstring>& v, int first, int last, bool important, std::vector<Declaration>& out) {
    std::wstring width = L"medium", style = L"none", color;
    for (const auto& t : v) {
        if (IsBorderStyle(t)) style = t;
        // "00FF00" starts like a width but is a colour written without '#'.
        else if (IsWidthToken(t) && !ParseColor(t)) width = t;
        else color = t;
    }
    for (int side = first; side <= last; ++side) {
        out.push_back({static_cast<Property>(static_cast<int>(Property::BorderTopWidth) + side), width, important});
        out.push_back({static_cast<Property>(static_cast<int>(Property::BorderTopStyle) + side), style, important});
        // No colour given: the element's own colour, spelled as the initial value.
        out.push_back({static_cast<Property>(static_cast<int>(Property::BorderTopColor) + side),
                       color.empty() ? std::wstring(L"currentColor") : color, important});
    }
}

void Font(const std::vector<std::wstring>& v, bool important, std::vector<Declaration>& out) {
    std::wstring style = L"normal", weight = L"normal", size, lineHeight = L"normal", family;
    std::size_t i = 0;
    for (; i < v.size(); ++i) {
        const std::wstring& t = v[i];
        if (dom::EqualsIgnoringCase(t, L"italic") || dom::EqualsIgnoringCase(t, L"oblique")) style = t;
        else if (dom::EqualsIgnoringCase(t, L"bold") || dom::EqualsIgnoringCase(t, L"bolder") ||
                 dom::EqualsIgnoringCase(t, L"lighter") || (t.size() == 3 && t[1] == L'0' && t[2] == L'0'))
            weight = t;
        else if (dom::EqualsIgnoringCase(t, L"normal") || dom::EqualsIgnoringCase(t, L"small-caps")) continue;
        else if (IsSizeToken(t)) {
            const std::size_t slash = t.find(L'/');
            size = t.substr(0, slash);
            if (slash != std::wstring::npos) lineHeight = t.substr(slash + 1);
            ++i;
            break;
        } else {
            return;   // not a font shorthand CSS accepts
        }
    }
    if (size.empty()) return;
    if (i < v.size() && v[i].size() > 1 && v[i][0] == L'/') lineHeight = v[i++].substr(1);
    else if (i < v.size() && v[i] == L"/" && i + 1 < v.size()) {
        lineHeight = v[i + 1];
        i += 2;
    }
    for (; i < v.size(); ++i) family += (family.empty() ? L"" : L" ") + v[i];
    out.push_back({Property::FontStyle, style, important});
    out.push_back({Property::FontWeight, weight, important});
    out.push_back({Property::FontSize, size, important});
    out.push_back({Property::LineHeight, lineHeight, important});
    if (!family.empty()) out.push_back({Property::FontFamily, family, important});
}

void Background(const std::vector<std::wstring>& v, bool important, std::vector<Declaration>& out) {
    std::wstring color = L"transparent", image = L"none";
    for (const auto& t : v) {
        if (t.size() > 4 && dom::EqualsIgnoringCase(std::wstring_view(t).substr(0, 4), L"url(")) image = t;
        else if (dom::EqualsIgnoringCase(t, L"none")) image = t;
        else if (t[0] == L'#' || dom::EqualsIgnoringCase(std::wstring_view(t).substr(0, std::min<size_t>(4, t.size())), L"rgb(") ||
                 (iswalpha(t[0]) && !dom::EqualsIgnoringCase(t, L"repeat") && !dom::EqualsIgnoringCase(t, L"no-repeat") &&
                  !dom::EqualsIgnoringCase(t, L"repeat-x") && !dom::EqualsIgnoringCase(t, L"repeat-y") &&
                  !dom::EqualsIgnoringCase(t, L"scroll") && !dom::EqualsIgnoringCase(t, L"fixed") &&
                  !dom::EqualsIgnoringCase(t, L"top") && !dom::EqualsIgnoringCase(t, L"left") &&
                  !dom::EqualsIgnoringCase(t, L"right") && !dom::EqualsIgnoringCase(t, L"bottom") &&
                  !dom::EqualsIgnoringCase(t, L"center")))
            color = t;
    }
    out.push_back({Property::BackgroundColor, color, important});
    out.push_back({Property::BackgroundImage, image, important});
}

void SkipComment(std::wstring_view text, std::size_t& i) {
    const std::size_t end = text.find(L"*/", i + 2);
    i = end == std::wstring_view::npos ? text.size() : end + 2;
}

bool IsNameChar(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'-' ||
           c == L'_' || c >= 0x80;
}

// "@media screen, print" and the like: true when one of the media is the screen or all.
bool ScreenMedia(std::wstring_view atRule) {
    if (atRule.size() < 6 || !dom::EqualsIgnoringCase(atRule.substr(0, 6), L"@media")) return false;
    std::wstring_view media = atRule.substr(6);
    while (!media.empty()) {
        const std::size_t comma = media.find(L',');
        const std::wstring_view medium = Trim(media.substr(0, comma));
        if (dom::EqualsIgnoringCase(medium, L"screen") || dom::EqualsIgnoringCase(medium, L"all")) return true;
        if (comma == std::wstring_view::npos) break;
        media.remove_prefix(comma + 1);
    }
    return false;
}

}  // namespace

const wchar_t* PropertyName(Property property) { return kNames[static_cast<std::size_t>(property)]; }

std::wstring ScriptName(Property property) {
    std::wstring out;
    bool upper = false;
    for (const wchar_t* p = PropertyName(property); *p; ++p) {
        if (*p == L'-') {
            upper = true;
            continue;
        }
        out += upper ? static_cast<wchar_t>(towupper(*p)) : *p;
        upper = false;
    }
    return out;
}

bool IsInherited(Property p) {
    switch (p) {
    case Property::Visibility: case Property::Color: case Property::FontFamily: case Property::FontSize:
    case Property::FontWeight: case Property::FontStyle: case Property::TextAlign: case Property::LineHeight:
    case Property::WhiteSpace: case Property::ListStyleType:
        return true;
    default:
        return false;
    }
}

void ExpandDeclaration(std::wstring_view rawName, std::wstring_view rawValue, bool important, std::vector<Declaration>& out) {
    const std::wstring name = dom::LowerAscii(Trim(rawName));
    std::wstring_view value = Trim(rawValue);
    if (value.empty()) return;
    if (const auto p = Find(name)) {
        out.push_back({*p, std::wstring(value), important});
        return;
    }
    const auto v = Tokens(value);
    if (name == L"margin") FourSides(v, Property::MarginTop, important, out);
    else if (name == L"padding") FourSides(v, Property::PaddingTop, important, out);
    else if (name == L"border-width") FourSides(v, Property::BorderTopWidth, important, out);
    else if (name == L"border-style") FourSides(v, Property::BorderTopStyle, important, out);
    else if (name == L"border-color") FourSides(v, Property::BorderTopColor, important, out);
    else if (name == L"border") Border(v, 0, 3, important, out);
    else if (name == L"border-top") Border(v, 0, 0, important, out);
    else if (name == L"border-right") Border(v, 1, 1, important, out);
    else if (name == L"border-bottom") Border(v, 2, 2, important, out);
    else if (name == L"border-left") Border(v, 3, 3, important, out);
    else if (name == L"font") Font(v, important, out);
    else if (name == L"background") Background(v, important, out);
    else if (name == L"overflow") {
        out.push_back({Property::OverflowX, std::wstring(value), important});
        out.push_back({Property::OverflowY, std::wstring(value), important});
    } else if (name == L"list-style") {
        for (const auto& t : v)
            if (!dom::EqualsIgnoringCase(t, L"inside") && !dom::EqualsIgnoringCase(t, L"outside") && t.find(L'(') == std::wstring::npos)
                out.push_back({Property::ListStyleType, t, important});
    } else if (name == L"float" || name == L"style-float" || name == L"css-float") {
        out.push_back({Property::Float, std::wstring(value), important});
    }
}

std::vector<Declaration> ParseDeclarations(std::wstring_view text) {
    std::vector<Declaration> out;
    for (const auto& property : dom::ParseStyleDeclarations(text)) {
        std::wstring_view value = property.value;
        const bool important = dom::SplitImportant(value);
        ExpandDeclaration(property.name, value, important, out);
    }
    return out;
}

bool ParseSelectorList(std::wstring_view text, std::vector<Selector>& out) {
    std::vector<Selector> parsed;
    Selector selector;
    CompoundSelector compound;
    bool inCompound = false;
    wchar_t pending = 0;
    unsigned ids = 0, classes = 0, tags = 0;
    auto endCompound = [&] {
        if (!inCompound) return;
        compound.combinator = selector.compounds.empty() ? 0 : (pending ? pending : L' ');
        selector.compounds.push_back(std::move(compound));
        compound = CompoundSelector{};
        inCompound = false;
        pending = 0;
    };
    auto endSelector = [&] {
        endCompound();
        if (selector.compounds.empty()) return false;
        selector.specificity = (std::min(ids, 255u) << 16) | (std::min(classes, 255u) << 8) | std::min(tags, 255u);
        parsed.push_back(std::move(selector));
        selector = Selector{};
        ids = classes = tags = 0;
        return true;
    };
    auto readName = [&](std::size_t& i) {
        std::wstring name;
        while (i < text.size() && IsNameChar(text[i])) name += text[i++];
        return name;
    };
    for (std::size_t i = 0; i < text.size();) {
        const wchar_t c = text[i];
        if (IsSpace(c)) {
            endCompound();
            ++i;
        } else if (c == L'>' || c == L'+' || c == L'~') {
            if (c != L'>') return false;   // sibling combinators: not understood
            endCompound();
            if (selector.compounds.empty() || pending) return false;
            pending = L'>';
            ++i;
        } else if (c == L',') {
            if (!endSelector()) return false;
            ++i;
        } else if (c == L'*') {
            inCompound = true;
            ++i;
        } else if (c == L'#' || c == L'.') {
            ++i;
            const std::wstring name = readName(i);
            if (name.empty()) return false;
            inCompound = true;
            if (c == L'#') {
                compound.id = name;
                ++ids;
            } else {
                compound.classes.push_back(name);
                ++classes;
            }
        } else if (c == L':') {
            ++i;
            const std::wstring name = dom::LowerAscii(readName(i));
            inCompound = true;
            ++classes;
            if (name == L"link") compound.link = true;
            else if (name == L"visited") compound.visited = true;
            else if (name == L"hover") compound.hover = true;
            // :active and :focus match nothing here; the rule still counts.
            else if (name == L"active" || name == L"focus") compound.unstyled = true;
            else return false;
        } else if (IsNameChar(c)) {
            compound.tag = dom::LowerAscii(readName(i));
            inCompound = true;
            ++tags;
        } else {
            return false;
        }
    }
    if (!endSelector()) return false;
    for (auto& s : parsed) out.push_back(std::move(s));
    return true;
}

std::vector<StyleRule> ParseStyleSheet(std::wstring_view text) {
    std::vector<StyleRule> rules;
    std::size_t i = 0;
    std::wstring prelude;
    while (i < text.size()) {
        const wchar_t c = text[i];
        if (c == L'/' && i + 1 < text.size() && text[i + 1] == L'*') {
            SkipComment(text, i);
            continue;
        }
        // Sheets written inside <style> are often wrapped in <!-- -->.
        if (text.substr(i, 4) == L"<!--") { i += 4; continue; }
        if (text.substr(i, 3) == L"-->") { i += 3; continue; }
        if (c == L'@') {
            // Rules for the screen (or every medium) apply; other at-rules are
            // skipped to the end of their block or statement.
            const std::size_t open = text.find_first_of(L";{", i);
            if (open != std::wstring_view::npos && text[open] == L'{' && ScreenMedia(text.substr(i, open - i))) {
                std::size_t end = open + 1;
                for (int depth = 1; end < text.size(); ++end) {
                    if (text[end] == L'{') ++depth;
                    if (text[end] == L'}' && --depth == 0) break;
                }
                for (auto& rule : ParseStyleSheet(text.substr(open + 1, end - open - 1))) rules.push_back(std::move(rule));
                i = end + 1;
                prelude.clear();
                continue;
            }
            int depth = 0;
            for (; i < text.size(); ++i) {
                if (text[i] == L';' && depth == 0) { ++i; break; }
                if (text[i] == L'{') ++depth;
                if (text[i] == L'}' && --depth <= 0) { ++i; break; }
            }
            prelude.clear();
            continue;
        }
        if (c == L'{') {
            std::size_t end = i + 1;
            std::wstring body;
            while (end < text.size() && text[end] != L'}') {
                if (text[end] == L'/' && end + 1 < text.size() && text[end + 1] == L'*') {
                    SkipComment(text, end);
                    continue;
                }
                body += text[end++];
            }
            std::vector<Selector> selectors;
            if (ParseSelectorList(Trim(prelude), selectors)) {
                const auto declarations = ParseDeclarations(body);
                for (auto& s : selectors) rules.push_back({std::move(s), declarations});
            }
            prelude.clear();
            i = end + 1;
            continue;
        }
        if (c == L'}') {   // a stray close brace ends nothing
            prelude.clear();
            ++i;
            continue;
        }
        prelude += c;
        ++i;
    }
    return rules;
}

}  // namespace corvalin::browser::layout
