// Tables of the body by ordinal, their rows and the rows' cells. One
// multiplexing operation answering in text; the small operations call it with
// a fixed code and read counts back as numbers.
#include "automation/element_walk.h"
#include "automation/page_automation.h"
#include "shell/conversions.h"

namespace corvalin {

namespace {

enum TableAction {
    kCountTables = 0,
    kTableText = 1,
    kTableHtml = 2,
    kCountCells = 3,
    kCountRows = 4,
    kCountRowCells = 5,
    kCellText = 6,
    kCellHtml = 7,
    kWriteCellText = 8,
};

std::string CountText(const AutomationObject& collection) { return shell::NumberToText(CollectionLength(collection)); }

AutomationObject Row(const AutomationObject& table, int rowNo) {
    return CollectionItem(table.CallObject("rows"), rowNo);
}

AutomationObject Cell(const AutomationObject& table, int rowNo, int cellNo) {
    return CollectionItem(Row(table, rowNo).GetObject("cells"), cellNo);
}

}  // namespace

std::string PageAutomation::TableOperation(int action, int tableNo, int rowNo, int cellNo,
                                           std::string_view newText) const {
    const AutomationObject tables = TagCollection(document_, "table");
    if (action == kCountTables) return CountText(tables);
    const AutomationObject table = CollectionItem(tables, tableNo);
    switch (action) {
    case kTableText: return table.GetText("outerText");
    case kTableHtml: return table.GetText("outerHTML");
    case kCountCells: return CountText(table.GetObject("cells"));
    case kCountRows: return CountText(table.GetObject("rows"));
    case kCountRowCells: return CountText(Row(table, rowNo).GetObject("cells"));
    case kCellText: return Cell(table, rowNo, cellNo).GetText("outerText");
    case kCellHtml: return Cell(table, rowNo, cellNo).GetText("outerHTML");
    case kWriteCellText: return shell::BoolToText(Cell(table, rowNo, cellNo).Put("innerText", newText));
    default: return "0";
    }
}

int PageAutomation::CountTables() const { return shell::TextToInteger(TableOperation(kCountTables)); }
std::string PageAutomation::GetTableText(int tableNo) const { return TableOperation(kTableText, tableNo); }
std::string PageAutomation::GetTableHtml(int tableNo) const { return TableOperation(kTableHtml, tableNo); }
int PageAutomation::CountTableRows(int tableNo) const { return shell::TextToInteger(TableOperation(kCountRows, tableNo)); }
int PageAutomation::CountRowCells(int tableNo, int rowNo) const {
    return shell::TextToInteger(TableOperation(kCountRowCells, tableNo, rowNo));
}
std::string PageAutomation::GetCellText(int tableNo, int rowNo, int cellNo) const {
    return TableOperation(kCellText, tableNo, rowNo, cellNo);
}
std::string PageAutomation::SetCellText(int tableNo, int rowNo, int cellNo, std::string_view text) const {
    return TableOperation(kWriteCellText, tableNo, rowNo, cellNo, text);
}
std::string PageAutomation::GetCellHtml(int tableNo, int rowNo, int cellNo) const {
    return TableOperation(kCellHtml, tableNo, rowNo, cellNo);
}
int PageAutomation::CountTableCells(int tableNo) const {
    return shell::TextToInteger(TableOperation(kCountCells, tableNo));
}

}  // namespace corvalin
