#include "skin/skin_surface.h"

#include <utility>

namespace corvalin {

KeptSelection KeptSelection::Adopt(HDC dc, HGDIOBJ previous) {
    KeptSelection selection;
    selection.dc_ = dc;
    selection.previous_ = previous;
    return selection;
}

KeptSelection::KeptSelection(KeptSelection&& o) noexcept
    : dc_(std::exchange(o.dc_, nullptr)), previous_(std::exchange(o.previous_, nullptr)) {}

KeptSelection& KeptSelection::operator=(KeptSelection&& o) noexcept {
    if (this != &o) {
        Restore();
        dc_ = std::exchange(o.dc_, nullptr);
        previous_ = std::exchange(o.previous_, nullptr);
    }
    return *this;
}

void KeptSelection::Restore() {
    if (dc_ && previous_) SelectObject(dc_, previous_);
    dc_ = nullptr;
    previous_ = nullptr;
}

SkinMemorySurface& SkinMemorySurface::operator=(SkinMemorySurface&& o) noexcept {
    if (this != &o) {
        Release();
        dc_ = std::move(o.dc_);
        bitmap_ = std::move(o.bitmap_);
        selection_ = std::move(o.selection_);
    }
    return *this;
}

bool SkinMemorySurface::Create(int width, int height) {
    WindowDc screen(nullptr);
    return Adopt(UniqueBitmap(CreateCompatibleBitmap(screen.get(), width, height)));
}

bool SkinMemorySurface::Adopt(UniqueBitmap bitmap) {
    Release();
    if (!bitmap || !EnsureDc()) return false;
    ReplaceBitmap(std::move(bitmap));
    return true;
}

void SkinMemorySurface::Adopt(UniqueMemoryDc dc, UniqueBitmap bitmap, HGDIOBJ previous) {
    Release();
    dc_ = std::move(dc);
    if (dc_) selection_ = KeptSelection::Adopt(dc_.get(), previous);
    bitmap_ = std::move(bitmap);
}

UniqueBitmap SkinMemorySurface::NewDib(int width, int height, void** bits) {
    // The layout GDI+ gives the bitmaps it hands out: 32 bits, rows bottom-up.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (bits) *bits = bitmap ? pixels : nullptr;
    return bitmap;
}

bool SkinMemorySurface::CreateDib(int width, int height, void** bits) {
    return Adopt(NewDib(width, height, bits));
}

bool SkinMemorySurface::EnsureDc() {
    if (!dc_) dc_.reset(CreateCompatibleDC(nullptr));
    return static_cast<bool>(dc_);
}

void SkinMemorySurface::ReplaceBitmap(UniqueBitmap bitmap) {
    if (!dc_) return;
    if (bitmap.get() == bitmap_.get()) {   // already ours
        bitmap.release();
        return;
    }
    if (!selection_.previous()) selection_ = KeptSelection(dc_.get(), bitmap.get());
    else selection_.Reselect(bitmap.get());
    bitmap_ = std::move(bitmap);   // the replaced bitmap is no longer selected: freed here
}

void SkinMemorySurface::Release() {
    selection_ = KeptSelection();
    bitmap_.reset();
    dc_.reset();
}

}  // namespace corvalin
