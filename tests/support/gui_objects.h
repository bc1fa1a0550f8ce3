// Counting the GUI objects a process holds. GetGuiResources answers 0 under
// Wine, so GDI objects are counted in the shared GDI handle table the process
// environment block points at (Wine and Windows both keep one), and USER
// objects by the windows the process owns.
#pragma once
#include <windows.h>

namespace corvalin::testing {

// Live GDI objects of this process; GetGuiResources where no table is found.
DWORD GdiObjectCount();
// Windows (top-level and children, tool tips included) owned by this process;
// GetGuiResources(GR_USEROBJECTS) when it answers.
DWORD UserObjectCount();

}  // namespace corvalin::testing
