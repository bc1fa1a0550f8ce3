// Windows of class "Internet Explorer_Server" that hand out a document of the
// test's own for "WM_HTML_GETOBJECT", the way a browser's rendering window
// does, optionally after a delay (a hung page).
#pragma once
#include <windows.h>
#include <oaidl.h>

#include "base/unique.h"

namespace corvalin::testing {

// Creates a rendering window under `parent` (0: a top-level window) that
// answers with `document` (not owned; may be null: then it answers 0) after
// sleeping `delayMs` in its handler.
UniqueWindow CreateFakeBrowserServer(HWND parent, IDispatch* document, DWORD delayMs = 0);

// A plain container window, for building window trees.
UniqueWindow CreateContainerWindow(HWND parent, const char* className = "Corvalin.TestContainer");

// How many "WM_HTML_GETOBJECT" requests the fake windows have answered.
int FakeBrowserRequests();

}  // namespace corvalin::testing
