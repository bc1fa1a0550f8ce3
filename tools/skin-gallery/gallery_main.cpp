// skin-gallery: shows one skinned window with every control family of the
// skin, until it is closed.
#include <windows.h>

#include "gallery_window.h"
#include "skin/skin_engine.h"
#include "skin/skin_settings.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
    using namespace corvalin;
    gallery::StartGallerySkin();
    const gallery::GalleryControls controls = gallery::CreateGallery();
    if (!controls.window) return 1;
    SetPropA(controls.window, "Gallery_QuitOnClose", reinterpret_cast<HANDLE>(1));
    gallery::SkinGallery(controls);
    ShowWindow(controls.window, show == SW_HIDE ? SW_SHOWNORMAL : show);
    UpdateWindow(controls.window);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    TheSkinEngine.reset();
    FreeSkinTables();
    return 0;
}
