// Reading back what a DC shows: the pixels tests compare with what should be painted.
#pragma once
#include <windows.h>

#include <vector>

namespace corvalin::testing {

// The colours of the width × height pixels at the DC's origin, row by row
// (colour of (x, y) at [y * width + x]); empty when they cannot be read.
std::vector<COLORREF> ReadDcPixels(HDC source, int width, int height);

}  // namespace corvalin::testing
