#include "skin/skin_settings.h"

#include "base/gdiplus_session.h"
#include "skin/decoded_pictures.h"
#include "skin/families/family_painting.h"
#include "skin/memory_dc_registry.h"
#include "skin/skin_engine.h"
#include "skin/skin_window_list.h"

namespace corvalin {

ULONG_PTR SkinGdiplusToken = 0;
HICON SkinDefaultIcon = nullptr;
int SkinFirstSize = 0;
int SkinTransparentControls = 0;
int SkinVeilAlpha = 0;
int SkinVeilOn = 0;
int SkinTrackbarOption = 0;
COLORREF SkinAccentColor = 0;
COLORREF SkinBackColor = 0;
Bytes SkinBackPicture;
int SkinBackMode = 0;

void CreateSkinTables() {
    SkinWindowList.clear();
    ReleaseAllMemoryDCs();
}

void InitializeSkinModule() {
    // The process's one GDI+, held until the skin shuts it down.
    SkinGdiplusToken = HoldGdiplus();

    HINSTANCE module = GetModuleHandleA(nullptr);
    SkinDefaultIcon = LoadIconA(module, MAKEINTRESOURCEA(129));
    if (!SkinDefaultIcon) SkinDefaultIcon = LoadIconA(module, "DEFAULT_ICON");

    SkinFirstSize = 1;
    SkinTransparentControls = 1;
    SkinVeilAlpha = kDefaultVeilAlpha;
    SkinAccentColor = kDefaultAccentColor;
    SkinTrackbarOption = 1;
}

void ShutDownSkinGdiplus() {
    ForgetDecodedPictures();
    ReleaseGdiplus(SkinGdiplusToken);
    SkinGdiplusToken = 0;
}

void FreeSkinTables() {
    // Records release their caches, tool tips and brushes as they go.
    for (SkinWindowRecord& record : SkinWindowList)
        for (const SkinEditRecord& edit : record.edits)
            if (edit.window) DeleteControlColorObjects(edit.window);
    SkinWindowList.clear();
    SkinWindowList.shrink_to_fit();
    ReleaseAllMemoryDCs();
}

void SkinEngine::SetControlVeil(int transparentControls, std::optional<int> veilAlpha,
                                std::optional<int> trackbarOption) {
    SkinTransparentControls = transparentControls;
    SkinVeilAlpha = veilAlpha.value_or(kDefaultVeilAlpha);
    SkinVeilOn = veilAlpha.has_value() ? 1 : 0;
    SkinTrackbarOption = trackbarOption.value_or(1);
}

COLORREF SkinEngine::GetBackColor() { return SkinBackColor; }

}  // namespace corvalin
