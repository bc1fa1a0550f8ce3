// Select boxes, addressed by their ordinal among every select of the document
// and their options by ordinal inside the box. One multiplexing operation;
// the small operations each call it with a fixed action code.
#include <windows.h>

#include <cmath>

#include "automation/element_walk.h"
#include "automation/page_automation.h"
#include "shell/conversions.h"
#include "shell/runtime.h"

namespace corvalin {

namespace {

enum SelectAction {
    kCountOptions = 0,
    kReadOptionText = 1,
    kWriteOptionText = 2,
    kReadOptionValue = 3,
    kWriteOptionValue = 4,
    kReadSelectedIndex = 5,
    kSelectByOrdinal = 6,
    kSelectByText = 7,
    kMarkEveryBox = 10,
};

// A select box is also the collection of its options.
AutomationObject Option(const AutomationObject& box, int optionNo) { return CollectionItem(box, optionNo); }

int TruncatedNumber(const AutomationObject& object, const char* name) {
    return static_cast<int>(std::trunc(object.GetNumber(name)));
}

// Lets the page settle before the choice, then sets it the way a script
// would and raises the box's change handler, which a script write does not.
bool SelectOptionAt(const AutomationObject& box, int optionNo) {
    shell::ProcessPendingEvents();
    Sleep(10);
    const bool written = box.Put("selectedIndex", static_cast<double>(optionNo) - 1);
    box.Call("fireEvent", "onchange");
    return written;
}

// The first option chosen and renamed "组合框<n>", so each box shows its number.
void MarkSelectBox(const AutomationObject& box, int ordinal) {
    box.Put("selectedIndex", 0);
    Option(box, 1).Put("text", "组合框" + shell::NumberToText(ordinal));
}

struct SelectBoxOuts {
    int* optionCount;
    std::string* optionText;
    std::string* optionValue;
    int* selectedIndex;
};

int ActOnSelectBox(const AutomationObject& box, int action, int optionNo, std::string_view newText,
                   std::string_view newValue, std::string_view searchText, const SelectBoxOuts& outs) {
    switch (action) {
    case kCountOptions:
        if (outs.optionCount) *outs.optionCount = CollectionLength(box);
        return 1;
    case kReadOptionText:
        if (outs.optionText) *outs.optionText = Option(box, optionNo).GetText("text");
        return 1;
    case kWriteOptionText:
        return Option(box, optionNo).Put("text", newText);
    case kReadOptionValue:
        if (outs.optionValue) *outs.optionValue = Option(box, optionNo).GetText("value");
        return 1;
    case kWriteOptionValue:
        return Option(box, optionNo).Put("value", newValue);
    case kReadSelectedIndex:
        if (outs.selectedIndex) *outs.selectedIndex = TruncatedNumber(box, "selectedIndex");
        return 1;
    case kSelectByOrdinal:
        // An option that is not there is not chosen: writing its index would
        // clear the box's choice and still report success.
        if (Option(box, optionNo).IsEmpty()) return 0;
        return SelectOptionAt(box, optionNo);
    case kSelectByText: {
        const int count = CollectionLength(box);
        for (int n = 1; n <= count; ++n) {
            if (Option(box, n).GetText("text") == searchText) return SelectOptionAt(box, n);
        }
        return 0;
    }
    default:
        return 0;
    }
}

}  // namespace

int PageAutomation::SelectBoxOperation(int selectNo, int action, int optionNo, int* optionCount,
                                       std::string* optionText, std::string_view newText, std::string* optionValue,
                                       std::string_view newValue, int* selectCount, bool mark, int* selectedIndex,
                                       std::string_view searchText, AutomationObject* selectElement) const {
    // Every select of the document, not only those in the body.
    ElementWalk boxes(GetElementsByTagName("select"));
    int seen = 0;
    while (boxes.Next()) {
        const AutomationObject& box = boxes.Element();
        if (selectElement) *selectElement = box;
        ++seen;
        if (action == kMarkEveryBox) {
            if (mark) MarkSelectBox(box, boxes.Position());
            continue;
        }
        if (boxes.Position() == selectNo) {
            return ActOnSelectBox(box, action, optionNo, newText, newValue, searchText,
                                  {optionCount, optionText, optionValue, selectedIndex});
        }
    }
    if (selectCount) *selectCount = seen;
    return 0;
}

int PageAutomation::ListSelectBoxes(std::vector<int>& optionCounts, std::vector<std::string>& types,
                                    std::vector<std::string>& names, std::vector<std::string>& ids,
                                    std::vector<std::string>& outerHtmls, bool mark) const {
    ElementWalk boxes(GetElementsByTagName("select"));
    while (boxes.Next()) {
        const AutomationObject& box = boxes.Element();
        types.push_back(box.GetText("type"));
        names.push_back(box.GetText("name"));
        ids.push_back(box.GetText("ID"));
        optionCounts.push_back(CollectionLength(box));
        outerHtmls.push_back(box.GetText("outerHTML"));
        if (mark) MarkSelectBox(box, boxes.Position());
    }
    return boxes.Count();
}

int PageAutomation::CountSelectBoxes(bool mark) const {
    int count = 0;
    SelectBoxOperation(0, kMarkEveryBox, 0, nullptr, nullptr, {}, nullptr, {}, &count, mark);
    return count;
}

int PageAutomation::GetOptionCount(int selectNo) const {
    int count = 0;
    SelectBoxOperation(selectNo, kCountOptions, 0, &count);
    return count;
}

std::string PageAutomation::GetOptionText(int selectNo, int optionNo) const {
    std::string text;
    SelectBoxOperation(selectNo, kReadOptionText, optionNo, nullptr, &text);
    return text;
}

bool PageAutomation::SetOptionText(int selectNo, int optionNo, std::string_view text) const {
    return SelectBoxOperation(selectNo, kWriteOptionText, optionNo, nullptr, nullptr, text) != 0;
}

std::string PageAutomation::GetOptionValue(int selectNo, int optionNo) const {
    std::string value;
    SelectBoxOperation(selectNo, kReadOptionValue, optionNo, nullptr, nullptr, {}, &value);
    return value;
}

bool PageAutomation::SetOptionValue(int selectNo, int optionNo, std::string_view value) const {
    return SelectBoxOperation(selectNo, kWriteOptionValue, optionNo, nullptr, nullptr, {}, nullptr, value) != 0;
}

int PageAutomation::GetSelectedIndex(int selectNo) const {
    // A box that is not there has no choice, which the browser counts as -1.
    int index = -1;
    SelectBoxOperation(selectNo, kReadSelectedIndex, 0, nullptr, nullptr, {}, nullptr, {}, nullptr, false, &index);
    return index;
}

bool PageAutomation::SelectOption(int selectNo, int optionNo) const {
    return SelectBoxOperation(selectNo, kSelectByOrdinal, optionNo) != 0;
}

bool PageAutomation::SelectOptionByText(int selectNo, std::string_view text) const {
    return SelectBoxOperation(selectNo, kSelectByText, 0, nullptr, nullptr, {}, nullptr, {}, nullptr, false, nullptr,
                              text) != 0;
}

namespace {

// Box `selectNo` as the option count looks it up; empty when there is none
// (the last box seen is not taken for it).
AutomationObject SelectBoxByOrdinal(const PageAutomation& automation, int selectNo) {
    AutomationObject box;
    const int found = automation.SelectBoxOperation(selectNo, kCountOptions, 0, nullptr, nullptr, {}, nullptr, {},
                                                    nullptr, false, nullptr, {}, &box);
    if (found == 0) box.Clear();
    return box;
}

}  // namespace

bool PageAutomation::FocusSelectBox(int selectNo) const {
    const AutomationObject box = SelectBoxByOrdinal(*this, selectNo);
    if (box.IsEmpty()) return false;
    box.Call("focus");
    return true;
}

bool PageAutomation::SetSelectBoxHidden(int selectNo, bool hidden) const {
    const AutomationObject box = SelectBoxByOrdinal(*this, selectNo);
    if (box.IsEmpty()) return false;
    return box.GetObject("style").Put("display", hidden ? "none" : "");
}

}  // namespace corvalin
