// The shape all GDI+ wrappers share: one native handle, released by the
// class's own delete function, never shared between two owners.
#pragma once
#include <utility>
#include "skin/drawing/draw_status.h"

namespace corvalin {

template <class Native, Gdiplus::GpStatus (WINGDIPAPI* Delete)(Native*)>
class DrawingObject {
public:
    DrawingObject() = default;
    DrawingObject(const DrawingObject&) = delete;
    DrawingObject& operator=(const DrawingObject&) = delete;
    DrawingObject(DrawingObject&& other) noexcept : native_(std::exchange(other.native_, nullptr)) {}
    DrawingObject& operator=(DrawingObject&& other) noexcept {
        if (this != &other) {
            Destroy();
            native_ = std::exchange(other.native_, nullptr);
        }
        return *this;
    }
    ~DrawingObject() { Destroy(); }

    Native* Handle() const { return native_; }
    explicit operator bool() const { return native_ != nullptr; }

    // Releases the native object; false (and no GDI+ call) when nothing is held.
    bool Destroy() {
        if (!native_) return false;
        return RecordDrawStatus(Delete(std::exchange(native_, nullptr)));
    }

protected:
    // Creation functions write the new handle through this; an earlier
    // object is released first, so nothing leaks when a holder is reused.
    Native** Out() {
        Destroy();
        return &native_;
    }

private:
    Native* native_ = nullptr;
};

}  // namespace corvalin
