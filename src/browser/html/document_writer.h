// document.open / write / writeln / close.
//
// Written while a script of the load runs (the document's current script is
// set): the markup goes in right after that script, in the order written.
// Written at any other time: the document is opened (emptied) and the text
// collects until close, which parses it as the new page.
#pragma once
#include <string_view>

#include "browser/dom/document.h"

namespace corvalin::browser::html {

void OpenDocument(dom::Document& document);
void WriteDocument(dom::Document& document, std::wstring_view markup);
void CloseDocument(dom::Document& document);

}  // namespace corvalin::browser::html
