// The count and mark operations: each family's candidates are those of its
// finder, walked once; marking writes the family's label with the ordinal
// into one place of each candidate.
#include <string>
#include <vector>

#include "automation/key_finder.h"
#include "automation/page_automation.h"

namespace corvalin {

namespace {

// Where a label goes. Inserting kinds add markup again on every call.
enum class LabelPlace {
    Value,            // an input's value; a button element's visible text
    Title,
    AfterElement,     // appended to the element's outer markup
    StartOfContent,   // inserted at the start of the content
    EndOfContent,     // appended to the inner markup
};

struct Label {
    LabelPlace place;
    std::string before;   // text before the ordinal
    std::string after;    // text after it
};

std::string RedMarkup(std::string_view text) { return "<font color=red>" + std::string(text); }

void WriteLabel(const AutomationObject& element, const KeyFinderPass& pass, LabelPlace place,
                const std::string& text) {
    switch (place) {
    case LabelPlace::Value:
        element.Put(std::string_view(pass.tagName) == "button" ? "innerText" : "value", text);
        break;
    case LabelPlace::Title: element.Put("title", text); break;
    case LabelPlace::AfterElement: element.Put("outerHTML", element.GetText("outerHTML") + text); break;
    case LabelPlace::StartOfContent: element.Call("insertAdjacentHTML", "afterBegin", text); break;
    case LabelPlace::EndOfContent: element.Put("innerHTML", element.GetText("innerHTML") + text); break;
    }
}

// The one count shape: the number of candidates, each labelled when asked.
int Count(const AutomationObject& document, const KeyFinder& finder, std::string_view typeList, bool mark,
          const Label& label) {
    return VisitCandidates(document, finder, typeList,
                           [&](const AutomationObject& element, const KeyFinderPass& pass, int ordinal) {
                               if (mark)
                                   WriteLabel(element, pass, label.place,
                                              label.before + std::to_string(ordinal) + label.after);
                               return true;
                           });
}

const Label kBlockLabel{LabelPlace::StartOfContent, RedMarkup("ULli"), "</font>"};
const Label kChoiceLabel{LabelPlace::AfterElement, RedMarkup("[复"), "]</font>"};

}  // namespace

int PageAutomation::CountLabelledInputs(std::string_view typeList, std::string_view label, bool mark) const {
    return Count(document_, key_finders::kInput, typeList, mark, {LabelPlace::Value, std::string(label), ""});
}

int PageAutomation::CountMarkedChoiceInputs(std::string_view typeList, bool mark) const {
    return Count(document_, key_finders::kInput, typeList, mark, kChoiceLabel);
}

int PageAutomation::CountMarkedDivs(bool mark) const {
    return Count(document_, key_finders::kDiv, {}, mark, {LabelPlace::StartOfContent, RedMarkup("Div"), "</font>"});
}

int PageAutomation::CountMarkedSpans(bool mark) const {
    return Count(document_, key_finders::kSpan, {}, mark, {LabelPlace::StartOfContent, RedMarkup("Span"), "</font>"});
}

int PageAutomation::CountMarkedListItems(bool mark) const { return Count(document_, key_finders::kListItem, {}, mark, kBlockLabel); }
int PageAutomation::CountMarkedTextAreas(bool mark) const { return Count(document_, key_finders::kTextArea, {}, mark, kBlockLabel); }
int PageAutomation::CountMarkedCites(bool mark) const { return Count(document_, key_finders::kCite, {}, mark, kBlockLabel); }

int PageAutomation::CollectImageElements(std::string_view typeList, std::string_view label, bool mark, bool listing,
                                         std::vector<std::string>& srcs, std::vector<std::string>& widths,
                                         std::vector<std::string>& heights, std::vector<std::string>& names,
                                         std::vector<std::string>& ids, std::vector<std::string>& titles) const {
    const std::pair<std::vector<std::string>*, const char*> lists[] = {
        {&srcs, "src"}, {&widths, "width"}, {&heights, "height"}, {&names, "name"}, {&ids, "id"}, {&titles, "title"}};
    return VisitCandidates(document_, key_finders::kImage, typeList,
                           [&](const AutomationObject& element, const KeyFinderPass& pass, int ordinal) {
                               if (mark) WriteLabel(element, pass, LabelPlace::Title, std::string(label) + std::to_string(ordinal));
                               if (listing)
                                   for (const auto& [list, property] : lists) list->push_back(element.GetText(property));
                               return true;
                           });
}

int PageAutomation::CollectLinks(std::string_view label, bool mark, bool listing, std::vector<std::string>& hrefs,
                                 std::vector<std::string>& innerTexts, std::vector<std::string>& names,
                                 std::vector<std::string>& ids) const {
    if (!listing) {
        return Count(document_, key_finders::kLink, {}, mark,
                     {LabelPlace::EndOfContent, RedMarkup(label), "</font>"});
    }
    const std::pair<std::vector<std::string>*, const char*> lists[] = {
        {&hrefs, "href"}, {&innerTexts, "innerText"}, {&names, "name"}, {&ids, "id"}};
    return VisitCandidates(document_, key_finders::kLink, {},
                           [&](const AutomationObject& element, const KeyFinderPass&, int) {
                               for (const auto& [list, property] : lists) list->push_back(element.GetText(property));
                               return true;
                           });
}

int PageAutomation::MarkAllFields() const {
    CountTextInputs(true);
    CountTextAreas(true);
    CountRadios(true);
    CountCheckBoxes(true);
    CountButtons(true);
    CountSelectBoxes(true);
    CountCiteButtons(true);
    return CountImageButtons(true);
}

// ---- the family counts ----
int PageAutomation::CountTextInputs(bool mark) const { return CountLabelledInputs("text|password|file", "文本框", mark); }
int PageAutomation::CountTextAreas(bool mark) const { return CountMarkedTextAreas(mark); }
int PageAutomation::CountRadios(bool mark) const { return CountMarkedChoiceInputs("radio", mark); }
int PageAutomation::CountCheckBoxes(bool mark) const { return CountMarkedChoiceInputs("checkbox", mark); }
int PageAutomation::CountButtons(bool mark) const { return CountLabelledInputs("button|submit|reset", "按钮", mark); }
int PageAutomation::CountCiteButtons(bool mark) const { return CountMarkedCites(mark); }
int PageAutomation::CountImageButtons(bool mark) const { return CountLabelledInputs("image", "图形按钮", mark); }
int PageAutomation::CountHiddenFields() const { return CountLabelledInputs("hidden", "隐藏表单", false); }
int PageAutomation::CountDivs(bool mark) const { return CountMarkedDivs(mark); }
int PageAutomation::CountListItems(bool mark) const { return CountMarkedListItems(mark); }
int PageAutomation::CountSpans(bool mark) const { return CountMarkedSpans(mark); }

int PageAutomation::CountLinks(bool mark) const {
    std::vector<std::string> unused;
    return CollectLinks("链", mark, false, unused, unused, unused, unused);
}

int PageAutomation::CountImages(bool mark) const {
    std::vector<std::string> unused;
    return CollectImageElements("image", "图片", mark, false, unused, unused, unused, unused, unused, unused);
}

int PageAutomation::ListLinks(std::vector<std::string>& innerTexts, std::vector<std::string>& hrefs,
                              std::vector<std::string>& names, std::vector<std::string>& ids) const {
    return CollectLinks("", false, true, hrefs, innerTexts, names, ids);
}

int PageAutomation::ListImages(std::vector<std::string>& srcs, std::vector<std::string>& widths,
                               std::vector<std::string>& heights, std::vector<std::string>& names,
                               std::vector<std::string>& ids, std::vector<std::string>& titles) const {
    return CollectImageElements("image", "", false, true, srcs, widths, heights, names, ids, titles);
}

}  // namespace corvalin
