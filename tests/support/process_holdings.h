// What a process holds in kernel handles and private memory. Under Wine,
// GetProcessHandleCount answers 0 and GetProcessMemoryInfo answers zeros for
// another process; the system's process list carries both figures there and
// on Windows alike.
#pragma once
#include <windows.h>

namespace corvalin::testing {

struct ProcessHoldings {
    bool known = false;          // false when the process is not in the list
    DWORD handles = 0;           // kernel handles (Wine: the handle table's size, which never shrinks)
    SIZE_T privateBytes = 0;     // committed private memory (page-file usage)
    SIZE_T workingSet = 0;
};

ProcessHoldings HoldingsOf(DWORD processId = GetCurrentProcessId());

}  // namespace corvalin::testing
