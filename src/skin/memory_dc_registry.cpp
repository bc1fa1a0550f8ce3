#include "skin/memory_dc_registry.h"
#include <algorithm>
#include <vector>

namespace corvalin {

namespace {

struct MemoryDcEntry {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
};

std::vector<MemoryDcEntry>& Entries() {
    static std::vector<MemoryDcEntry> entries;
    return entries;
}

void Free(const MemoryDcEntry& entry) {
    HGDIOBJ out = SelectObject(entry.dc, entry.previous);
    if (out && out != HGDI_ERROR) DeleteObject(out);
    else if (entry.bitmap) DeleteObject(entry.bitmap);
    DeleteDC(entry.dc);
}

}  // namespace

void RememberMemoryDC(HDC dc, HBITMAP bitmap, HGDIOBJ previous) {
    if (!dc) return;
    auto& entries = Entries();
    auto it = std::find_if(entries.begin(), entries.end(), [dc](const MemoryDcEntry& e) { return e.dc == dc; });
    if (it != entries.end()) *it = {dc, bitmap, previous};
    else entries.push_back({dc, bitmap, previous});
}

void ReleaseMemoryDC(HDC dc) {
    if (!dc) return;
    auto& entries = Entries();
    auto it = std::find_if(entries.begin(), entries.end(), [dc](const MemoryDcEntry& e) { return e.dc == dc; });
    if (it == entries.end()) return;
    const MemoryDcEntry entry = *it;
    entries.erase(it);
    Free(entry);
}

void ReleaseAllMemoryDCs() {
    auto& entries = Entries();
    for (const MemoryDcEntry& entry : entries) Free(entry);
    entries.clear();
}

std::size_t MemoryDCCount() { return Entries().size(); }

}  // namespace corvalin
