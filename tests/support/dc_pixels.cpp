#include "support/dc_pixels.h"

#include "base/unique.h"

namespace corvalin::testing {

std::vector<COLORREF> ReadDcPixels(HDC source, int width, int height) {
    std::vector<COLORREF> pixels;
    if (!source || width <= 0 || height <= 0) return pixels;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB};
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueMemoryDc memory(CreateCompatibleDC(source));
    if (!bitmap || !memory) return pixels;
    {
        SelectScope selected(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, width, height, source, 0, 0, SRCCOPY);
        GdiFlush();
    }
    const auto* p = static_cast<const UINT32*>(bits);
    const std::size_t count = static_cast<std::size_t>(width) * height;
    pixels.reserve(count);
    for (std::size_t i = 0; i < count; ++i) pixels.push_back(RGB((p[i] >> 16) & 0xFF, (p[i] >> 8) & 0xFF, p[i] & 0xFF));
    return pixels;
}

}  // namespace corvalin::testing
