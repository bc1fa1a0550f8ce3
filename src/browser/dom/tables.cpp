// Element: rows and cells of tables.
#include "browser/dom/element.h"

#include <algorithm>

#include "browser/dom/document.h"

namespace corvalin::browser::dom {

namespace {

// Rows of a table (with its sections) or of a section. Pages put a <form>
// between a table and its rows; the rows stay the table's.
void CollectRows(const Element& parent, bool sections, std::vector<Element*>& rows) {
    for (Node* c = parent.FirstChild(); c; c = c->NextSibling()) {
        Element* e = c->AsElement();
        if (!e) continue;
        if (e->Is(L"tr")) rows.push_back(e);
        else if (e->Is(L"form")) CollectRows(*e, sections, rows);
        else if (sections && (e->Is(L"thead") || e->Is(L"tbody") || e->Is(L"tfoot"))) CollectRows(*e, false, rows);
    }
}

}  // namespace

std::vector<Element*> Element::Rows() const {
    std::vector<Element*> rows;
    if (Is(L"table")) CollectRows(*this, true, rows);
    else if (Is(L"thead") || Is(L"tbody") || Is(L"tfoot")) CollectRows(*this, false, rows);
    return rows;
}

std::vector<Element*> Element::Cells() const {
    std::vector<Element*> cells;
    auto collect = [&](const Element& row) {
        for (Node* c = row.FirstChild(); c; c = c->NextSibling()) {
            if (Element* e = c->AsElement(); e && (e->Is(L"td") || e->Is(L"th"))) cells.push_back(e);
        }
    };
    if (Is(L"tr")) collect(*this);
    else if (Is(L"table")) {
        for (Element* row : Rows()) collect(*row);
    }
    return cells;
}

int Element::RowIndex() const {
    if (!Is(L"tr")) return -1;
    for (Element* e = ParentElement(); e; e = e->ParentElement()) {
        if (e->Is(L"table")) {
            auto rows = e->Rows();
            auto it = std::find(rows.begin(), rows.end(), this);
            return it == rows.end() ? -1 : static_cast<int>(it - rows.begin());
        }
    }
    return -1;
}

int Element::CellIndex() const {
    Element* row = ParentElement();
    if (!row || !row->Is(L"tr")) return -1;
    auto cells = row->Cells();
    auto it = std::find(cells.begin(), cells.end(), this);
    return it == cells.end() ? -1 : static_cast<int>(it - cells.begin());
}

}  // namespace corvalin::browser::dom
