#include "skin/common_controls.h"

#include "base/module_export.h"

namespace corvalin {

HMODULE CommonControls() {
    // Asked on the skin's own thread only.
    static HMODULE loaded = nullptr;
    if (loaded) return loaded;
    HMODULE module = LoadLibraryA("comctl32.dll");
    if (!module) return nullptr;
    using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const auto init = ModuleExport<InitFunction>(module, "InitCommonControlsEx");
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_WIN95_CLASSES};
    if (!init || !init(&classes)) {
        FreeLibrary(module);
        return nullptr;
    }
    loaded = module;
    return loaded;
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
