// The pictures carried inside the program as encoded files (PNG glyphs, the
// JPEG window background). Nothing is unpacked here: painters draw them
// through the process's cache of decoded pictures.
#pragma once
#include <cstddef>
#include <cstdint>
#include "base/text.h"

namespace corvalin {

struct BuiltinImage {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    Bytes ToBytes() const { return Bytes(data, data + size); }
};

BuiltinImage CaptionHelpGlyph();       // 26 x 18
BuiltinImage CaptionMenuGlyph();       // 26 x 18
BuiltinImage CaptionMinGlyph();        // 26 x 18
BuiltinImage CaptionMaxGlyph();        // 26 x 18
BuiltinImage CaptionRestoreGlyph();    // 26 x 18
BuiltinImage CaptionCloseGlyph();      // 38 x 18
BuiltinImage CheckBoxGlyph();          // 13 x 13
BuiltinImage CheckBoxCheckedGlyph();   // 13 x 13
BuiltinImage ArrowDownGlyph();         // 7 x 4
BuiltinImage ArrowUpGlyph();           // 7 x 4
BuiltinImage ArrowLeftGlyph();         // 4 x 7
BuiltinImage ArrowRightGlyph();        // 4 x 7
BuiltinImage WindowBackgroundPicture(); // 480 x 320 JPEG

}  // namespace corvalin
