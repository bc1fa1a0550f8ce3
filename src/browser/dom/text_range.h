// A stretch of a document's text between two points, as the browser's text
// ranges work on it: find text, replace it with markup, move the ends by
// characters. Points sit in text nodes; script, style and title text is not
// part of any range.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "browser/dom/element.h"

namespace corvalin::browser::dom {

// What the ends of a range move or expand by: characters, words (with the
// spaces after them), sentences, or the whole scope ("textedit").
enum class TextUnit { Character, Word, Sentence, TextEdit };
// The unit a name gives (any case); nothing for a name the browser refuses.
std::optional<TextUnit> TextUnitFromName(std::wstring_view name);

// One end of a range in its text: a text node and an offset in its data.
struct TextPoint {
    const Node* text = nullptr;
    std::size_t offset = 0;
};

class TextRange {
public:
    // All text inside `scope` (the body for body.createTextRange()).
    explicit TextRange(Element& scope);

    Element& Scope() const { return *scope_; }
    bool Collapsed() const;
    std::wstring Text() const;

    // Searches from the start (to the end of the range, or of the scope when
    // the range is collapsed), case-insensitively; a match becomes the range.
    bool Find(std::wstring_view text);
    // Replaces the range's text with the nodes `make` answers for the node
    // they go into; the range collapses after them. (Markup is parsed by the
    // caller: the tree knows no parser.)
    using NodeMaker = std::function<std::vector<Ref<Node>>(Node& parent)>;
    void ReplaceWith(const NodeMaker& make);
    void SetText(std::wstring_view text);   // plain text, no markup

    // Move by units; returns how many units it moved. A start past the end
    // drags the end along (and the other way round).
    long MoveStart(long count, TextUnit unit = TextUnit::Character);
    long MoveEnd(long count, TextUnit unit = TextUnit::Character);
    // Collapses to the start, then moves it.
    long Move(long count, TextUnit unit = TextUnit::Character);
    // Grows to whole units; true when the range changed.
    bool Expand(TextUnit unit);
    void Collapse(bool toStart);
    // -1, 0 or 1 as one end of this range lies before, at or after one end of `other`.
    int CompareEndPoints(bool thisStart, const TextRange& other, bool otherStart) const;
    // Puts one end of this range where one end of `other` is; the other end
    // follows when they would cross.
    void SetEndPoint(bool thisStart, const TextRange& other, bool otherStart);
    // From one point to the other, whichever comes first.
    void SetPoints(TextPoint anchor, TextPoint focus);
    // The word at a point, without the spaces after it (a double click's selection).
    void SelectWordAt(TextPoint point);
    // The characters of each text node the range covers: [from, to) of its data.
    struct NodeSpan {
        const Node* text;
        std::size_t from, to;
    };
    std::vector<NodeSpan> CoveredSpans() const;
    void SelectAll();                 // the whole scope again
    void MoveToElementText(Element& element);
    Element* ParentElement() const;   // the element holding the range's start

private:
    struct Flat {
        std::vector<Node*> texts;
        std::vector<std::size_t> starts;   // global index of each text node's first character
        std::wstring all;
    };
    struct Point {
        Ref<Node> text;   // nullptr: the end of the scope
        std::size_t offset = 0;
    };
    Flat Flatten() const;
    std::size_t Global(const Flat& flat, const Point& p) const;
    Point At(const Flat& flat, std::size_t global) const;
    void SetFrom(const Flat& flat, std::size_t start, std::size_t end);
    std::size_t GlobalOf(const Flat& flat, TextPoint point) const;

    Ref<Element> scope_;
    Point startPoint_;
    Point endPoint_;
};

}  // namespace corvalin::browser::dom
