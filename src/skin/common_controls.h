// The common controls library (tool tips, image lists), loaded at run time.
// Under Wine, loading comctl32 costs tens of milliseconds (its start-up
// registers every class it has and sets up theming). Imported, the program
// paid that before its first line ran, whether or not a window ever needed it.
#pragma once
#include <windows.h>
#include <commctrl.h>

namespace corvalin {

// comctl32, loaded and its classes registered; null when it cannot be loaded.
// It stays loaded for the life of the process: windows of its classes may
// live until the end.
HMODULE CommonControls();

// comctl32's image list calls; false / null without comctl32.
bool ImageListIconSize(HIMAGELIST list, int* width, int* height);
HICON ImageListIcon(HIMAGELIST list, int index, UINT flags);

}  // namespace corvalin
