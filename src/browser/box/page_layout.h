// A plain flow layout of a document, enough to draw it and to find the
// element under the mouse: text wraps at the window's width, block elements
// start new lines, form controls are boxes, images are frames.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "browser/dom/document.h"

namespace corvalin::browser {

struct LaidOutItem {
    enum class Kind { Text, Control, Image };
    Kind kind = Kind::Text;
    RECT bounds{};
    std::wstring text;           // what is drawn (text run, control value, alt text)
    dom::Element* element;       // the nearest element (the control, the link, the text's parent)
    bool link = false;           // inside <a href>
    bool checked = false;        // check boxes and radios
    std::wstring type;           // control type ("text", "submit", "checkbox", "select-one"...)
};

// Lays the document's body out in `dc` (whose font is used) for `width`
// pixels; what starts below `height` is left out.
std::vector<LaidOutItem> LayOutDocument(HDC dc, dom::Document& document, int width, int height = 1 << 20);
// Draws what LayOutDocument produced.
void PaintLayout(HDC dc, const std::vector<LaidOutItem>& items);
// The innermost element at a point, or nullptr.
dom::Element* ElementAt(const std::vector<LaidOutItem>& items, POINT point);

}  // namespace corvalin::browser
