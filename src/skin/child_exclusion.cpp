#include "skin/child_exclusion.h"

namespace corvalin {

bool ChildExclusion::Excluded(HWND child) {
    return IsWindowVisible(child) && !(GetWindowLongPtrA(child, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
}

RECT ChildExclusion::RelativeRect(HWND child, const RECT& frame) {
    RECT r{};
    GetWindowRect(child, &r);
    return RECT{r.left - frame.left, r.top - frame.top, r.right - frame.left, r.bottom - frame.top};
}

bool ChildExclusion::StillValid(const RECT& frame) const {
    if (!valid_ || size_.cx != frame.right - frame.left || size_.cy != frame.bottom - frame.top) return false;
    for (const Child& child : children_) {
        if (!IsWindow(child.window) || Excluded(child.window) != child.excluded) return false;
        if (!child.excluded) continue;
        const RECT now = RelativeRect(child.window, frame);
        if (!EqualRect(&child.rect, &now)) return false;
    }
    return true;
}

void ChildExclusion::Rebuild(HWND window, const RECT& frame) {
    children_.clear();
    region_.reset();
    size_ = SIZE{frame.right - frame.left, frame.bottom - frame.top};
    for (HWND child = FindWindowExA(window, nullptr, nullptr, nullptr); child;
         child = FindWindowExA(window, child, nullptr, nullptr)) {
        Child entry{child, Excluded(child), RECT{}};
        if (entry.excluded) {
            entry.rect = RelativeRect(child, frame);
            if (!region_) region_.reset(CreateRectRgn(0, 0, size_.cx, size_.cy));
            if (HRGN cut = CreateRectRgnIndirect(&entry.rect)) {
                if (region_) CombineRgn(region_.get(), region_.get(), cut, RGN_DIFF);
                DeleteObject(cut);
            }
        }
        children_.push_back(entry);
    }
    valid_ = true;
}

void ChildExclusion::Apply(HWND window, HDC dc) {
    RECT frame{};
    GetWindowRect(window, &frame);
    if (!StillValid(frame)) Rebuild(window, frame);
    // A copy of the region becomes the clip; ours stays for the next paint.
    SelectClipRgn(dc, region_.get());
}

}  // namespace corvalin
