// The page's selection and text highlighting, through the browser's text
// ranges.
#include <string>

#include "automation/page_automation.h"

namespace corvalin {

std::string PageAutomation::GetSelection(int asHtml) const {
    const AutomationObject range = document_.GetObject("selection").CallObject("createRange");
    if (range.IsEmpty()) return {};
    return range.GetText(asHtml >= 1 ? "htmlText" : "Text");
}

void PageAutomation::PasteHtmlAtSelection(std::string_view html) const {
    document_.GetObject("selection").CallObject("createRange").Call("pasteHTML", html);
}

void PageAutomation::HighlightText(std::string_view text, std::string& color, std::string& background, bool bold) const {
    if (color.empty()) color = "ff0000";
    if (background.empty()) background = "D6F20D";
    const std::string opening = std::string(bold ? "<B style='COLOR: #" : "<font style='COLOR: #") + color +
                                "; BACKGROUND-COLOR: #" + background + "'>";
    const char* closing = bold ? "</B>" : "</font>";
    const AutomationObject body = document_.GetObject("body");
    if (body.IsEmpty()) return;
    const AutomationObject range = body.CallObject("createTextRange");
    while (range.CallBool("FindText", text)) {
        const std::string found = range.GetText("Text");
        range.Call("pasteHTML", opening + found + closing);
        range.Call("MoveStart", "character", 1);
    }
}

}  // namespace corvalin
