#include "skin/families/control_families.h"

#include "skin/skin_settings.h"

namespace corvalin {

void SkinControlFamilies(int windowNumber, HWND parent) {
    if (!SkinTransparentControls) return;
    SkinButtons(windowNumber, parent);
    SkinEditControls(windowNumber, parent);
    SkinTrackbars(windowNumber, parent);
    SkinProgressBars(windowNumber, parent);
    SkinListControls(windowNumber, parent);
    SkinUpDowns(windowNumber, parent);
    SkinHeaders(windowNumber, parent);
}

}  // namespace corvalin
