// Names of the window properties that tie windows and controls to the skin's
// records, spelled as the skin has always spelled them.
#pragma once
#include <windows.h>

namespace corvalin {

// Top-level window: its number in SkinWindowList. Control: its number in its
// family list.
inline constexpr const char* kPropListId = "Hw_lbID";
// Control: the number of its owning window in SkinWindowList.
inline constexpr const char* kPropOwnerId = "Hw_FuID";
// Window or control: the procedure it had before the skin subclassed it.
inline constexpr const char* kPropPreviousProc = "Hw_hProc";

// The same three for labels, picture boxes, drawing boards and shape boxes.
inline constexpr const char* kPropStaticListId = "Kj_lbID";
inline constexpr const char* kPropStaticOwnerId = "Kj_FuID";
inline constexpr const char* kPropStaticPreviousProc = "Kj_hProc";

// Control: text colour applied on its colour messages.
inline constexpr const char* kPropTextColor = "Kj_Ztys";
// Control: the brush last returned for its colour messages, and its bitmap.
inline constexpr const char* kPropColorBrush = "Kj_dxjb";
inline constexpr const char* kPropColorBrushBitmap = "Kj_wtjb";

// Top-level window: the object first selected into its background memory DC,
// and that DC's current bitmap.
inline constexpr const char* kPropBackgroundOriginal = "Ck_Ycjdx";
inline constexpr const char* kPropBackgroundBitmap = "Ck_wtjbdx";

// Skinned group box or tab control: the nearest ancestor that is a drawing layer.
inline constexpr const char* kPropContainerLayer = "Mb_zpf";
// Shape box: its drawn content DC, and whether it is a drawing layer.
inline constexpr const char* kPropLayerDc = "Wxk_Cj";
inline constexpr const char* kPropIsLayer = "Wxk_Zpf";

// Property values are pointer-sized on every build. The skin's procedures
// read the three names above and their static-control twins on every message,
// and under Wine each GetPropA is a round trip to the window server, so the
// values of those six written here are kept in the process as well and read
// from there; the properties stay on the windows for anyone who looks.
INT_PTR GetPropValue(HWND window, const char* name);
void SetPropValue(HWND window, const char* name, INT_PTR value);

}  // namespace corvalin
