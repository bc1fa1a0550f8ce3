// A document as the indented tree that html5lib's tree-construction tests
// use: "| <html>", "|   <head>", attributes as "|     name=\"value\"" sorted
// by name, text as "|   \"text\"", comments as "| <!-- text -->".
#pragma once
#include <string>

namespace corvalin::browser::dom { class Document; }

namespace corvalin::page_driver {

// UTF-8 lines, each ending with "\n".
std::string DomTree(const browser::dom::Document& document);

}  // namespace corvalin::page_driver
