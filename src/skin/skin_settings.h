// The skin module's global settings, its tables and its start-up and exit.
#pragma once
#include <windows.h>
#include "base/text.h"

namespace corvalin {

extern ULONG_PTR SkinGdiplusToken;
extern HICON SkinDefaultIcon;          // drawn in skinned captions; 0 when missing
extern int SkinFirstSize;              // the first WM_SIZE requests no full repaint
extern int SkinTransparentControls;    // control families are skinned at all
extern int SkinVeilAlpha;              // white veil behind text controls, 0 to 255
extern int SkinVeilOn;                 // controls show the window background under the veil
extern int SkinTrackbarOption;
extern COLORREF SkinAccentColor;       // Windows colour 0x00BBGGRR
extern COLORREF SkinBackColor;
extern Bytes SkinBackPicture;          // the prepared picture; empty = none
extern int SkinBackMode;               // picture layout 0 to 4

inline constexpr COLORREF kDefaultAccentColor = 14535202;   // RGB(34, 202, 221)
inline constexpr int kDefaultVeilAlpha = 160;

// Start-up step 4: SkinWindowList and the memory device context registry, empty.
void CreateSkinTables();
// Start-up step 6: GDI+, the caption icon, the defaults.
void InitializeSkinModule();
// Exit, after the SkinEngine is destroyed: every record and registered memory
// device context with what it owns.
void FreeSkinTables();
// Shuts GDI+ down once (the engine's destruction, WM_QUIT), dropping every
// GDI+ object the skin keeps between paints first.
void ShutDownSkinGdiplus();

}  // namespace corvalin
