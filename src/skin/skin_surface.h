// A memory device context that keeps a bitmap selected: the skin's per-window
// caches (background, caption copy, menu-bar copy) and control backgrounds.
#pragma once
#include <windows.h>

#include "base/unique.h"

namespace corvalin {

// A selection into a DC kept by an owner of that DC: the object it replaced
// goes back when the selection ends.
class KeptSelection {
public:
    KeptSelection() = default;
    KeptSelection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {
        if (previous_ == HGDI_ERROR) previous_ = nullptr;
    }
    // A selection made already, whose replaced object is `previous`.
    static KeptSelection Adopt(HDC dc, HGDIOBJ previous);
    KeptSelection(KeptSelection&& o) noexcept;
    KeptSelection& operator=(KeptSelection&& o) noexcept;
    ~KeptSelection() { Restore(); }
    // Selects another object; the object to put back stays the first one.
    void Reselect(HGDIOBJ object) { if (dc_) SelectObject(dc_, object); }
    HGDIOBJ previous() const { return previous_; }
private:
    void Restore();
    HDC dc_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

class SkinMemorySurface {
public:
    SkinMemorySurface() = default;
    SkinMemorySurface(SkinMemorySurface&& o) noexcept = default;
    SkinMemorySurface& operator=(SkinMemorySurface&& o) noexcept;
    ~SkinMemorySurface() { Release(); }

    // A w x h surface compatible with the screen; false on failure.
    bool Create(int width, int height);
    // A w x h 32-bit DIB section, all zero (transparent black), with its
    // pixels in `bits` (bottom-up rows); false on failure.
    bool CreateDib(int width, int height, void** bits);
    // A new surface around `bitmap`; false (and the bitmap freed) on failure.
    bool Adopt(UniqueBitmap bitmap);
    // Takes over a memory DC made elsewhere, with the bitmap selected into it
    // and the object it held before.
    void Adopt(UniqueMemoryDc dc, UniqueBitmap bitmap, HGDIOBJ previous);
    // A device context without a bitmap of its own yet.
    bool EnsureDc();
    // A new w x h DIB section as CreateDib makes them.
    static UniqueBitmap NewDib(int width, int height, void** bits);
    // Selects a new bitmap, freeing the one it replaces.
    void ReplaceBitmap(UniqueBitmap bitmap);
    // Puts the original object back, frees the bitmap and the DC.
    void Release();

    HDC dc() const { return dc_.get(); }
    HBITMAP bitmap() const { return bitmap_.get(); }
    // The object the DC held before the surface's first bitmap.
    HGDIOBJ original() const { return selection_.previous(); }

private:
    // Destroyed in reverse: the selection is undone before the bitmap is
    // freed, and the bitmap before its DC.
    UniqueMemoryDc dc_;
    UniqueBitmap bitmap_;
    KeptSelection selection_;
};

}  // namespace corvalin
