// GDI fonts for computed styles, and text measured in them. Fonts are kept for
// the life of the process, one per distinct face, size and weight, so laying
// out a page again creates no GDI objects.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "browser/layout/computed_style.h"

namespace corvalin::browser::layout {

struct Font {
    HFONT handle = nullptr;
    long ascent = 0;
    long descent = 0;
    long averageWidth = 0;
    long Height() const { return ascent + descent; }
};

// The font of a style (family, size, weight, italic, underline, strike-out).
const Font& FontOf(const ComputedStyle& style);

// Measures text on a DC private to the calling thread; results are cached by
// font and text, so repeated words cost one lookup.
long TextWidth(const Font& font, std::wstring_view text);

}  // namespace corvalin::browser::layout
