#include "automation/page_automation.h"

#include <string>

namespace corvalin {

AutomationObject PageAutomation::ShowPopup(int x, int y, int width, int height, std::string_view html,
                                           int backgroundColor, int borderWidth, int borderColor,
                                           const AutomationObject& anchor) const {
    const AutomationObject popup = document_.GetObject("parentWindow").CallObject("createPopup");
    if (popup.IsEmpty()) return {};
    const AutomationObject body = popup.GetObject("document").GetObject("body");
    const AutomationObject style = body.GetObject("style");
    style.Put("backgroundColor", ColorToHex(backgroundColor));
    // The colour and the width are separate words: run together
    // ("C0C0C01px") they would read as neither.
    style.Put("border", "solid " + ColorToHex(borderColor) + " " + std::to_string(borderWidth) + "px");
    body.Put("innerHTML", html);
    if (anchor.IsEmpty()) {
        popup.Call("show", x, y, width, height);
    } else {
        popup.Call("show", x, y, width, height, anchor);
    }
    return popup;
}

void PageAutomation::HidePopup(const AutomationObject& popup) const { popup.Call("hide"); }

}  // namespace corvalin
