// Rectangles of composed pixels read out of a 32-bit DIB section and written
// back into one, as plain memory: a kept piece of the background cache costs
// a few row copies to put back, and no GDI object while it is kept.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

namespace corvalin {

// The pixels of a 32-bit DIB section, rows bottom-up as the skin makes them.
struct DibPixels {
    std::uint32_t* bits = nullptr;
    int width = 0;
    int height = 0;

    // The pixels of `bitmap`; empty when it is not a 32-bit bottom-up DIB section.
    static DibPixels Of(HBITMAP bitmap);
    explicit operator bool() const { return bits != nullptr; }
    std::uint32_t* Row(int y) const { return bits + static_cast<std::size_t>(height - 1 - y) * width; }
};

class PixelPatch {
public:
    // Copies `rect` (cut to the picture) out of `source`; false when nothing is left.
    bool Take(const DibPixels& source, const RECT& rect);
    // Writes the pixels back where they came from; false when they do not fit.
    bool Put(const DibPixels& target) const;
    void Clear();
    bool empty() const { return pixels_.empty(); }

private:
    RECT rect_{};
    std::vector<std::uint32_t> pixels_;
};

}  // namespace corvalin
