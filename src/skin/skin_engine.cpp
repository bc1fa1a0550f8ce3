#include "skin/skin_engine.h"
#include <objidl.h>
#include <gdiplus.h>
#include "skin/skin_settings.h"
#include "skin/skin_window_list.h"

namespace corvalin {

std::unique_ptr<SkinEngine> TheSkinEngine;

namespace {

// Windows calls window procedures as plain functions; there is exactly one
// engine, so the entry points find it through the global.
LRESULT CALLBACK EnterSkinWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!TheSkinEngine) return CallPreviousProc(window, message, wParam, lParam);
    return TheSkinEngine->SkinWindowProc(window, message, wParam, lParam);
}

void CALLBACK EnterCaptionAction(int windowNumber, int buttonNumber) {
    if (TheSkinEngine) TheSkinEngine->PerformCaptionButton(windowNumber, buttonNumber);
}

}  // namespace

SkinEngine::SkinEngine()
    : windowProcEntry(&EnterSkinWindowProc),
      captionActionEntry(&EnterCaptionAction),
      captionActionAddress(reinterpret_cast<INT_PTR>(&EnterCaptionAction)) {
    SkinBackColor = GetSysColor(COLOR_BTNFACE);
}

SkinEngine::~SkinEngine() {
    if (SkinDefaultIcon) DestroyIcon(SkinDefaultIcon);
    SkinDefaultIcon = nullptr;
    ShutDownSkinGdiplus();
    windowProcEntry = nullptr;
    captionActionEntry = nullptr;
    captionActionAddress = 0;
}

}  // namespace corvalin
