// GDI+ for the whole process, with one owner: the first hold starts it
// (version 1), the last release shuts it down. A library that decodes at any
// time holds it for the rest of the process and never lets go, so GDI+ is
// never shut down from a static destructor while the process exits.
#pragma once
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include "base/unique.h"

namespace corvalin {

// Starts GDI+ unless it runs and counts one more hold. Answers GDI+'s token,
// shared by every hold, or 0 when it could not start (nothing is then held).
ULONG_PTR HoldGdiplus();
// Lets go of one hold; the last one shuts GDI+ down. 0, and a release with
// no hold left, do nothing.
void ReleaseGdiplus(ULONG_PTR token);
// The holds counted now; 0 while GDI+ is not running.
int GdiplusHolds();
// A hold kept until the process ends, for code with no end of its own; true
// when GDI+ runs.
bool HoldGdiplusForProcess();

// A hold for a scope.
class GdiplusSession {
public:
    GdiplusSession() : token_(HoldGdiplus()) {}
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;
    ~GdiplusSession() { ReleaseGdiplus(token_); }
    bool IsStarted() const { return token_ != 0; }

private:
    ULONG_PTR token_ = 0;
};

struct GdiplusImageTraits {
    using Handle = Gdiplus::GpImage*;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { Gdiplus::DllExports::GdipDisposeImage(h); }
};
using UniqueGdiplusImage = Unique<GdiplusImageTraits>;

}  // namespace corvalin
