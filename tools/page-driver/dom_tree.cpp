#include "dom_tree.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "base/text.h"
#include "browser/dom/document.h"
#include "browser/dom/element.h"

namespace corvalin::page_driver {

namespace {

using browser::dom::Node;
using browser::dom::NodeType;

std::string Utf8(std::wstring_view text) { return EncodeCodePage(text, CP_UTF8); }

void AppendNode(const Node& node, int depth, std::string& out) {
    const std::string indent = "| " + std::string(static_cast<size_t>(depth) * 2, ' ');
    switch (node.Type()) {
    case NodeType::Element: {
        const auto& element = *node.AsElement();
        out += indent + "<" + Utf8(element.LocalName()) + ">\n";
        std::vector<std::pair<std::string, std::string>> attributes;
        for (const auto& attribute : element.Attributes()) attributes.emplace_back(Utf8(attribute.name), Utf8(attribute.value));
        std::sort(attributes.begin(), attributes.end());
        for (const auto& [name, value] : attributes) out += indent + "  " + name + "=\"" + value + "\"\n";
        break;
    }
    case NodeType::Text:
        out += indent + "\"" + Utf8(node.Data()) + "\"\n";
        break;
    case NodeType::Comment:
        out += indent + "<!-- " + Utf8(node.Data()) + " -->\n";
        break;
    default:
        break;
    }
    for (const Node* child = node.FirstChild(); child; child = child->NextSibling()) AppendNode(*child, depth + 1, out);
}

}  // namespace

std::string DomTree(const browser::dom::Document& document) {
    std::string out;
    for (const Node* child = document.FirstChild(); child; child = child->NextSibling()) AppendNode(*child, 0, out);
    return out;
}

}  // namespace corvalin::page_driver
