// The file upload's dialog replacement: while SetUploadFile's patch is in
// place, the open-file dialog function answers with a prepared path.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include <string>

namespace corvalin {

// The path the replacement hands out (GBK); set by SetUploadFile and kept
// until its next call.
extern std::string pendingUploadPath;

// Stands in for GetOpenFileNameW: writes `pendingUploadPath` into the
// caller's file-name buffer and answers 1, without a window. A path that
// does not fit in `nMaxFile` characters (terminator included), or an empty
// one, leaves the buffer as it was and answers 0: no file chosen.
BOOL WINAPI UploadDialogReplacement(OPENFILENAMEW* dialog);

}  // namespace corvalin
