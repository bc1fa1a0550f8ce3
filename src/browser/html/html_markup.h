// Markup of elements as the browser control gives and takes it: upper-case
// tag names, attribute values quoted only when they need it, control state as
// it is now (current value, checked).
#pragma once
#include <string>
#include <string_view>

#include "browser/dom/element.h"

namespace corvalin::browser::html {

std::wstring InnerHtml(const dom::Node& node);
std::wstring OuterHtml(const dom::Node& node);

// Writes fail (false) where the browser refuses them: the element's content
// model can't hold markup (<br>, <input>...), or outerHTML of an element
// without a parent.
bool SetInnerHtml(dom::Element& element, std::wstring_view markup);
bool SetOuterHtml(dom::Element& element, std::wstring_view markup);

// where: "beforeBegin", "afterBegin", "beforeEnd", "afterEnd" (any case).
bool InsertAdjacentHtml(dom::Element& element, std::wstring_view where, std::wstring_view markup);
bool InsertAdjacentText(dom::Element& element, std::wstring_view where, std::wstring_view text);

}  // namespace corvalin::browser::html
