#include "browser/dom/tag_kind.h"

#include <array>
#include <utility>

namespace corvalin::browser::dom {

TagKind TagKindOf(std::wstring_view localName) {
    static constexpr std::array<std::pair<std::wstring_view, TagKind>, 23> kinds{{
        {L"input", TagKind::Input},       {L"textarea", TagKind::TextArea}, {L"select", TagKind::Select},
        {L"option", TagKind::Option},     {L"button", TagKind::Button},     {L"form", TagKind::Form},
        {L"table", TagKind::Table},       {L"thead", TagKind::TableSection}, {L"tbody", TagKind::TableSection},
        {L"tfoot", TagKind::TableSection}, {L"tr", TagKind::Row},            {L"td", TagKind::Cell},
        {L"th", TagKind::Cell},           {L"a", TagKind::Anchor},          {L"area", TagKind::Anchor},
        {L"link", TagKind::Anchor},       {L"base", TagKind::Anchor},       {L"img", TagKind::Image},
        {L"script", TagKind::Script},     {L"style", TagKind::Script},      {L"title", TagKind::Script},
        {L"iframe", TagKind::Frame},      {L"frame", TagKind::Frame},
    }};
    for (const auto& [name, kind] : kinds)
        if (name == localName) return kind;
    return TagKind::Other;
}

}  // namespace corvalin::browser::dom
