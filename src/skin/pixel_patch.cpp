#include "skin/pixel_patch.h"

#include <algorithm>
#include <cstring>

namespace corvalin {

DibPixels DibPixels::Of(HBITMAP bitmap) {
    DIBSECTION section{};
    if (!bitmap || GetObjectA(bitmap, sizeof(section), &section) != sizeof(section)) return {};
    const BITMAP& b = section.dsBm;
    if (!b.bmBits || b.bmBitsPixel != 32 || section.dsBmih.biHeight <= 0) return {};
    return DibPixels{static_cast<std::uint32_t*>(b.bmBits), b.bmWidth, b.bmHeight};
}

bool PixelPatch::Take(const DibPixels& source, const RECT& rect) {
    Clear();
    if (!source) return false;
    const RECT cut{std::max<LONG>(rect.left, 0), std::max<LONG>(rect.top, 0), std::min<LONG>(rect.right, source.width),
                   std::min<LONG>(rect.bottom, source.height)};
    if (cut.right <= cut.left || cut.bottom <= cut.top) return false;
    // What GDI still holds back must be in the bits before they are read.
    GdiFlush();
    const int w = cut.right - cut.left;
    pixels_.resize(static_cast<std::size_t>(w) * (cut.bottom - cut.top));
    std::uint32_t* out = pixels_.data();
    for (int y = cut.top; y < cut.bottom; ++y, out += w) std::memcpy(out, source.Row(y) + cut.left, w * 4u);
    rect_ = cut;
    return true;
}

bool PixelPatch::Put(const DibPixels& target) const {
    if (pixels_.empty() || !target || rect_.right > target.width || rect_.bottom > target.height) return false;
    GdiFlush();
    const int w = rect_.right - rect_.left;
    const std::uint32_t* in = pixels_.data();
    for (int y = rect_.top; y < rect_.bottom; ++y, in += w) std::memcpy(target.Row(y) + rect_.left, in, w * 4u);
    return true;
}

void PixelPatch::Clear() {
    pixels_.clear();
    rect_ = RECT{};
}

}  // namespace corvalin
