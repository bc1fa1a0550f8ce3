#include "skin/start_up_loading.h"

#include <objbase.h>

#include <atomic>

#include "base/module_export.h"
#include "base/unique.h"
#include "skin/decoded_pictures.h"
#include "skin/images/builtin_images.h"

namespace corvalin {
namespace {

std::atomic<HMODULE> loaded{nullptr};
UniqueHandle loader;   // the start-up thread, until somebody waited for it

HMODULE LoadCommonControls() {
    if (HMODULE module = loaded.load()) return module;
    HMODULE module = LoadLibraryA("comctl32.dll");
    if (!module) return nullptr;
    using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const auto init = ModuleExport<InitFunction>(module, "InitCommonControlsEx");
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_WIN95_CLASSES};
    if (!init || !init(&classes)) {
        FreeLibrary(module);
        return nullptr;
    }
    HMODULE expected = nullptr;
    // Two loads of the same library share one module; the second reference is dropped.
    if (!loaded.compare_exchange_strong(expected, module)) FreeLibrary(module);
    return loaded.load();
}

DWORD WINAPI LoaderThread(void*) {
    // Decoders may be COM objects.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    // The pictures first: the skin asks for the window picture as soon as it
    // starts on a window, for the tool tips only later.
    for (const BuiltinImage& image : {WindowBackgroundPicture(), CaptionMinGlyph(), CaptionMaxGlyph(),
                                      CaptionRestoreGlyph(), CaptionCloseGlyph()}) {
        CachedPicture(image.data, image.size);
    }
    LoadCommonControls();
    if (SUCCEEDED(com)) CoUninitialize();
    return 0;
}

}  // namespace

void StartStartUpLoading() {
    if (loader || loaded.load()) return;
    loader.reset(CreateThread(nullptr, 0, LoaderThread, nullptr, 0, nullptr));
}

void FinishStartUpLoading() {
    if (!loader) return;
    WaitForSingleObject(loader.get(), INFINITE);
    loader.reset();
}

HMODULE CommonControls() {
    FinishStartUpLoading();
    return LoadCommonControls();
}

bool ImageListIconSize(HIMAGELIST list, int* width, int* height) {
    using Function = BOOL(WINAPI*)(HIMAGELIST, int*, int*);
    const auto function = ModuleExport<Function>(CommonControls(), "ImageList_GetIconSize");
    return function && function(list, width, height);
}

HICON ImageListIcon(HIMAGELIST list, int index, UINT flags) {
    using Function = HICON(WINAPI*)(HIMAGELIST, int, UINT);
    const auto function = ModuleExport<Function>(CommonControls(), "ImageList_GetIcon");
    return function ? function(list, index, flags) : nullptr;
}

}  // namespace corvalin
