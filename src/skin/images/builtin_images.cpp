#include "skin/images/builtin_images.h"

#define CORVALIN_BUILTIN_IMAGE(name)                                              \
    extern const unsigned char name##Bytes[];                                     \
    extern const std::size_t name##BytesSize;                                     \
    namespace corvalin {                                                          \
    BuiltinImage name() { return {::name##Bytes, ::name##BytesSize}; }            \
    }

CORVALIN_BUILTIN_IMAGE(CaptionHelpGlyph)
CORVALIN_BUILTIN_IMAGE(CaptionMenuGlyph)
CORVALIN_BUILTIN_IMAGE(CaptionMinGlyph)
CORVALIN_BUILTIN_IMAGE(CaptionMaxGlyph)
CORVALIN_BUILTIN_IMAGE(CaptionRestoreGlyph)
CORVALIN_BUILTIN_IMAGE(CaptionCloseGlyph)
CORVALIN_BUILTIN_IMAGE(CheckBoxGlyph)
CORVALIN_BUILTIN_IMAGE(CheckBoxCheckedGlyph)
CORVALIN_BUILTIN_IMAGE(ArrowDownGlyph)
CORVALIN_BUILTIN_IMAGE(ArrowUpGlyph)
CORVALIN_BUILTIN_IMAGE(ArrowLeftGlyph)
CORVALIN_BUILTIN_IMAGE(ArrowRightGlyph)
CORVALIN_BUILTIN_IMAGE(WindowBackgroundPicture)
