// The element families: each operation shape is written once, each family is
// a finder with its fixed arguments, and each member binds the two.
#include <array>
#include <initializer_list>
#include <string>

#include "automation/key_finder.h"
#include "automation/page_automation.h"

namespace corvalin {

namespace {

// Read for a button's caption: a button element shows its text, an input its title.
constexpr char kCaption[] = "<caption>";

struct ElementFamily {
    const KeyFinder& finder;
    const char* typeList;
    // The properties the info operation reads, in the order of its out texts.
    std::array<const char*, 6> infoTexts;
};

const ElementFamily kTextInputs{key_finders::kInput, "text|password|file", {"value", "name", "id", "type"}};
const ElementFamily kTextAreas{key_finders::kTextArea, "", {"value", "name", "id"}};
const ElementFamily kRadios{key_finders::kInput, "radio", {"title", "name", "id", "type"}};
const ElementFamily kCheckBoxes{key_finders::kInput, "checkbox", {"title", "name", "id", "type"}};
const ElementFamily kButtons{key_finders::kInput, "button|submit|reset", {kCaption, "name", "id", "type"}};
const ElementFamily kCiteButtons{key_finders::kCite, "", {"innerText", "name", "id"}};
const ElementFamily kImageButtons{key_finders::kInput, "image", {"title", "name", "id", "type"}};
const ElementFamily kLinks{key_finders::kLink, "", {"innerText", "href", "id", "name"}};
const ElementFamily kImages{key_finders::kImage, "image", {"src", "width", "height", "title", "name", "id"}};
const ElementFamily kHiddenFields{key_finders::kInput, "hidden", {"value", "name", "id", "type"}};
const ElementFamily kDivs{key_finders::kDiv, "", {"className", "title", "id"}};
const ElementFamily kListItems{key_finders::kListItem, "", {}};
const ElementFamily kSpans{key_finders::kSpan, "", {"title", "className", "innerText", "id"}};

// ---- the shapes ----

AutomationObject Find(const AutomationObject& document, const ElementFamily& family, std::string_view key,
                      int skip) {
    int ordinal = 0;
    return FindElementByKey(document, family.finder, family.typeList, key, skip, ordinal);
}

int Ordinal(const AutomationObject& document, const ElementFamily& family, std::string_view key, int skip) {
    int ordinal = 0;
    FindElementByKey(document, family.finder, family.typeList, key, skip, ordinal);
    return ordinal;
}

std::string InfoText(const AutomationObject& element, const char* property) {
    if (property != kCaption) return element.GetText(property);
    return element.GetText(element.GetText("tagName") == "BUTTON" ? "innerText" : "title");
}

bool Info(const AutomationObject& document, const ElementFamily& family, int ordinal,
          std::initializer_list<std::string*> outs, AutomationObject* element) {
    // The ordinal goes in as a key, so an element named like the number wins.
    AutomationObject found = Find(document, family, std::to_string(ordinal), 0);
    const char* const* property = family.infoTexts.data();
    for (std::string* out : outs) {
        if (out) *out = InfoText(found, *property);
        ++property;
    }
    const bool wasFound = !found.IsEmpty();
    if (element) *element = std::move(found);
    return wasFound;
}

std::string Read(const AutomationObject& document, const ElementFamily& family, std::string_view key, int skip,
                 const char* property) {
    return Find(document, family, key, skip).GetText(property);
}

bool Write(const AutomationObject& document, const ElementFamily& family, std::string_view key, int skip,
           const char* property, std::string_view text) {
    return Find(document, family, key, skip).Put(property, text);
}

bool IsChecked(const AutomationObject& document, const ElementFamily& family, std::string_view key, int skip) {
    // The browser reads a boolean as "-1" or "0".
    return Read(document, family, key, skip, "checked") == "-1";
}

bool FireEvent(const AutomationObject& element, std::string_view eventName) {
    const std::string name(eventName);
    AutomationVariant handler = element.GetVariant(name.c_str());
    const bool fired = element.CallBool("FireEvent", name, handler);
    handler.Clear();
    return fired;
}

// Check and uncheck write texts ("checked", ""), which the browser converts.
bool SetChecked(const AutomationObject& document, const ElementFamily& family, std::string_view key, int skip,
                std::string_view text, bool fireMouseDown) {
    const AutomationObject element = Find(document, family, key, skip);
    element.Put("checked", text);
    if (fireMouseDown) FireEvent(element, "onmousedown");
    return !element.IsEmpty();
}

// Click and focus report that the element was found, whatever the page did.
bool Invoke(const AutomationObject& document, const ElementFamily& family, std::string_view key, int skip,
            const char* method) {
    const AutomationObject element = Find(document, family, key, skip);
    element.Call(method);
    return !element.IsEmpty();
}

// Only the inline display changes: "" removes it again.
bool SetHidden(const AutomationObject& document, const ElementFamily& family, std::string_view key, int skip,
               bool hidden) {
    return Find(document, family, key, skip).GetObject("style").Put("display", hidden ? "none" : "");
}

}  // namespace

bool PageAutomation::FireElementEvent(const AutomationObject& element, std::string_view eventName) const {
    return FireEvent(element, eventName);
}

// ---- text inputs ----
AutomationObject PageAutomation::FindTextInput(std::string_view key, int skip) const { return Find(document_, kTextInputs, key, skip); }
std::string PageAutomation::GetTextInputValue(std::string_view key, int skip) const { return Read(document_, kTextInputs, key, skip, "value"); }
int PageAutomation::TextInputOrdinal(std::string_view key) const { return Ordinal(document_, kTextInputs, key, 0); }
bool PageAutomation::GetTextInputInfo(int ordinal, std::string* value, std::string* name, std::string* id, std::string* type, AutomationObject* element) const { return Info(document_, kTextInputs, ordinal, {value, name, id, type}, element); }
bool PageAutomation::SetTextInputValue(std::string_view key, std::string_view value, int skip) const { return Write(document_, kTextInputs, key, skip, "value", value); }
bool PageAutomation::FocusTextInput(std::string_view key, int skip) const { return Invoke(document_, kTextInputs, key, skip, "focus"); }

// ---- multi-line text boxes ----
AutomationObject PageAutomation::FindTextArea(std::string_view key, int skip) const { return Find(document_, kTextAreas, key, skip); }
bool PageAutomation::FocusTextArea(std::string_view key, int skip) const { return Invoke(document_, kTextAreas, key, skip, "focus"); }
bool PageAutomation::SetTextAreaHidden(std::string_view key, int skip, bool hidden) const { return SetHidden(document_, kTextAreas, key, skip, hidden); }
std::string PageAutomation::GetTextAreaValue(std::string_view key, int skip) const { return Read(document_, kTextAreas, key, skip, "value"); }
int PageAutomation::TextAreaOrdinal(std::string_view key, int skip) const { return Ordinal(document_, kTextAreas, key, skip); }
bool PageAutomation::GetTextAreaInfo(int ordinal, std::string* value, std::string* name, std::string* id, AutomationObject* element) const { return Info(document_, kTextAreas, ordinal, {value, name, id}, element); }
bool PageAutomation::SetTextAreaValue(std::string_view key, std::string_view value, int skip) const { return Write(document_, kTextAreas, key, skip, "value", value); }

// ---- radio buttons ----
AutomationObject PageAutomation::FindRadio(std::string_view key, int skip) const { return Find(document_, kRadios, key, skip); }
bool PageAutomation::IsRadioChecked(std::string_view key, int skip) const { return IsChecked(document_, kRadios, key, skip); }
int PageAutomation::RadioOrdinal(std::string_view key, int skip) const { return Ordinal(document_, kRadios, key, skip); }
bool PageAutomation::GetRadioInfo(int ordinal, std::string* title, std::string* name, std::string* id, std::string* type, AutomationObject* element) const { return Info(document_, kRadios, ordinal, {title, name, id, type}, element); }
bool PageAutomation::CheckRadio(std::string_view key, int skip, bool fireMouseDown) const { return SetChecked(document_, kRadios, key, skip, "checked", fireMouseDown); }
bool PageAutomation::UncheckRadio(std::string_view key, int skip, bool fireMouseDown) const { return SetChecked(document_, kRadios, key, skip, "", fireMouseDown); }
bool PageAutomation::FocusRadio(std::string_view key, int skip) const { return Invoke(document_, kRadios, key, skip, "focus"); }
bool PageAutomation::SetRadioHidden(std::string_view key, int skip, bool hidden) const { return SetHidden(document_, kRadios, key, skip, hidden); }

// ---- check boxes ----
AutomationObject PageAutomation::FindCheckBox(std::string_view key, int skip) const { return Find(document_, kCheckBoxes, key, skip); }
bool PageAutomation::IsCheckBoxChecked(std::string_view key, int skip) const { return IsChecked(document_, kCheckBoxes, key, skip); }
int PageAutomation::CheckBoxOrdinal(std::string_view key, int skip) const { return Ordinal(document_, kCheckBoxes, key, skip); }
bool PageAutomation::GetCheckBoxInfo(int ordinal, std::string* title, std::string* name, std::string* id, std::string* type, AutomationObject* element) const { return Info(document_, kCheckBoxes, ordinal, {title, name, id, type}, element); }
bool PageAutomation::CheckCheckBox(std::string_view key, int skip, bool fireMouseDown) const { return SetChecked(document_, kCheckBoxes, key, skip, "checked", fireMouseDown); }
bool PageAutomation::UncheckCheckBox(std::string_view key, int skip, bool fireMouseDown) const { return SetChecked(document_, kCheckBoxes, key, skip, "", fireMouseDown); }
bool PageAutomation::FocusCheckBox(std::string_view key, int skip) const { return Invoke(document_, kCheckBoxes, key, skip, "focus"); }
bool PageAutomation::SetCheckBoxHidden(std::string_view key, int skip, bool hidden) const { return SetHidden(document_, kCheckBoxes, key, skip, hidden); }

// ---- buttons ----
AutomationObject PageAutomation::FindButton(std::string_view key, int skip) const { return Find(document_, kButtons, key, skip); }
bool PageAutomation::GetButtonInfo(int ordinal, std::string* caption, std::string* name, std::string* id, std::string* type, AutomationObject* element) const { return Info(document_, kButtons, ordinal, {caption, name, id, type}, element); }
int PageAutomation::ButtonOrdinal(std::string_view key) const { return Ordinal(document_, kButtons, key, 0); }
bool PageAutomation::FocusButton(std::string_view key, int skip) const { return Invoke(document_, kButtons, key, skip, "focus"); }
bool PageAutomation::SetButtonHidden(std::string_view key, int skip, bool hidden) const { return SetHidden(document_, kButtons, key, skip, hidden); }
bool PageAutomation::ClickButton(std::string_view key, int skip) const { return Invoke(document_, kButtons, key, skip, "click"); }

// ---- cite buttons ----
AutomationObject PageAutomation::FindCiteButton(std::string_view key, int skip) const { return Find(document_, kCiteButtons, key, skip); }
bool PageAutomation::GetCiteButtonInfo(int ordinal, std::string* innerText, std::string* name, std::string* id, AutomationObject* element) const { return Info(document_, kCiteButtons, ordinal, {innerText, name, id}, element); }
int PageAutomation::CiteButtonOrdinal(std::string_view key, int skip) const { return Ordinal(document_, kCiteButtons, key, skip); }
bool PageAutomation::ClickCiteButton(std::string_view key, int skip) const { return Invoke(document_, kCiteButtons, key, skip, "click"); }
std::string PageAutomation::GetCiteButtonHtml(std::string_view key, int skip) const { return Read(document_, kCiteButtons, key, skip, "outerHTML"); }
bool PageAutomation::FocusCiteButton(std::string_view key, int skip) const { return Invoke(document_, kCiteButtons, key, skip, "focus"); }
bool PageAutomation::SetCiteButtonHidden(std::string_view key, int skip, bool hidden) const { return SetHidden(document_, kCiteButtons, key, skip, hidden); }

// ---- image buttons ----
AutomationObject PageAutomation::FindImageButton(std::string_view key, int skip) const { return Find(document_, kImageButtons, key, skip); }
bool PageAutomation::GetImageButtonInfo(int ordinal, std::string* title, std::string* name, std::string* id, std::string* type, AutomationObject* element) const { return Info(document_, kImageButtons, ordinal, {title, name, id, type}, element); }
int PageAutomation::ImageButtonOrdinal(std::string_view key, int skip) const { return Ordinal(document_, kImageButtons, key, skip); }
bool PageAutomation::ClickImageButton(std::string_view key, int skip) const { return Invoke(document_, kImageButtons, key, skip, "click"); }
std::string PageAutomation::GetImageButtonHtml(std::string_view key, int skip) const { return Read(document_, kImageButtons, key, skip, "outerHTML"); }
bool PageAutomation::FocusImageButton(std::string_view key, int skip) const { return Invoke(document_, kImageButtons, key, skip, "focus"); }

// ---- links ----
AutomationObject PageAutomation::FindLink(std::string_view key, int skip) const { return Find(document_, kLinks, key, skip); }
bool PageAutomation::GetLinkInfo(int ordinal, std::string* innerText, std::string* href, std::string* id, std::string* name, AutomationObject* element) const { return Info(document_, kLinks, ordinal, {innerText, href, id, name}, element); }
int PageAutomation::LinkOrdinal(std::string_view key, int skip) const { return Ordinal(document_, kLinks, key, skip); }
std::string PageAutomation::GetLinkHtml(std::string_view key, int skip) const { return Read(document_, kLinks, key, skip, "outerHTML"); }
std::string PageAutomation::GetLinkText(std::string_view key, int skip) const { return Read(document_, kLinks, key, skip, "innerText"); }
bool PageAutomation::FocusLink(std::string_view key, int skip) const { return Invoke(document_, kLinks, key, skip, "focus"); }
bool PageAutomation::SetLinkHidden(std::string_view key, int skip, bool hidden) const { return SetHidden(document_, kLinks, key, skip, hidden); }

bool PageAutomation::ClickLink(std::string_view key, int skip, bool clearTarget) const {
    const AutomationObject link = Find(document_, kLinks, key, skip);
    // Without a target the link opens in this window.
    if (clearTarget) link.Put("target", "");
    link.Call("click");
    return !link.IsEmpty();
}

// ---- images ----
bool PageAutomation::ClickImage(std::string_view key, int skip) const { return Invoke(document_, kImages, key, skip, "click"); }
AutomationObject PageAutomation::FindImage(std::string_view key, int skip) const { return Find(document_, kImages, key, skip); }
bool PageAutomation::GetImageInfo(int ordinal, std::string* src, std::string* width, std::string* height, std::string* title, std::string* name, std::string* id, AutomationObject* element) const { return Info(document_, kImages, ordinal, {src, width, height, title, name, id}, element); }
int PageAutomation::ImageOrdinal(std::string_view key, int skip) const { return Ordinal(document_, kImages, key, skip); }
bool PageAutomation::SetImageHidden(std::string_view key, int skip, bool hidden) const { return SetHidden(document_, kImages, key, skip, hidden); }

// ---- hidden fields ----
AutomationObject PageAutomation::FindHiddenField(std::string_view key, int skip) const { return Find(document_, kHiddenFields, key, skip); }
std::string PageAutomation::GetHiddenFieldValue(std::string_view key, int skip) const { return Read(document_, kHiddenFields, key, skip, "value"); }
int PageAutomation::HiddenFieldOrdinal(std::string_view key) const { return Ordinal(document_, kHiddenFields, key, 0); }
bool PageAutomation::GetHiddenFieldInfo(int ordinal, std::string* value, std::string* name, std::string* id, std::string* type, AutomationObject* element) const { return Info(document_, kHiddenFields, ordinal, {value, name, id, type}, element); }
bool PageAutomation::SetHiddenFieldValue(std::string_view key, std::string_view value, int skip) const { return Write(document_, kHiddenFields, key, skip, "value", value); }

// ---- div blocks ----
AutomationObject PageAutomation::FindDiv(std::string_view key, int skip) const { return Find(document_, kDivs, key, skip); }
bool PageAutomation::GetDivInfo(int ordinal, std::string* className, std::string* title, std::string* id, AutomationObject* element) const { return Info(document_, kDivs, ordinal, {className, title, id}, element); }
std::string PageAutomation::GetDivInnerHtml(std::string_view key, int skip) const { return Read(document_, kDivs, key, skip, "innerHTML"); }
bool PageAutomation::SetDivInnerHtml(std::string_view key, std::string_view html, int skip) const { return Write(document_, kDivs, key, skip, "innerHTML", html); }
std::string PageAutomation::GetDivHtml(std::string_view key, int skip) const { return Read(document_, kDivs, key, skip, "outerHTML"); }
int PageAutomation::DivOrdinal(std::string_view key, int skip) const { return Ordinal(document_, kDivs, key, skip); }
bool PageAutomation::ClickDiv(std::string_view key, int skip) const { return Invoke(document_, kDivs, key, skip, "click"); }
bool PageAutomation::SetDivHidden(std::string_view key, int skip, bool hidden) const { return SetHidden(document_, kDivs, key, skip, hidden); }

// ---- list items ----
int PageAutomation::ListItemOrdinal(std::string_view key, int skip) const { return Ordinal(document_, kListItems, key, skip); }
bool PageAutomation::ClickListItem(std::string_view key, int skip) const { return Invoke(document_, kListItems, key, skip, "click"); }
std::string PageAutomation::GetListItemHtml(std::string_view key, int skip) const { return Read(document_, kListItems, key, skip, "outerHTML"); }

// ---- spans ----
AutomationObject PageAutomation::FindSpan(std::string_view key, int skip) const { return Find(document_, kSpans, key, skip); }
bool PageAutomation::ClickSpan(std::string_view key, int skip) const { return Invoke(document_, kSpans, key, skip, "click"); }
int PageAutomation::SpanOrdinal(std::string_view key, int skip) const { return Ordinal(document_, kSpans, key, skip); }
bool PageAutomation::GetSpanInfo(int ordinal, std::string* title, std::string* className, std::string* innerText, std::string* id, AutomationObject* element) const { return Info(document_, kSpans, ordinal, {title, className, innerText, id}, element); }
std::string PageAutomation::GetSpanInnerHtml(std::string_view key, int skip) const { return Read(document_, kSpans, key, skip, "innerHTML"); }
std::string PageAutomation::GetSpanHtml(std::string_view key, int skip) const { return Read(document_, kSpans, key, skip, "outerHTML"); }
bool PageAutomation::SetSpanInnerHtml(std::string_view key, std::string_view html, int skip) const { return Write(document_, kSpans, key, skip, "innerHTML", html); }
bool PageAutomation::SetSpanHidden(std::string_view key, int skip, bool hidden) const { return SetHidden(document_, kSpans, key, skip, hidden); }

}  // namespace corvalin
