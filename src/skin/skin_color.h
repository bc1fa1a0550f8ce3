// Settings and window properties hold Windows colours (0x00BBGGRR); GDI+ takes
// ARGB (0xAARRGGBB).
#pragma once
#include <windows.h>
#include <cstdint>

namespace corvalin {

// alpha is used when useAlpha is non-zero, else the colour is opaque.
constexpr std::uint32_t ColorToArgb(COLORREF color, int alpha, int useAlpha = 1) {
    const std::uint32_t a = useAlpha ? static_cast<std::uint32_t>(alpha) & 0xFF : 0xFF;
    return (a << 24) | ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

}  // namespace corvalin
