// The status word shared by every drawing object: each GDI+ call leaves its
// status here, and an operation succeeds exactly when that status is Ok.
#pragma once
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

namespace corvalin {

namespace gdip = Gdiplus::DllExports;

// Each thread its own, like GetLastError: the start-up loader decodes beside the user-interface thread.
extern thread_local Gdiplus::Status LastDrawStatus;

// Stores the status and answers whether it is Ok.
inline bool RecordDrawStatus(Gdiplus::GpStatus status) {
    LastDrawStatus = status;
    return status == Gdiplus::Ok;
}

}  // namespace corvalin
