// The status word shared by every drawing object: each GDI+ call leaves its
// status here, and an operation succeeds exactly when that status is Ok.
#pragma once
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

namespace corvalin {

namespace gdip = Gdiplus::DllExports;

// One unsynchronised word: the skin draws on the user-interface thread only.
extern Gdiplus::Status LastDrawStatus;

// Stores the status and answers whether it is Ok.
inline bool RecordDrawStatus(Gdiplus::GpStatus status) {
    LastDrawStatus = status;
    return status == Gdiplus::Ok;
}

}  // namespace corvalin
