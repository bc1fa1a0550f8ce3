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

// --- containers and static controls (containers.cpp, static_controls.cpp);
// registered through SkinEngine::SkinContainer and SkinEngine::SkinStaticControl.

LRESULT CALLBACK SkinContainerProc(HWND container, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SkinStaticProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace corvalin
