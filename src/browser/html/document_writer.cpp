#include "browser/html/document_writer.h"

#include "browser/html/html_parser.h"

namespace corvalin::browser::html {

void OpenDocument(dom::Document& document) {
    document.RemoveAllChildren();
    document.WriteBuffer().clear();
    document.SetOpenForWriting(true);
}

void WriteDocument(dom::Document& document, std::wstring_view markup) {
    dom::Element* script = document.CurrentScript();
    if (!document.OpenForWriting() && script && script->Parent()) {
        dom::Node* after = document.WriteCursor() && document.WriteCursor()->Parent() == script->Parent()
                               ? document.WriteCursor()
                               : script;
        dom::Node* parent = after->Parent();
        auto nodes = ParseFragment(document, markup, parent->AsElement());
        dom::Node* before = after->NextSibling();
        for (auto& n : nodes) {
            parent->InsertBefore(n, before);
            document.SetWriteCursor(n.get());
        }
        return;
    }
    if (!document.OpenForWriting()) OpenDocument(document);
    document.WriteBuffer() += markup;
    // The browser shows what was written at once, before any close.
    ParseDocument(document, document.WriteBuffer());
}

void CloseDocument(dom::Document& document) {
    if (!document.OpenForWriting()) return;
    std::wstring markup = std::move(document.WriteBuffer());
    document.WriteBuffer().clear();
    document.SetOpenForWriting(false);
    ParseDocument(document, markup);
}

}  // namespace corvalin::browser::html
