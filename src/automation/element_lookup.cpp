// The ways the toolkit finds elements: the key finders (each one row of the
// finder table), forms, tag collections and the element under the pointer.
#include <cstring>
#include <utility>

#include "automation/element_walk.h"
#include "automation/key_finder.h"
#include "automation/page_automation.h"
#include "shell/conversions.h"

namespace corvalin {

AutomationObject PageAutomation::FindInputElement(std::string_view typeList, std::string_view key, int skip,
                                                  int& ordinal) const {
    return FindElementByKey(document_, key_finders::kInput, typeList, key, skip, ordinal);
}

AutomationObject PageAutomation::FindImageElement(std::string_view typeList, std::string_view key, int skip,
                                                  int& ordinal) const {
    return FindElementByKey(document_, key_finders::kImage, typeList, key, skip, ordinal);
}

AutomationObject PageAutomation::FindDivElement(std::string_view key, int skip, int& ordinal) const {
    return FindElementByKey(document_, key_finders::kDiv, {}, key, skip, ordinal);
}

AutomationObject PageAutomation::FindSpanElement(std::string_view key, int skip, int& ordinal) const {
    return FindElementByKey(document_, key_finders::kSpan, {}, key, skip, ordinal);
}

AutomationObject PageAutomation::FindListItemElement(std::string_view key, int skip, int& ordinal) const {
    return FindElementByKey(document_, key_finders::kListItem, {}, key, skip, ordinal);
}

AutomationObject PageAutomation::FindTextAreaElement(std::string_view key, int skip, int& ordinal) const {
    return FindElementByKey(document_, key_finders::kTextArea, {}, key, skip, ordinal);
}

AutomationObject PageAutomation::FindLinkElement(std::string_view key, int skip, int& ordinal) const {
    return FindElementByKey(document_, key_finders::kLink, {}, key, skip, ordinal);
}

AutomationObject PageAutomation::FindCiteElement(std::string_view key, int skip, int& ordinal) const {
    return FindElementByKey(document_, key_finders::kCite, {}, key, skip, ordinal);
}

AutomationObject PageAutomation::FindForm(std::string_view key, int& ordinal) const {
    const int keyNumber = shell::TextToInteger(key);
    ElementWalk forms(document_.GetObject("forms"));
    while (forms.Next()) {
        const AutomationObject& form = forms.Element();
        ++ordinal;
        // The ordinal test of each form comes before any later form is looked at.
        if (form.GetText("name") == key || form.GetText("id") == key || keyNumber == ordinal) return form;
    }
    ordinal = -1;
    return {};
}

AutomationObject PageAutomation::GetElementsByTagName(std::string_view tagName) const {
    return document_.CallObject("getElementsByTagName", std::string(tagName));
}

AutomationObject PageAutomation::ElementAtPoint(int x, int y, std::string* url, std::string* tagName,
                                                std::string* innerText, std::string* name, std::string* ID,
                                                std::string* href, std::string* outerHTML) const {
    // Always the window under the pointer, also when a point is given.
    POINT pointer{};
    GetCursorPos(&pointer);
    const HWND window = WindowFromPoint(pointer);
    char className[50] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, "Internet Explorer_Server") != 0) return {};

    RECT frame{};
    GetWindowRect(window, &frame);
    AutomationObject document;
    DocumentFromWindow(window, document);
    const POINT point = (x == 0 && y == 0) ? pointer : POINT{x, y};
    AutomationObject element = document.CallObject("elementFromPoint", static_cast<double>(point.x - frame.left),
                                                   static_cast<double>(point.y - frame.top));
    const std::pair<std::string*, const char*> outs[] = {{tagName, "tagName"}, {innerText, "innerText"},
                                                         {name, "name"},       {ID, "ID"},
                                                         {href, "href"},       {outerHTML, "outerHTML"}};
    if (url) *url = document.GetText("url");
    for (const auto& [out, property] : outs) {
        if (out) *out = element.GetText(property);
    }
    return element;
}

}  // namespace corvalin
