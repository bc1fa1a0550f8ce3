// GDI+ images: SkinImage decodes pictures (files or byte buffers), SkinCanvas
// is a bitmap the skin draws on and turns into GDI bitmaps. An image decoded
// from bytes keeps its own stream over a private copy, because GDI+ reads it
// lazily for as long as the image lives.
#pragma once
#include <string>
#include "base/text.h"
#include "skin/drawing/draw_status.h"
#include "skin/drawing/skin_memory_stream.h"

namespace corvalin {

// The GDI+ format of PNG files, as registry text.
inline constexpr const char* kPngFormat = "{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}";

class SkinImage {
public:
    SkinImage() = default;
    SkinImage(const SkinImage&) = delete;
    SkinImage& operator=(const SkinImage&) = delete;
    SkinImage(SkinImage&& other) noexcept;
    SkinImage& operator=(SkinImage&& other) noexcept;
    virtual ~SkinImage() { Dispose(); }

    bool LoadFromFile(const std::string& fileName, bool colorManaged = false);
    bool LoadFromBytes(const Bytes& bytes, bool colorManaged = false);
    bool LoadFromBytes(const std::uint8_t* data, std::size_t size, bool colorManaged = false);

    Gdiplus::GpImage* Handle() const { return image_; }
    explicit operator bool() const { return image_ != nullptr; }
    // 0 when nothing is held (the failed status is still recorded).
    unsigned Width() const;
    unsigned Height() const;
    bool RotateFlip(Gdiplus::RotateFlipType type);
    // Encodes with the installed encoder of the given format (registry text of
    // its GUID), or of the image's own format when none is given. Empty when
    // no encoder matches or the encoding fails.
    Bytes EncodeToBytes(const std::string& format = {}) const;
    // Releases the image and then its stream; false when nothing is held.
    bool Dispose();

protected:
    Gdiplus::GpImage** Out() {
        Dispose();
        return &image_;
    }
    SkinMemoryStream& Stream() { return stream_; }

private:
    Gdiplus::GpImage* image_ = nullptr;
    SkinMemoryStream stream_;
};

class SkinCanvas : public SkinImage {
public:
    SkinCanvas() = default;
    SkinCanvas(int width, int height) { Create(width, height); }

    bool Create(int width, int height, Gdiplus::PixelFormat format = PixelFormat32bppARGB);
    bool CreateFromBytes(const Bytes& bytes, bool colorManaged = false);
    // A copy of top-down rows of 32-bit pixels (`stride` bytes apart) in `format`.
    bool CreateFromPixels(int width, int height, const void* pixels, int stride, Gdiplus::PixelFormat format);
    bool CreateFromFile(const std::string& fileName, bool colorManaged = false);
    bool CreateFromIcon(HICON icon);

    Gdiplus::GpBitmap* Bitmap() const { return static_cast<Gdiplus::GpBitmap*>(Handle()); }
    // A new GDI bitmap of the canvas, owned by the caller; null on failure.
    HBITMAP ToGdiBitmap(Gdiplus::ARGB background = 0) const;
    // ARGB of one pixel; 0 on failure.
    Gdiplus::ARGB GetPixel(int x, int y) const;
    // Gdiplus pixel format, 0 when nothing is held.
    Gdiplus::PixelFormat Format() const;
};

}  // namespace corvalin
