// What a paint from the cache leaves out: the rectangles of a skinned
// window's visible direct children that lack WS_EX_TRANSPARENT. Listing the
// children costs a server round trip per child, so the region is kept and
// checked against the children it was made from (each check reads the
// child's own state in process); it is made again when one of them moves,
// shows, hides or goes, and after Forget (a child created, a rebuild).
#pragma once
#include <windows.h>

#include <vector>

#include "base/unique.h"

namespace corvalin {

class ChildExclusion {
public:
    // Clips `dc`, a fresh DC of `window` (its clip is replaced), so that the
    // children are left out.
    void Apply(HWND window, HDC dc);
    void Forget() { valid_ = false; }

private:
    struct Child {
        HWND window;
        bool excluded;     // visible and not transparent when the region was made
        RECT rect;         // relative to the window's top-left corner
    };
    static bool Excluded(HWND child);
    static RECT RelativeRect(HWND child, const RECT& frame);
    bool StillValid(const RECT& frame) const;
    void Rebuild(HWND window, const RECT& frame);

    std::vector<Child> children_;
    SIZE size_{};
    UniqueRegion region_;   // the window's area without the children; null when none is excluded
    bool valid_ = false;
};

}  // namespace corvalin
