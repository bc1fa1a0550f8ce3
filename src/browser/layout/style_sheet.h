// Style sheets: selectors and declarations as the cascade needs them. Shorthands
// (margin, border, font, background...) are expanded into the longhands the
// layout reads while parsing, so the cascade only ever sees longhands.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvalin::browser::layout {

enum class Property : std::uint8_t {
    Display, Visibility, Width, Height,
    MarginTop, MarginRight, MarginBottom, MarginLeft,
    PaddingTop, PaddingRight, PaddingBottom, PaddingLeft,
    BorderTopWidth, BorderRightWidth, BorderBottomWidth, BorderLeftWidth,
    BorderTopStyle, BorderRightStyle, BorderBottomStyle, BorderLeftStyle,
    BorderTopColor, BorderRightColor, BorderBottomColor, BorderLeftColor,
    Color, BackgroundColor, BackgroundImage,
    FontFamily, FontSize, FontWeight, FontStyle,
    TextAlign, TextDecoration, LineHeight, WhiteSpace, VerticalAlign, ListStyleType,
    OverflowX, OverflowY, Position, Left, Top, Right, Bottom, Float, Clear, Zoom,
    Count
};
constexpr std::size_t kPropertyCount = static_cast<std::size_t>(Property::Count);

// The CSS name ("margin-top") and the script name ("marginTop").
const wchar_t* PropertyName(Property property);
std::wstring ScriptName(Property property);
bool IsInherited(Property property);

struct Declaration {
    Property property;
    std::wstring value;
    bool important = false;
};

// Parses a declaration block ("color: red; margin: 0 4px"), shorthands expanded.
std::vector<Declaration> ParseDeclarations(std::wstring_view text);
// One declaration, expanded; unknown properties give nothing.
void ExpandDeclaration(std::wstring_view name, std::wstring_view value, bool important, std::vector<Declaration>& out);

// One compound selector: tag, id, classes and the pseudo-classes links use.
struct CompoundSelector {
    std::wstring tag;   // lower case; empty for any
    std::wstring id;
    std::vector<std::wstring> classes;
    bool link = false;       // an unvisited link
    bool visited = false;
    bool hover = false;      // the element under the mouse or one of its ancestors
    bool unstyled = false;   // :active, :focus: states not styled here, never match
    wchar_t combinator = 0;   // to the compound on its left: ' ' descendant, '>' child, 0 for the first
};

struct Selector {
    std::vector<CompoundSelector> compounds;   // left to right
    std::uint32_t specificity = 0;             // ids << 16 | classes << 8 | tags
};

struct StyleRule {
    Selector selector;
    std::vector<Declaration> declarations;
};

// Parses selectors like "div.note > a:link, #menu li"; false when any part is
// not understood (the rule is then dropped, as CSS asks).
bool ParseSelectorList(std::wstring_view text, std::vector<Selector>& out);

// Rules in source order; at-rules and comments skipped, malformed rules dropped.
std::vector<StyleRule> ParseStyleSheet(std::wstring_view text);

}  // namespace corvalin::browser::layout
