#include "skin/drawing/skin_string_format.h"

namespace corvalin {

bool SkinStringFormat::Create(int formatFlags, LANGID language) {
    return RecordDrawStatus(gdip::GdipCreateStringFormat(formatFlags, language, Out()));
}
bool SkinStringFormat::SetAlignment(Gdiplus::StringAlignment alignment) {
    return RecordDrawStatus(gdip::GdipSetStringFormatAlign(Handle(), alignment));
}
bool SkinStringFormat::SetLineAlignment(Gdiplus::StringAlignment alignment) {
    return RecordDrawStatus(gdip::GdipSetStringFormatLineAlign(Handle(), alignment));
}
bool SkinStringFormat::SetTrimming(Gdiplus::StringTrimming trimming) {
    return RecordDrawStatus(gdip::GdipSetStringFormatTrimming(Handle(), trimming));
}

}  // namespace corvalin
