// Tables, their sections, rows and cells.
#include "browser/html/html_markup.h"
#include "browser/om/html_element_collection.h"
#include "browser/om/html_elements.h"

namespace corvalin::browser::om {

namespace {

using dom::Element;

HRESULT Rows(DispatchObject& s, Invocation& c) {
    return c.ReturnObject(
        CollectionObject(dom::ElementCollection(&ElementOf(s), [](dom::Node& root) { return root.AsElement()->Rows(); }))
            .Get());
}

HRESULT Cells(DispatchObject& s, Invocation& c) {
    return c.ReturnObject(
        CollectionObject(dom::ElementCollection(&ElementOf(s), [](dom::Node& root) { return root.AsElement()->Cells(); }))
            .Get());
}

// The section new rows of a table go into: its last tbody, or the table.
Element& RowParent(Element& table) {
    Element* last = nullptr;
    for (Element* child : table.ElementChildren()) {
        if (child->Is(L"tbody")) last = child;
    }
    return last ? *last : table;
}

HRESULT InsertRow(DispatchObject& s, Invocation& c) {
    Element& e = ElementOf(s);
    auto rows = e.Rows();
    long at = c.Integer(0, -1);
    if (at > static_cast<long>(rows.size()) || at < -1) return E_INVALIDARG;
    dom::Ref<Element> row = e.OwnerDocument().CreateElement(L"tr");
    if (at == -1 || at == static_cast<long>(rows.size())) {
        Element& parent = e.Is(L"table") ? (rows.empty() ? RowParent(e) : *rows.back()->ParentElement()) : e;
        parent.AppendChild(row);
    } else {
        rows[at]->Parent()->InsertBefore(row, rows[at]);
    }
    return ReturnNode(c, row.get());
}

HRESULT DeleteRow(DispatchObject& s, Invocation& c) {
    auto rows = ElementOf(s).Rows();
    long at = c.Integer(0, -1);
    if (at == -1 && !rows.empty()) at = static_cast<long>(rows.size()) - 1;
    if (at < 0 || at >= static_cast<long>(rows.size())) return E_INVALIDARG;
    rows[at]->Remove();
    return c.ReturnEmpty();
}

}  // namespace

const MemberTable& HTMLTableElement::Members() const {
    static const MemberTable table{{
        {L"rows", Rows},
        {L"cells", Cells},
        {L"tBodies", [](DispatchObject& s, Invocation& c) {
             return c.ReturnObject(CollectionObject(dom::ElementCollection(
                                                        &ElementOf(s), [](const Element& e) { return e.Is(L"tbody"); },
                                                        dom::ElementCollection::Scope::Children))
                                       .Get());
         }},
        {L"insertRow", nullptr, nullptr, InsertRow},
        {L"deleteRow", nullptr, nullptr, DeleteRow},
        {L"width", [](DispatchObject& s, Invocation& c) { return TextAttribute(s, c, L"width"); },
         [](DispatchObject& s, Invocation& c) { return PutAttribute(s, c, L"width"); }},
        {L"height", [](DispatchObject& s, Invocation& c) { return TextAttribute(s, c, L"height"); },
         [](DispatchObject& s, Invocation& c) { return PutAttribute(s, c, L"height"); }},
        {L"border", [](DispatchObject& s, Invocation& c) { return TextAttribute(s, c, L"border"); },
         [](DispatchObject& s, Invocation& c) { return PutAttribute(s, c, L"border"); }},
        {L"cellPadding", [](DispatchObject& s, Invocation& c) { return TextAttribute(s, c, L"cellpadding"); }},
        {L"cellSpacing", [](DispatchObject& s, Invocation& c) { return TextAttribute(s, c, L"cellspacing"); }},
    }, &ElementMembers()};
    return table;
}

const MemberTable& HTMLTableSectionElement::Members() const {
    static const MemberTable table{{
        {L"rows", Rows},
        {L"insertRow", nullptr, nullptr, InsertRow},
        {L"deleteRow", nullptr, nullptr, DeleteRow},
    }, &ElementMembers()};
    return table;
}

const MemberTable& HTMLTableRowElement::Members() const {
    static const MemberTable table{{
        {L"cells", Cells},
        {L"rowIndex", [](DispatchObject& s, Invocation& c) { return c.ReturnInteger(ElementOf(s).RowIndex()); }},
        {L"sectionRowIndex", [](DispatchObject& s, Invocation& c) {
             Element& row = ElementOf(s);
             Element* section = row.ParentElement();
             if (!section) return c.ReturnInteger(-1);
             auto rows = section->Rows();
             for (std::size_t i = 0; i < rows.size(); ++i) {
                 if (rows[i] == &row) return c.ReturnInteger(static_cast<long>(i));
             }
             return c.ReturnInteger(-1);
         }},
        {L"insertCell", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             Element& row = ElementOf(s);
             auto cells = row.Cells();
             long at = c.Integer(0, -1);
             if (at > static_cast<long>(cells.size()) || at < -1) return E_INVALIDARG;
             dom::Ref<Element> cell = row.OwnerDocument().CreateElement(L"td");
             row.InsertBefore(cell, at == -1 || at == static_cast<long>(cells.size()) ? nullptr : cells[at]);
             return ReturnNode(c, cell.get());
         }},
        {L"deleteCell", nullptr, nullptr,
         [](DispatchObject& s, Invocation& c) {
             auto cells = ElementOf(s).Cells();
             long at = c.Integer(0, -1);
             if (at == -1 && !cells.empty()) at = static_cast<long>(cells.size()) - 1;
             if (at < 0 || at >= static_cast<long>(cells.size())) return E_INVALIDARG;
             cells[at]->Remove();
             return c.ReturnEmpty();
         }},
    }, &ElementMembers()};
    return table;
}

const MemberTable& HTMLTableCellElement::Members() const {
    static const MemberTable table{{
        {L"cellIndex", [](DispatchObject& s, Invocation& c) { return c.ReturnInteger(ElementOf(s).CellIndex()); }},
        {L"colSpan", [](DispatchObject& s, Invocation& c) {
             long n = static_cast<long>(_wtol(ElementOf(s).GetAttribute(L"colspan").c_str()));
             return c.ReturnInteger(n > 0 ? n : 1);
         }},
        {L"rowSpan", [](DispatchObject& s, Invocation& c) {
             long n = static_cast<long>(_wtol(ElementOf(s).GetAttribute(L"rowspan").c_str()));
             return c.ReturnInteger(n > 0 ? n : 1);
         }},
        {L"width", [](DispatchObject& s, Invocation& c) { return TextAttribute(s, c, L"width"); },
         [](DispatchObject& s, Invocation& c) { return PutAttribute(s, c, L"width"); }},
        {L"height", [](DispatchObject& s, Invocation& c) { return TextAttribute(s, c, L"height"); },
         [](DispatchObject& s, Invocation& c) { return PutAttribute(s, c, L"height"); }},
        {L"noWrap", [](DispatchObject& s, Invocation& c) { return c.ReturnBool(ElementOf(s).HasAttribute(L"nowrap")); }},
    }, &ElementMembers()};
    return table;
}

}  // namespace corvalin::browser::om
