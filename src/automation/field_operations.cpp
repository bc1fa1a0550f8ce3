// The operations the client drives the service page with: fill a text input,
// press a button, read the status span.
#include "automation/page_automation.h"

namespace corvalin {

namespace {

constexpr char kTextInputTypes[] = "text|password|file";
constexpr char kButtonTypes[] = "button|submit|reset";

}  // namespace

AutomationObject PageAutomation::FindTextInput(std::string_view key, int skip) const {
    int ordinal = 0;
    return FindInputElement(kTextInputTypes, key, skip, ordinal);
}

bool PageAutomation::SetTextInputValue(std::string_view key, std::string_view value, int skip) const {
    const AutomationObject element = FindTextInput(key, skip);
    return element.Put("value", value);
}

AutomationObject PageAutomation::FindButton(std::string_view key, int skip) const {
    int ordinal = 0;
    return FindInputElement(kButtonTypes, key, skip, ordinal);
}

bool PageAutomation::ClickButton(std::string_view key, int skip) const {
    const AutomationObject element = FindButton(key, skip);
    // The page may refuse the click; finding the button is what counts.
    element.Call("click");
    return !element.IsEmpty();
}

AutomationObject PageAutomation::FindSpan(std::string_view key, int skip) const {
    int ordinal = 0;
    return FindSpanElement(key, skip, ordinal);
}

std::string PageAutomation::GetSpanInnerHtml(std::string_view key, int skip) const {
    const AutomationObject element = FindSpan(key, skip);
    // The markup as the browser serialises it, not the plain text.
    return element.GetText("innerHTML");
}

}  // namespace corvalin
