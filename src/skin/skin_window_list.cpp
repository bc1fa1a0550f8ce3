#include "skin/skin_window_list.h"

#include "skin/families/family_painting.h"

namespace corvalin {

std::vector<SkinWindowRecord> SkinWindowList;

int FindWindowRecord(HWND window) {
    if (!window) return 0;
    for (int n = 1; n <= SkinWindowCount(); ++n)
        if (WindowRecord(n).window == window) return n;
    return 0;
}

int FindOwnerRecord(HWND control) {
    // The chain ends at a top-level window, whose parent is 0; a window can't
    // be its own ancestor, but a bound keeps a broken tree from looping.
    HWND current = control;
    for (int depth = 0; current && depth < 1024; ++depth) {
        current = GetParent(current);
        if (const int n = FindWindowRecord(current)) return n;
    }
    return 0;
}

int AppendWindowRecord(SkinWindowRecord&& record) {
    SkinWindowList.push_back(std::move(record));
    return SkinWindowCount();
}

WNDPROC SubclassWindow(HWND window, WNDPROC procedure) {
    return reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}

int RegisterStaticControl(SkinFamilyList<SkinStaticRecord>& list, int windowNumber, HWND control,
                          WNDPROC familyProc) {
    if (!control || list.Find(control) != 0) return 0;
    const int number = list.Add(control);
    SetPropValue(control, kPropStaticListId, number);
    SetPropValue(control, kPropStaticOwnerId, windowNumber);
    WNDPROC previous = SubclassWindow(control, familyProc);
    list[number].previousProc = previous;
    SetPropValue(control, kPropStaticPreviousProc, reinterpret_cast<INT_PTR>(previous));
    return number;
}

LRESULT CallPreviousProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallPreviousProc(reinterpret_cast<WNDPROC>(GetPropValue(window, kPropPreviousProc)), window, message, wParam,
                            lParam);
}

LRESULT CallPreviousProc(WNDPROC previous, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!previous) return DefWindowProcA(window, message, wParam, lParam);
    return CallWindowProcA(previous, window, message, wParam, lParam);
}

LRESULT CallPreviousStaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto previous = reinterpret_cast<WNDPROC>(GetPropValue(window, kPropStaticPreviousProc));
    if (!previous) return DefWindowProcA(window, message, wParam, lParam);
    return CallWindowProcA(previous, window, message, wParam, lParam);
}

namespace {

template <class Element>
void RenumberOwner(SkinFamilyList<Element>& list, int windowNumber) {
    for (const Element& element : list)
        if (element.window) SetPropValue(element.window, kPropOwnerId, windowNumber);
}

void ReleaseBackgroundCache(HWND window, SkinMemorySurface& cache) {
    // The properties only mirror the record's cache, which owns the objects.
    cache.Release();
    RemovePropA(window, kPropBackgroundOriginal);
    RemovePropA(window, kPropBackgroundBitmap);
}

}  // namespace

void UnskinWindow(HWND window) {
    const int n = FindWindowRecord(window);
    if (n == 0) return;
    SkinWindowRecord& record = WindowRecord(n);
    for (const SkinEditRecord& edit : record.edits) {
        if (edit.window) DeleteControlColorObjects(edit.window);
    }
    ReleaseBackgroundCache(window, record.backgroundCache);
    record.captionCopy.Release();
    record.menuBarCopy.Release();
    SkinWindowList.erase(SkinWindowList.begin() + (n - 1));

    for (int m = 1; m <= SkinWindowCount(); ++m) {
        SkinWindowRecord& later = WindowRecord(m);
        SetPropValue(later.window, kPropListId, m);
        RenumberOwner(later.buttons, m);
        RenumberOwner(later.edits, m);
        RenumberOwner(later.listControls, m);
        RenumberOwner(later.trackbars, m);
        RenumberOwner(later.progressBars, m);
        RenumberOwner(later.combos, m);
        RenumberOwner(later.upDowns, m);
        RenumberOwner(later.headers, m);
        RenumberOwner(later.containers, m);
        for (const SkinStaticRecord& control : later.statics)
            if (control.window) SetPropValue(control.window, kPropStaticOwnerId, m);
    }
}

}  // namespace corvalin
