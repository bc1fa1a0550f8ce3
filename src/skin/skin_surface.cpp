#include "skin/skin_surface.h"

namespace corvalin {

bool SkinMemorySurface::Create(int width, int height) {
    Release();
    HDC screen = GetDC(nullptr);
    HBITMAP newBitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    return Adopt(newBitmap);
}

bool SkinMemorySurface::Adopt(HBITMAP newBitmap) {
    if (!newBitmap) return false;
    dc = CreateCompatibleDC(nullptr);
    if (!dc) {
        DeleteObject(newBitmap);
        return false;
    }
    bitmap = newBitmap;
    original = SelectObject(dc, bitmap);
    return true;
}

HBITMAP SkinMemorySurface::NewDib(int width, int height, void** bits) {
    // The layout GDI+ gives the bitmaps it hands out: 32 bits, rows bottom-up.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (bits) *bits = bitmap ? pixels : nullptr;
    return bitmap;
}

bool SkinMemorySurface::CreateDib(int width, int height, void** bits) {
    Release();
    return Adopt(NewDib(width, height, bits));
}

bool SkinMemorySurface::EnsureDc() {
    if (!dc) dc = CreateCompatibleDC(nullptr);
    return dc != nullptr;
}

void SkinMemorySurface::ReplaceBitmap(HBITMAP newBitmap) {
    if (!dc) return;
    HGDIOBJ out = SelectObject(dc, newBitmap);
    if (!original) original = out;
    else if (out && out != original) DeleteObject(out);
    bitmap = newBitmap;
}

void SkinMemorySurface::Release() {
    if (dc) {
        HGDIOBJ out = original ? SelectObject(dc, original) : nullptr;
        if (out && out != original) DeleteObject(out);
        DeleteDC(dc);
        if (bitmap && bitmap != out) DeleteObject(bitmap);
    } else if (bitmap) {
        DeleteObject(bitmap);
    }
    dc = nullptr;
    original = nullptr;
    bitmap = nullptr;
}

}  // namespace corvalin
