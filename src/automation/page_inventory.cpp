// The page inventory: one row per kind says what label it writes and which
// properties go into which of the caller's lists; the walk is written once.
#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

#include "automation/element_walk.h"
#include "automation/page_automation.h"

namespace corvalin {

namespace {

enum InventoryList {
    kInnerTexts, kValues, kNames, kIds, kKinds, kHrefs, kSrcs, kSizesA, kSizesB, kCheckedStates, kOuterHtmls,
    kTitles, kTitledHrefs, kInventoryListCount
};

// Readings that are not a plain property read as text.
constexpr char kCheckedState[] = "<checked state>";
constexpr char kFlatOuterHtml[] = "<outer markup without line breaks>";
constexpr char kElement[] = "<the element>";

struct InventoryField {
    const char* property;
    InventoryList list;
};

struct InventoryKind {
    int kind;
    const char* labelProperty;   // nullptr: nothing is marked
    const char* label;
    std::vector<InventoryField> fields;
};

// Every kind lists its element too (except list items), after its texts.
const InventoryKind kInventoryKinds[] = {
    {0, "name", "单选框", {{"type", kKinds}, {"value", kValues}, {"name", kNames}, {"ID", kIds},
                           {kCheckedState, kCheckedStates}, {"outerHTML", kOuterHtmls}, {kElement, kKinds}}},
    {1, "name", "复选框", {{"type", kKinds}, {"value", kValues}, {"name", kNames}, {"ID", kIds},
                           {kCheckedState, kCheckedStates}, {"outerHTML", kOuterHtmls}, {kElement, kKinds}}},
    {2, "value", "文本框", {{"type", kKinds}, {"value", kValues}, {"name", kNames}, {"ID", kIds},
                            {"outerHTML", kOuterHtmls}, {kElement, kKinds}}},
    {3, "value", "多行文本框", {{"type", kKinds}, {"value", kValues}, {"name", kNames}, {"ID", kIds},
                                {"outerHTML", kOuterHtmls}, {kElement, kKinds}}},
    // A button's kind is its tag, so <button> and <input> tell apart.
    {4, "value", "按钮", {{"tagName", kKinds}, {"value", kValues}, {"name", kNames}, {"ID", kIds},
                          {"outerHTML", kOuterHtmls}, {kElement, kKinds}}},
    {5, "innertext", "高级按钮", {{"type", kKinds}, {"innertext", kInnerTexts}, {"name", kNames}, {"ID", kIds},
                                  {"outerHTML", kOuterHtmls}, {kElement, kKinds}}},
    // Image buttons give width, height the other way round from images.
    {6, "name", "图片按钮", {{"type", kKinds}, {"value", kValues}, {"name", kNames}, {"ID", kIds},
                              {"outerHTML", kOuterHtmls}, {"src", kSrcs}, {"width", kSizesB}, {"height", kSizesA},
                              {kElement, kKinds}}},
    {7, nullptr, nullptr, {{"tagname", kKinds}, {"innertext", kInnerTexts}, {"href", kHrefs},
                           {"outerHTML", kOuterHtmls}, {"title", kTitles}, {kElement, kKinds}}},
    {8, nullptr, nullptr, {{"tagName", kKinds}, {"src", kSrcs}, {"name", kNames}, {"ID", kIds},
                           {"height", kSizesB}, {"width", kSizesA}, {"outerHTML", kOuterHtmls}, {"title", kTitles},
                           {kElement, kKinds}}},
    {9, nullptr, nullptr, {{"tagname", kKinds}, {"title", kTitles}, {"href", kTitledHrefs},
                           {"outerHTML", kOuterHtmls}, {kElement, kKinds}}},
    {10, nullptr, nullptr, {{"tagName", kKinds}, {"outerHTML", kOuterHtmls}, {kElement, kKinds}}},
    {11, nullptr, nullptr, {{"tagName", kKinds}, {"name", kNames}, {"innertext", kInnerTexts}, {"ID", kIds},
                            {"outerHTML", kOuterHtmls}, {"title", kTitles}, {kElement, kKinds}}},
    {12, nullptr, nullptr, {{"innerText", kInnerTexts}, {"ID", kIds}, {kFlatOuterHtml, kOuterHtmls}}},
    {13, nullptr, nullptr, {{"tagName", kKinds}, {"innerText", kInnerTexts}, {"name", kNames}, {"ID", kIds},
                            {"title", kValues}, {kFlatOuterHtml, kOuterHtmls}, {kElement, kKinds}}},
};

const InventoryKind* FindInventoryKind(int kind) {
    for (const InventoryKind& row : kInventoryKinds)
        if (row.kind == kind) return &row;
    return nullptr;
}

// "a|b" → {"a", "b"}; an empty text has no entries.
std::vector<std::string> SplitEntries(std::string_view text) {
    std::vector<std::string> entries;
    if (text.empty()) return entries;
    for (std::size_t start = 0;;) {
        const std::size_t bar = text.find('|', start);
        entries.emplace_back(text.substr(start, bar - start));
        if (bar == std::string_view::npos) return entries;
        start = bar + 1;
    }
}

std::string LowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string WithoutLineBreaks(std::string text) {
    for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 2);
    return text;
}

class Inventory {
public:
    Inventory(const InventoryKind& kind, std::array<std::vector<std::string>*, kInventoryListCount> lists,
              std::vector<AutomationObject>& elements, bool mark)
        : kind_(kind), lists_(lists), elements_(elements), mark_(mark) {}

    void Append(const AutomationObject& element) const {
        for (const InventoryField& field : kind_.fields) {
            const std::string_view property = field.property;
            if (property == kElement) elements_.push_back(element);
            else lists_[field.list]->push_back(Read(element, field.property));
        }
    }

    void Label(const AutomationObject& element, int ordinal) const {
        if (mark_ && kind_.labelProperty)
            element.Put(kind_.labelProperty, std::string(kind_.label) + std::to_string(ordinal));
    }

private:
    static std::string Read(const AutomationObject& element, const char* property) {
        const std::string_view name = property;
        if (name == kFlatOuterHtml) return WithoutLineBreaks(element.GetText("outerHTML"));
        // A checked state reads as a number, so any boolean shape counts.
        if (name == kCheckedState) return std::fabs(element.GetVariant("checked").ToNumber()) > 1e-7 ? "真" : "假";
        return element.GetText(property);
    }

    const InventoryKind& kind_;
    std::array<std::vector<std::string>*, kInventoryListCount> lists_;
    std::vector<AutomationObject>& elements_;
    bool mark_;
};

// Links, cites, images and divs are told apart by their tag, everything else
// by its type.
std::string Classification(const AutomationObject& element, std::string_view tagEntry) {
    const bool byTag = tagEntry == "a" || tagEntry == "cite" || tagEntry == "img" || tagEntry == "div";
    return LowerAscii(element.GetText(byTag ? "tagName" : "type"));
}

}  // namespace

int PageAutomation::CollectPageElements(int kind, std::string_view tagList, std::string_view typeList,
                                        std::vector<std::string>& innerTexts, std::vector<std::string>& values,
                                        std::vector<std::string>& names, std::vector<std::string>& ids,
                                        std::vector<std::string>& kinds, std::vector<std::string>& hrefs,
                                        std::vector<std::string>& srcs, std::vector<std::string>& sizesA,
                                        std::vector<std::string>& sizesB, std::vector<std::string>& checkedStates,
                                        std::vector<std::string>& outerHtmls, bool mark,
                                        std::vector<std::string>& titles, std::vector<std::string>& titledHrefs,
                                        std::vector<AutomationObject>& elements) const {
    const std::vector<std::string>& counted = (kind == 12 || kind == 13) ? innerTexts : kinds;
    const std::vector<std::string> types = SplitEntries(typeList);
    const InventoryKind* row = FindInventoryKind(kind);
    if (types.empty() || !row) return static_cast<int>(counted.size());
    const Inventory inventory(*row,
                              {&innerTexts, &values, &names, &ids, &kinds, &hrefs, &srcs, &sizesA, &sizesB,
                               &checkedStates, &outerHtmls, &titles, &titledHrefs},
                              elements, mark);
    int ordinal = 0;
    for (const std::string& tag : SplitEntries(tagList)) {
        if (kind == 12 || kind == 13) {
            // The tag entry only repeats the walk.
            for (ElementWalk walk(document_, kind == 12 ? "li" : "span"); walk.Next();) inventory.Append(walk.Element());
            continue;
        }
        for (ElementWalk walk(GetElementsByTagName(tag)); walk.Next();) {
            const AutomationObject& element = walk.Element();
            if (kind == 9) {
                if (!element.GetText("title").empty()) inventory.Append(element);
                continue;
            }
            const std::string classification = Classification(element, tag);
            for (const std::string& type : types) {
                if (type != classification) continue;
                inventory.Label(element, ++ordinal);
                inventory.Append(element);
            }
        }
    }
    return static_cast<int>(counted.size());
}

}  // namespace corvalin
