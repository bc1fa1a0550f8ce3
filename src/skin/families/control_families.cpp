#include "skin/families/control_families.h"

#include "skin/skin_settings.h"

namespace corvalin {

void SkinControlFamilies(int windowNumber, HWND parent) {
    if (!SkinTransparentControls) return;
    SkinButtons(windowNumber, parent);
    SkinEditControls(windowNumber, parent);
    // Trackbars, progress bars, list-type controls, up-downs and headers
    // follow here in this order once they are painted by the skin.
}

}  // namespace corvalin
