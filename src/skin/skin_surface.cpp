#include "skin/skin_surface.h"

namespace corvalin {

bool SkinMemorySurface::Create(int width, int height) {
    Release();
    HDC screen = GetDC(nullptr);
    HBITMAP newBitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
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
