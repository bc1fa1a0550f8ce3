#include "browser/om/html_text_range.h"

#include <memory>
#include <optional>

#include "browser/html/text_range_markup.h"
#include "browser/om/html_elements.h"
#include "browser/om/node_objects.h"

namespace corvalin::browser::om {

namespace {

dom::TextRange& R(DispatchObject& s) { return static_cast<HTMLTextRange&>(s).Range(); }

// moveStart("word", -2): the unit, then the count (1 when left out).
std::optional<dom::TextUnit> Unit(Invocation& c) { return dom::TextUnitFromName(c.Text(0)); }
long MoveCount(Invocation& c) { return c.Integer(1, 1); }

// "StartToEnd": which end of this range, then which end of the other.
bool ParseEnds(std::wstring_view how, bool& thisStart, bool& otherStart) {
    const std::wstring lower = dom::LowerAscii(how);
    if (lower == L"starttostart") thisStart = otherStart = true;
    else if (lower == L"starttoend") thisStart = true, otherStart = false;
    else if (lower == L"endtostart") thisStart = false, otherStart = true;
    else if (lower == L"endtoend") thisStart = otherStart = false;
    else return false;
    return true;
}

dom::TextRange* OtherRange(Invocation& c, std::size_t index) {
    auto* other = dynamic_cast<HTMLTextRange*>(AsDispatchObject(c.Object(index)));
    return other ? &other->Range() : nullptr;
}

}  // namespace

const MemberTable& HTMLTextRange::Members() const {
    static const MemberTable table{{
        {L"text", [](DispatchObject& s, Invocation& c) { return c.ReturnText(R(s).Text()); },
         [](DispatchObject& s, Invocation& c) {
             R(s).SetText(c.ValueText());
             return S_OK;
         }},
        {L"htmlText", [](DispatchObject& s, Invocation& c) { return c.ReturnText(html::RangeHtml(R(s))); }},
        {L"findText", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) { return c.ReturnBool(R(s).Find(c.Text(0))); }},
        {L"pasteHTML", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             html::PasteHtml(R(s), c.Text(0));
             return c.ReturnEmpty();
         }},
        {L"moveStart", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             const auto unit = Unit(c);
             return unit ? c.ReturnInteger(R(s).MoveStart(MoveCount(c), *unit)) : E_INVALIDARG;
         }},
        {L"moveEnd", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             const auto unit = Unit(c);
             return unit ? c.ReturnInteger(R(s).MoveEnd(MoveCount(c), *unit)) : E_INVALIDARG;
         }},
        {L"move", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             const auto unit = Unit(c);
             return unit ? c.ReturnInteger(R(s).Move(MoveCount(c), *unit)) : E_INVALIDARG;
         }},
        {L"expand", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             const auto unit = Unit(c);
             return unit ? c.ReturnBool(R(s).Expand(*unit)) : E_INVALIDARG;
         }},
        {L"compareEndPoints", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             bool thisStart = true, otherStart = true;
             dom::TextRange* other = OtherRange(c, 1);
             if (!ParseEnds(c.Text(0), thisStart, otherStart) || !other) return E_INVALIDARG;
             return c.ReturnInteger(R(s).CompareEndPoints(thisStart, *other, otherStart));
         }},
        {L"setEndPoint", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             bool thisStart = true, otherStart = true;
             dom::TextRange* other = OtherRange(c, 1);
             if (!ParseEnds(c.Text(0), thisStart, otherStart) || !other) return E_INVALIDARG;
             R(s).SetEndPoint(thisStart, *other, otherStart);
             return c.ReturnEmpty();
         }},
        {L"collapse", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             R(s).Collapse(c.Bool(0, true));
             return c.ReturnEmpty();
         }},
        {L"select", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             dom::TextRange& range = R(s);
             range.Scope().OwnerDocument().SetSelection(std::make_unique<dom::TextRange>(range));
             return c.ReturnEmpty();
         }},
        {L"duplicate", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             return c.ReturnObject(MakeDispatch<HTMLTextRange>(R(s)).Get());
         }},
        {L"moveToElementText", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             dom::Node* node = NodeOf(c.Object(0));
             if (!node || !node->IsElement()) return E_INVALIDARG;
             R(s).MoveToElementText(*node->AsElement());
             return c.ReturnEmpty();
         }},
        {L"parentElement", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) { return ReturnNode(c, R(s).ParentElement()); }},
        {L"scrollIntoView", nullptr, nullptr, [](DispatchObject&, Invocation& c) { return c.ReturnEmpty(); }},
    }};
    return table;
}

struct SelectionMembers {
    static dom::Document& D(DispatchObject& s) { return *static_cast<HTMLSelectionObject&>(s).document_; }
};

const MemberTable& HTMLSelectionObject::Members() const {
    static const MemberTable table{{
        {L"type", [](DispatchObject& s, Invocation& c) {
             dom::TextRange* r = SelectionMembers::D(s).Selection();
             return c.ReturnText(r && !r->Collapsed() ? L"Text" : L"None");
         }},
        {L"createRange", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             dom::Document& d = SelectionMembers::D(s);
             if (dom::TextRange* r = d.Selection()) return c.ReturnObject(MakeDispatch<HTMLTextRange>(*r).Get());
             dom::Element* body = d.Body();
             if (!body) return c.ReturnNull();
             // No selection: an empty range where the caret would be.
             dom::TextRange caret(*body);
             caret.Collapse(true);
             return c.ReturnObject(MakeDispatch<HTMLTextRange>(caret).Get());
         }},
        {L"empty", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             SelectionMembers::D(s).SetSelection(nullptr);
             return c.ReturnEmpty();
         }},
        {L"clear", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             SelectionMembers::D(s).SetSelection(nullptr);
             return c.ReturnEmpty();
         }},
    }};
    return table;
}

}  // namespace corvalin::browser::om
