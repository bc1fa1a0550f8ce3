// The control families the skin takes over inside a skinned window: push
// buttons, check boxes and radio buttons; edit boxes and combo boxes; and the
// containers and static controls the application hands over one by one. Each
// family registers the direct children of a parent, subclasses them and paints
// them over the window's skin.
#pragma once
#include <windows.h>
#include <string>
#include "base/unique.h"

namespace corvalin {

// Every family of controls, in registration order, for the direct children of
// `parent` (the window itself or a container inside it). Nothing happens
// unless SkinTransparentControls is set.
void SkinControlFamilies(int windowNumber, HWND parent);

// --- buttons, check boxes and radio buttons (buttons.cpp)

// Push buttons become owner-drawn (kind 0); automatic radio buttons (kind 4)
// and check boxes (kind 5) keep their style and paint themselves.
void SkinButtons(int windowNumber, HWND parent);
LRESULT CALLBACK SkinButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam);
// The WM_DRAWITEM handler of skinned windows and containers.
void DrawOwnerButton(int windowNumber, const DRAWITEMSTRUCT& item);
// Repaints a button outside WM_PAINT; `hot` adds ODS_HOTLIGHT.
void RepaintButton(HWND button, UINT state, bool hot);
void PaintPushButton(HWND button, HDC dc, UINT state, const RECT& rect);
void PaintCheckBox(HWND button, UINT state);
void PaintRadioButton(HWND button, UINT state);

struct SkinControlFont {
    std::string name;   // "宋体" when the control has no font
    int size = 12;      // points, truncated
    int style = 0;      // Gdiplus::FontStyle bits
};
SkinControlFont GetControlFont(HWND control);

// --- edit boxes and combo boxes (edit_boxes.cpp, combo_boxes.cpp)

// "Edit" children get the skin's frame and veiled background; "ComboBox"
// children are drawn entirely by the skin.
void SkinEditControls(int windowNumber, HWND parent);
LRESULT CALLBACK SkinEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SkinComboProc(HWND combo, UINT message, WPARAM wParam, LPARAM lParam);
void PaintEditFrame(HWND edit, bool focused, bool hot);
void PaintEditBackground(HWND edit, HDC dc, bool toClient);
void PaintCombo(int windowNumber, int comboNumber, bool focused, bool hot);
bool HasScrollBars(HWND window);
// The union of the window's scroll-bar rectangles, in window coordinates.
UniqueRegion ScrollBarRegion(HWND window);

// --- trackbars and progress bars (trackbars.cpp, progress_bars.cpp)

void SkinTrackbars(int windowNumber, HWND parent);
void SkinProgressBars(int windowNumber, HWND parent);
LRESULT CALLBACK SkinTrackbarProc(HWND trackbar, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SkinProgressProc(HWND progress, UINT message, WPARAM wParam, LPARAM lParam);
void PaintTrackbar(int windowNumber, int trackbarNumber);
void PaintProgressBar(int windowNumber, int progressNumber);
// Pixels of `extent` the bar covers: (position - low) / (high - low) of it,
// clamped to the extent; 0 when the range is empty or reversed.
int ProgressBarLength(int position, int low, int high, int extent);

// --- list boxes, drop-down lists, list views, tree views, IP-address and
// date-time controls (list_controls.cpp)

void SkinListControls(int windowNumber, HWND parent);
LRESULT CALLBACK SkinListProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
void PaintListFrame(int windowNumber, int listNumber, bool hot, bool focused);
// The control's background under its client area with the white veil; a
// remembered memory DC, released with ReleaseMemoryDC. 0 without a background.
HDC MakeVeiledDC(HWND control);
// `dc` (or GetDC(control) when 0) with every visible child excluded from the
// clip. A DC it took itself goes back with ReleaseDC(control, dc).
HDC GetDCWithoutChildren(HWND control, HDC dc);
void InvalidateChildren(HWND control);

// --- up-down controls and list-view headers (up_downs.cpp, headers.cpp)

void SkinUpDowns(int windowNumber, HWND parent);
void SkinHeaders(int windowNumber, HWND parent);
LRESULT CALLBACK SkinUpDownProc(HWND upDown, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SkinHeaderProc(HWND header, UINT message, WPARAM wParam, LPARAM lParam);
// 1 for the first (left or top) half of the control, 2 for the second.
int UpDownPartAt(int windowNumber, int upDownNumber, LPARAM position);
// Index of the header item under the point, -1 when none.
int HeaderItemAt(HWND header, LPARAM position);
void PaintUpDown(int windowNumber, int upDownNumber);
void PaintHeader(int windowNumber, int headerNumber);

// --- containers and static controls (containers.cpp, static_controls.cpp);
// registered through SkinEngine::SkinContainer and SkinEngine::SkinStaticControl.

LRESULT CALLBACK SkinContainerProc(HWND container, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SkinStaticProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace corvalin
