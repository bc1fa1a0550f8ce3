// Computed style: the cascade of the user-agent sheet, presentational
// attributes, the document's sheets and inline style, with inheritance, turned
// into the values the layout and the painter read. Lengths are in device
// pixels with the element's zoom applied.
#pragma once
#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "browser/dom/document.h"
#include "browser/layout/style_sheet.h"

namespace corvalin::browser::layout {

enum class Display : std::uint8_t { None, Inline, Block, ListItem, InlineBlock, Table, TableRowGroup, TableRow, TableCell, TableCaption, TableColumn };
enum class Position : std::uint8_t { Static, Relative, Absolute, Fixed };
enum class Float : std::uint8_t { None, Left, Right };
enum class Clear : std::uint8_t { None, Left, Right, Both };
enum class Overflow : std::uint8_t { Visible, Hidden, Scroll, Auto };
enum class TextAlign : std::uint8_t { Left, Right, Center, Justify };
enum class WhiteSpace : std::uint8_t { Normal, Pre, NoWrap };
enum class VerticalAlign : std::uint8_t { Baseline, Top, Middle, Bottom };
enum class BorderStyle : std::uint8_t { None, Solid, Dashed, Dotted, Double, Inset, Outset, Groove, Ridge };

constexpr COLORREF kTransparent = 0xFF000000;

struct Length {
    enum class Unit : std::uint8_t { Auto, Px, Percent } unit = Unit::Auto;
    float value = 0;
    bool IsAuto() const { return unit == Unit::Auto; }
    // Pixels against `base` for percentages; `fallback` when auto.
    long Resolve(long base, long fallback = 0) const {
        if (unit == Unit::Px) return static_cast<long>(value + (value >= 0 ? 0.5f : -0.5f));
        if (unit == Unit::Percent) return static_cast<long>(base * value / 100.0f);
        return fallback;
    }
};

struct ComputedStyle {
    Display display = Display::Inline;
    bool visible = true;
    Length width, height;
    std::array<Length, 4> margin;            // top right bottom left
    std::array<long, 4> padding{};
    std::array<long, 4> borderWidth{};        // zero where the style is none
    std::array<BorderStyle, 4> borderStyle{};
    std::array<COLORREF, 4> borderColor{};
    COLORREF color = RGB(0, 0, 0);
    COLORREF background = kTransparent;
    std::wstring backgroundImage;             // resolved address; empty for none
    std::wstring fontFamily;
    long fontSize = 16;
    int fontWeight = 400;
    bool italic = false;
    bool underline = false;
    bool lineThrough = false;
    long lineHeight = 0;                      // 0: the font's own
    TextAlign textAlign = TextAlign::Left;
    WhiteSpace whiteSpace = WhiteSpace::Normal;
    VerticalAlign verticalAlign = VerticalAlign::Baseline;
    std::wstring listStyle;                    // "disc", "decimal", "none"...
    Overflow overflowX = Overflow::Visible;
    Overflow overflowY = Overflow::Visible;
    Position position = Position::Static;
    Length left, top, right, bottom;
    Float floating = Float::None;
    Clear clear = Clear::None;
    float zoom = 1.0f;                         // this element's and its ancestors', multiplied
    // The cascaded text of every property (what currentStyle answers).
    std::array<const std::wstring*, kPropertyCount> values{};

    bool IsBlockLevel() const {
        return display == Display::Block || display == Display::ListItem || display == Display::Table ||
               display == Display::TableCaption || display == Display::TableRowGroup || display == Display::TableRow;
    }
    bool Positioned() const { return position != Position::Static; }
    bool OutOfFlow() const { return position == Position::Absolute || position == Position::Fixed; }
};

// The sheets of one document, parsed, and the styles computed from them.
class StyleResolver {
public:
    explicit StyleResolver(const dom::Document& document);

    // Style of `element` given its parent's (nullptr for the root).
    std::unique_ptr<ComputedStyle> Compute(const dom::Element& element, const ComputedStyle* parent);
    // Some rule of the page depends on the element under the mouse: moving it
    // means computing styles again.
    bool UsesHover() const { return usesHover_; }

private:
    struct IndexedRule {
        const StyleRule* rule;
        unsigned order;
    };
    // `base` is the sheet's own address for a linked sheet, empty for a sheet
    // written in the document (its addresses resolve against the document).
    void AddSheet(std::wstring_view text, const std::wstring& base, std::vector<std::unique_ptr<std::vector<StyleRule>>>& into);
    void Index(const std::vector<StyleRule>& rules, std::unordered_map<std::wstring, std::vector<IndexedRule>>& byKey,
               std::vector<IndexedRule>& universal);
    void Collect(const dom::Element& element, const std::unordered_map<std::wstring, std::vector<IndexedRule>>& byKey,
                 const std::vector<IndexedRule>& universal, std::vector<IndexedRule>& out) const;
    const std::wstring* Intern(std::wstring value);
    void Resolve(const dom::Element& element, ComputedStyle& style, const ComputedStyle* parent);

    const dom::Document& document_;
    std::vector<std::unique_ptr<std::vector<StyleRule>>> authorSheets_;
    std::unordered_map<std::wstring, std::vector<IndexedRule>> authorIndex_;
    std::vector<IndexedRule> authorUniversal_;
    std::unordered_set<std::wstring> interned_;
    unsigned order_ = 0;
    bool usesHover_ = false;
};

// Colours as CSS and HTML attributes write them ("#f00", "red", "rgb(1,2,3)");
// nothing for what is not a colour.
std::optional<COLORREF> ParseColor(std::wstring_view text);

}  // namespace corvalin::browser::layout
