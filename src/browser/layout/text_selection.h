// Where the mouse meets the text: the text point under a point of the view,
// and the selection painted over the text runs it covers.
#pragma once
#include <windows.h>

#include <optional>
#include <vector>

#include "browser/dom/text_range.h"
#include "browser/layout/document_layout.h"

namespace corvalin::browser::layout {

// The text point nearest to (x, y) in view coordinates: in the run under the
// point, else in the nearest run of that line, else in the nearest line.
std::optional<dom::TextPoint> TextPointAt(dom::Document& document, long x, long y);

// Paints the characters of a text run that `covered` holds in the system's
// highlight colours, over the run already painted at `r`.
void PaintSelectedText(HDC dc, const PaintItem& item, const RECT& r,
                       const std::vector<dom::TextRange::NodeSpan>& covered);

}  // namespace corvalin::browser::layout
