// Preparing pictures for the window background, and refreshing every skinned
// window after the skin-wide picture changed.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "base/text.h"

namespace corvalin {

class SkinCanvas;
class SkinEngine;
struct SkinWindowRecord;

// The mean colour of 2000 random pixels (borders excluded), as a Windows
// colour whose top byte is 0xFF. A picture that does not decode reads black.
COLORREF AverageColor(const Bytes& picture);
COLORREF AverageColor(const SkinCanvas& canvas);

enum class FadeSide { Left, Right };

// The picture (the file when a name is given, else the bytes) with one side
// and the bottom faded into `color`, encoded as PNG; the fade is 30% of the
// width unless given. Empty when the picture does not decode.
Bytes FadePictureEdges(const Bytes& picture, const std::string& fileName, FadeSide side, COLORREF color,
                       std::optional<int> fadeWidth);

// The picture as a window keeps it for a layout mode: faded towards the
// right (mode 0) or left (mode 1), else the bytes as given (a file re-encoded
// as PNG).
Bytes PreparePicture(const Bytes& picture, const std::string& fileName, int mode, COLORREF color);

// Rebuilds the cache of every visible skinned window and invalidates it with
// its visible children and registered headers.
void RefreshSkinnedWindows(SkinEngine& engine);

// Drops what a window's rebuilds keep (the static layer, the caption's kept
// pixels, the children's exclusion): the next rebuild composes all of it
// afresh, as after a change of size.
void ForgetComposedLayers(SkinWindowRecord& record);

}  // namespace corvalin
