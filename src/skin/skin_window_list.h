// The registry of skinned top-level windows, numbered from 1 in order of
// registration, and the subclassing protocol every control family follows.
#pragma once
#include <windows.h>
#include <vector>
#include "skin/skin_properties.h"
#include "skin/skin_window_record.h"

namespace corvalin {

// A window's number is its position; it changes when an earlier window leaves.
extern std::vector<SkinWindowRecord> SkinWindowList;

inline int SkinWindowCount() { return static_cast<int>(SkinWindowList.size()); }
inline bool IsSkinWindowNumber(int number) { return number >= 1 && number <= SkinWindowCount(); }
// The record of a registered number (1 to SkinWindowCount()).
inline SkinWindowRecord& WindowRecord(int number) { return SkinWindowList[number - 1]; }

// Number of the registered top-level window, 0 when it is not registered.
int FindWindowRecord(HWND window);
// Number of the registered window among the control's ancestors, 0 when the
// parent chain ends without one.
int FindOwnerRecord(HWND control);
// Appends a record and returns its number.
int AppendWindowRecord(SkinWindowRecord&& record);
// Removes a destroyed window: releases its edit brushes and caches, drops its
// record and renumbers every later window and all of its controls.
void UnskinWindow(HWND window);

// Steps 2 to 4 of every family registration: fills the placeholder or
// appends an element, sets Hw_lbID and Hw_FuID, subclasses the control with
// the family's procedure and keeps the old one in the element and in
// Hw_hProc. Returns the element's number; 0 when the control already is in
// the list (it is left alone).
template <class Element>
int RegisterControl(SkinFamilyList<Element>& list, int windowNumber, HWND control, WNDPROC familyProc);

// Static controls: the same with Kj_lbID, Kj_FuID and Kj_hProc.
int RegisterStaticControl(SkinFamilyList<SkinStaticRecord>& list, int windowNumber, HWND control,
                          WNDPROC familyProc);

// Every message a family procedure does not answer itself goes on, unchanged,
// to the procedure the control had before (Hw_hProc, or Kj_hProc for static
// controls).
LRESULT CallPreviousProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The same with the previous procedure at hand (the family element keeps the
// value Hw_hProc holds), saving a property read.
LRESULT CallPreviousProc(WNDPROC previous, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CallPreviousStaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Replaces the window procedure, answering the previous one.
WNDPROC SubclassWindow(HWND window, WNDPROC procedure);

template <class Element>
int RegisterControl(SkinFamilyList<Element>& list, int windowNumber, HWND control, WNDPROC familyProc) {
    if (!control || list.Find(control) != 0) return 0;
    const int number = list.Add(control);
    SetPropValue(control, kPropListId, number);
    SetPropValue(control, kPropOwnerId, windowNumber);
    WNDPROC previous = SubclassWindow(control, familyProc);
    list[number].previousProc = previous;
    SetPropValue(control, kPropPreviousProc, reinterpret_cast<INT_PTR>(previous));
    return number;
}

}  // namespace corvalin
