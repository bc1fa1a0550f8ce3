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
        dom::Node* parent = script->Parent();
        dom::Node* cursor = document.WriteCursor() && document.WriteCursor()->Parent() == parent ? document.WriteCursor() : nullptr;
        dom::Node* anchor = document.WriteAnchor();
        // Markup written in pieces ("<table>", rows, "</table>") reads as one
        // stream: while an element the script opened is still open, the next
        // piece is parsed with what came before, in place of its nodes.
        if (!document.WriteStream().empty() && anchor && anchor->Parent() == parent && cursor) {
            if (cursor != anchor) {
                while (anchor->NextSibling() && anchor->NextSibling() != cursor) anchor->NextSibling()->Remove();
                cursor->Remove();
            }
        } else {
            document.WriteStream().clear();
            anchor = cursor ? cursor : script;
            document.SetWriteAnchor(anchor);
        }
        document.WriteStream() += markup;
        bool leftOpen = false;
        auto nodes = ParseFragment(document, document.WriteStream(), parent->AsElement(), &leftOpen);
        if (!leftOpen) document.WriteStream().clear();
        dom::Node* before = anchor->NextSibling();
        document.SetWriteCursor(anchor);
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
