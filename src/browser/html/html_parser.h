// HTML text to our node tree, through libxml2's HTML parser (recover mode, no
// network). Any input gives a tree with <html>, <head> and <body>.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "browser/dom/document.h"

namespace corvalin::browser::html {

// Replaces the children of `document` with the parsed page.
void ParseDocument(dom::Document& document, std::wstring_view markup);

// A new document at `url` holding the parsed page.
dom::Ref<dom::Document> ParseDocument(std::wstring_view markup, std::wstring url);

// Nodes of a fragment (innerHTML and friends), owned by `document`, not yet in
// the tree. `context` is the element the fragment goes into: inside a <select>
// or a table the fragment is parsed in that setting.
// `leftOpen`, when given, tells whether the markup ended inside an element it
// opened (its end tag still to come).
std::vector<dom::Ref<dom::Node>> ParseFragment(dom::Document& document, std::wstring_view markup,
                                               const dom::Element* context = nullptr, bool* leftOpen = nullptr);

}  // namespace corvalin::browser::html
