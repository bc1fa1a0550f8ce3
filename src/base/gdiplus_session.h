// GDI+ for a scope (version 1), and owners for the flat API's images.
#pragma once
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include "base/unique.h"

namespace corvalin {

class GdiplusSession {
public:
    GdiplusSession() {
        Gdiplus::GdiplusStartupInput input;
        started_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr) == Gdiplus::Ok;
    }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;
    ~GdiplusSession() {
        if (started_) Gdiplus::GdiplusShutdown(token_);
    }
    bool IsStarted() const { return started_; }

private:
    ULONG_PTR token_ = 0;
    bool started_ = false;
};

struct GdiplusImageTraits {
    using Handle = Gdiplus::GpImage*;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { Gdiplus::DllExports::GdipDisposeImage(h); }
};
using UniqueGdiplusImage = Unique<GdiplusImageTraits>;

}  // namespace corvalin
