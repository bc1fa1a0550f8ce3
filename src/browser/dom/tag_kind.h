// The tags the bindings give an object class of its own, worked out once per
// element from its local name, so choosing an element's object is a switch
// rather than a row of name comparisons.
#pragma once
#include <cstdint>
#include <string_view>

namespace corvalin::browser::dom {

enum class TagKind : std::uint8_t {
    Other,
    Input,
    TextArea,
    Select,
    Option,
    Button,
    Form,
    Table,
    TableSection,   // thead, tbody, tfoot
    Row,
    Cell,           // td, th
    Anchor,         // a, area, link, base
    Image,
    Script,         // script, style, title
    Frame,          // iframe, frame
};

TagKind TagKindOf(std::wstring_view localName);

}  // namespace corvalin::browser::dom
