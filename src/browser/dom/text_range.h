// A stretch of a document's text between two points, as the browser's text
// ranges work on it: find text, replace it with markup, move the ends by
// characters. Points sit in text nodes; script, style and title text is not
// part of any range.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "browser/dom/element.h"

namespace corvalin::browser::dom {

class TextRange {
public:
    // All text inside `scope` (the body for body.createTextRange()).
    explicit TextRange(Element& scope);

    Element& Scope() const { return *scope_; }
    bool Collapsed() const;
    std::wstring Text() const;
    std::wstring HtmlText() const;   // the text as markup (escaped)

    // Searches from the start (to the end of the range, or of the scope when
    // the range is collapsed), case-insensitively; a match becomes the range.
    bool Find(std::wstring_view text);
    // Replaces the range's text with the markup; the range collapses after it.
    void PasteHtml(std::wstring_view markup);
    void SetText(std::wstring_view text);

    // Move by characters; returns how far it moved. A start past the end
    // drags the end along (and the other way round).
    long MoveStart(long count);
    long MoveEnd(long count);
    void Collapse(bool toStart);
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

    Ref<Element> scope_;
    Point startPoint_;
    Point endPoint_;
};

}  // namespace corvalin::browser::dom
