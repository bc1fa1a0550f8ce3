// A memory device context that keeps a bitmap selected: the skin's per-window
// caches (background, caption copy, menu-bar copy).
#pragma once
#include <windows.h>
#include <utility>

namespace corvalin {

struct SkinMemorySurface {
    HDC dc = nullptr;
    HGDIOBJ original = nullptr;   // selected into dc when it was created
    HBITMAP bitmap = nullptr;     // selected into dc now

    SkinMemorySurface() = default;
    SkinMemorySurface(const SkinMemorySurface&) = delete;
    SkinMemorySurface& operator=(const SkinMemorySurface&) = delete;
    SkinMemorySurface(SkinMemorySurface&& o) noexcept
        : dc(std::exchange(o.dc, nullptr)), original(std::exchange(o.original, nullptr)),
          bitmap(std::exchange(o.bitmap, nullptr)) {}
    SkinMemorySurface& operator=(SkinMemorySurface&& o) noexcept {
        if (this != &o) {
            Release();
            dc = std::exchange(o.dc, nullptr);
            original = std::exchange(o.original, nullptr);
            bitmap = std::exchange(o.bitmap, nullptr);
        }
        return *this;
    }
    ~SkinMemorySurface() { Release(); }

    // A w x h surface compatible with the screen; false on failure.
    bool Create(int width, int height);
    // A w x h 32-bit DIB section, all zero (transparent black), with its
    // pixels in `bits` (bottom-up rows); false on failure.
    bool CreateDib(int width, int height, void** bits);
    // A device context without a bitmap of its own yet (the first
    // ReplaceBitmap records what it held).
    bool EnsureDc();
    // A new w x h DIB section as CreateDib makes them, owned by the caller.
    static HBITMAP NewDib(int width, int height, void** bits);
    // Selects a new bitmap, deleting the one it replaces.
    void ReplaceBitmap(HBITMAP newBitmap);
    // Puts the original object back, deletes the bitmap and the DC.
    void Release();

private:
    // Takes `newBitmap` (deleted on failure) into a new memory DC.
    bool Adopt(HBITMAP newBitmap);
};

}  // namespace corvalin
