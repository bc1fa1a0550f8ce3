// Markup of elements as the browser control gives and takes it: upper-case
// tag names, attribute values quoted only when they need it, control state as
// it is now (current value, checked).
#pragma once
#include <functional>
#include <string>
#include <utility>
#include <string_view>

#include "browser/dom/element.h"

namespace corvalin::browser::html {

std::wstring InnerHtml(const dom::Node& node);
std::wstring OuterHtml(const dom::Node& node);

// The markup of part of a node's children, as a text range gives it: each
// text node cut to the characters `textSlice` answers ([from, to) of its
// data), and only the elements `keep` answers true for, with their tags.
struct MarkupSlice {
    std::function<std::pair<std::size_t, std::size_t>(const dom::Node& text)> textSlice;
    std::function<bool(const dom::Element& element)> keep;
};
std::wstring SliceHtml(const dom::Node& root, const MarkupSlice& slice);

// Where the browser refuses writes: innerHTML and innerText of a table part
// (<table>, <tbody>, <tr>, <col>...) or of <html>, <head>, <title>, <style>;
// outerHTML and outerText of a table's inner parts (<tr>, <td>, <caption>...),
// of <html> or <frameset>, or of an element without a parent.
bool ContentIsReadOnly(const dom::Element& element);
bool OuterIsReadOnly(const dom::Element& element);

// Writes fail (false) where the browser refuses them (above), or where the
// element's content model can't hold markup (<br>, <input>...).
bool SetInnerHtml(dom::Element& element, std::wstring_view markup);
bool SetOuterHtml(dom::Element& element, std::wstring_view markup);

// where: "beforeBegin", "afterBegin", "beforeEnd", "afterEnd" (any case).
bool InsertAdjacentHtml(dom::Element& element, std::wstring_view where, std::wstring_view markup);
bool InsertAdjacentText(dom::Element& element, std::wstring_view where, std::wstring_view text);

}  // namespace corvalin::browser::html
