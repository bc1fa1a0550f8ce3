// Counting the GUI objects a process holds. GetGuiResources answers 0 under
// Wine, so GDI objects are counted in the shared GDI handle table the process
// environment block points at (Wine and Windows both keep one), and USER
// objects by the windows the process owns.
#pragma once
#include <windows.h>

#include <map>

namespace corvalin::testing {

// Live GDI objects of a process (this one unless given; another one needs
// PROCESS_QUERY_INFORMATION | PROCESS_VM_READ); GetGuiResources where it answers.
DWORD GdiObjectCount(HANDLE process = GetCurrentProcess());
// The same objects by their type in the shared table (Wine and Windows number
// the types alike for DCs 1, regions 4, bitmaps 5, fonts 10, brushes 16);
// empty where the table cannot be read.
std::map<int, DWORD> GdiObjectsByType(HANDLE process = GetCurrentProcess());
// Windows (top-level and children, tool tips included) owned by a process;
// GetGuiResources(GR_USEROBJECTS) where it answers.
DWORD UserObjectCount(HANDLE process = GetCurrentProcess());

}  // namespace corvalin::testing
