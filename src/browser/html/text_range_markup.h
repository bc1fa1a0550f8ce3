// A text range's markup: what htmlText reads and pasteHTML writes.
#pragma once
#include <string>
#include <string_view>

#include "browser/dom/text_range.h"

namespace corvalin::browser::html {

// The range's text as markup: the elements it passes through with their
// tags, inside the innermost element holding the whole range.
std::wstring RangeHtml(const dom::TextRange& range);

// Replaces the range's text with the markup, parsed where it goes; the range
// collapses after it.
void PasteHtml(dom::TextRange& range, std::wstring_view markup);

}  // namespace corvalin::browser::html
