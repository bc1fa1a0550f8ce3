// What the first skinned window needs, made ready on a thread of its own while
// the program builds that window: the built-in window picture and caption
// glyphs decoded, and the common controls library (tool tips, image lists)
// loaded. Under Wine each costs tens of milliseconds the first time (comctl32's
// start-up registers every class it has and sets up theming; the first decode
// loads the codecs), all of it before the window could reach the screen.
#pragma once
#include <windows.h>
#include <commctrl.h>

namespace corvalin {

// Starts the thread and returns at once; later calls do nothing. GDI+ must be
// running.
void StartStartUpLoading();

// Waits for that thread, if one was started and is still running. On the
// skin's own thread only: before GDI+ shuts down, and before comctl32 is used.
void FinishStartUpLoading();

// comctl32, loaded and its classes registered; null when it cannot be loaded.
// It stays loaded for the life of the process: windows of its classes may
// live until the end.
HMODULE CommonControls();

// comctl32's image list calls; false / null without comctl32.
bool ImageListIconSize(HIMAGELIST list, int* width, int* height);
HICON ImageListIcon(HIMAGELIST list, int index, UINT flags);

}  // namespace corvalin
