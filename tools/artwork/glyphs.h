// The skin's twelve glyphs, drawn from code.
#pragma once
#include <string>
#include <vector>
#include "raster.h"

namespace corvalin::artwork {

struct Glyph {
    std::string fileName;   // under src/skin/images/
    Raster raster;
};

// Translucent white, alpha falling row by row from 0x50 to 0x01, with a
// faint separator in the leftmost column (and, for the close button, in the
// second column from the right, beside a black, nearly clear last column).
Raster CaptionBackground(int width, int height, bool closeButton);

Raster CaptionHelp();
Raster CaptionMenu();
Raster CaptionMin();
Raster CaptionMax();
Raster CaptionRestore();
Raster CaptionClose();
Raster CheckBox(bool checked);
enum class ArrowDirection { Down, Up, Left, Right };
Raster Arrow(ArrowDirection direction);

// All twelve in the order the skin lists them.
std::vector<Glyph> AllGlyphs();

// The pixels of the check mark, row by row: {row, first column, last column}.
struct CheckRun {
    int row, first, last;
};
const std::vector<CheckRun>& CheckMarkRuns();

}  // namespace corvalin::artwork
