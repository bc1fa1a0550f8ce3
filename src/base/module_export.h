// A function that a loaded module exports, with its real type.
#pragma once
#include <windows.h>

namespace corvalin {

// Null when the module is null or has no such export.
template <class Function>
Function ModuleExport(HMODULE module, const char* name) {
    // Through void*: FARPROC's own type does not match any real signature.
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace corvalin
