#include "skin/memory_dc_registry.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace corvalin {

namespace {

std::vector<SkinMemorySurface>& Entries() {
    static std::vector<SkinMemorySurface> entries;
    return entries;
}

std::vector<SkinMemorySurface>::iterator FindEntry(HDC dc) {
    auto& entries = Entries();
    return std::find_if(entries.begin(), entries.end(), [dc](const SkinMemorySurface& e) { return e.dc() == dc; });
}

}  // namespace

HDC RememberMemorySurface(SkinMemorySurface surface) {
    const HDC dc = surface.dc();
    if (dc) Entries().push_back(std::move(surface));
    return dc;
}

void RememberMemoryDC(HDC dc, HBITMAP bitmap, HGDIOBJ previous) {
    if (!dc) return;
    auto it = FindEntry(dc);
    if (it != Entries().end()) {
        // The same DC again: it keeps its entry; a bitmap it replaces is freed.
        it->ReplaceBitmap(UniqueBitmap(bitmap));
        return;
    }
    SkinMemorySurface surface;
    surface.Adopt(UniqueMemoryDc(dc), UniqueBitmap(bitmap), previous);
    Entries().push_back(std::move(surface));
}

void ReleaseMemoryDC(HDC dc) {
    if (!dc) return;
    auto it = FindEntry(dc);
    if (it != Entries().end()) Entries().erase(it);
}

void ReleaseAllMemoryDCs() { Entries().clear(); }

std::size_t MemoryDCCount() { return Entries().size(); }

}  // namespace corvalin
