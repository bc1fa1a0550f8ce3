#include "skin/drawing/skin_image.h"
#include <utility>
#include <vector>
#include "skin/drawing/gdiplus_text.h"

namespace corvalin {

SkinImage::SkinImage(SkinImage&& other) noexcept
    : image_(std::exchange(other.image_, nullptr)), stream_(std::move(other.stream_)) {}

SkinImage& SkinImage::operator=(SkinImage&& other) noexcept {
    if (this != &other) {
        Dispose();
        image_ = std::exchange(other.image_, nullptr);
        stream_ = std::move(other.stream_);
    }
    return *this;
}

bool SkinImage::LoadFromFile(const std::string& fileName, bool colorManaged) {
    const std::wstring wide = ToGdiplusText(fileName);
    return RecordDrawStatus(colorManaged ? gdip::GdipLoadImageFromFileICM(wide.c_str(), Out())
                                         : gdip::GdipLoadImageFromFile(wide.c_str(), Out()));
}

bool SkinImage::LoadFromBytes(const Bytes& bytes, bool colorManaged) {
    return LoadFromBytes(bytes.data(), bytes.size(), colorManaged);
}

bool SkinImage::LoadFromBytes(const std::uint8_t* data, std::size_t size, bool colorManaged) {
    Gdiplus::GpImage** out = Out();
    IStream* stream = stream_.CreateFromBytes(data, size);
    if (!stream) return RecordDrawStatus(Gdiplus::OutOfMemory);
    const bool loaded = RecordDrawStatus(colorManaged ? gdip::GdipLoadImageFromStreamICM(stream, out)
                                                      : gdip::GdipLoadImageFromStream(stream, out));
    if (!loaded) stream_.Release();
    return loaded;
}

unsigned SkinImage::Width() const {
    UINT width = 0;
    RecordDrawStatus(gdip::GdipGetImageWidth(image_, &width));
    return width;
}

unsigned SkinImage::Height() const {
    UINT height = 0;
    RecordDrawStatus(gdip::GdipGetImageHeight(image_, &height));
    return height;
}

bool SkinImage::RotateFlip(Gdiplus::RotateFlipType type) {
    return RecordDrawStatus(gdip::GdipImageRotateFlip(image_, type));
}

namespace {

std::string GuidText(const GUID& guid) {
    wchar_t text[40] = {};
    if (StringFromGUID2(guid, text, 40) == 0) return {};
    std::string narrow;
    for (const wchar_t* c = text; *c; ++c) narrow.push_back(static_cast<char>(*c));
    return narrow;
}

}  // namespace

Bytes SkinImage::EncodeToBytes(const std::string& format) const {
    if (!image_) return {};
    std::string target = format;
    if (target.empty()) {
        GUID raw{};
        if (!RecordDrawStatus(gdip::GdipGetImageRawFormat(image_, &raw))) return {};
        target = GuidText(raw);
    }
    UINT count = 0, size = 0;
    if (!RecordDrawStatus(gdip::GdipGetImageEncodersSize(&count, &size)) || size == 0) return {};
    std::vector<std::uint8_t> buffer(size);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (!RecordDrawStatus(gdip::GdipGetImageEncoders(count, size, encoders))) return {};
    const CLSID* encoder = nullptr;
    for (UINT i = 0; i < count; ++i) {
        if (GuidText(encoders[i].FormatID) == target) {
            encoder = &encoders[i].Clsid;
            break;
        }
    }
    if (!encoder) return {};
    SkinMemoryStream output;
    IStream* stream = output.CreateEmpty();
    if (!stream) return {};
    if (!RecordDrawStatus(gdip::GdipSaveImageToStream(image_, stream, encoder, nullptr))) return {};
    return output.ReadAll();
}

bool SkinImage::Dispose() {
    if (!image_) return false;
    // GDI+ may still read the stream until the image is gone, so the block
    // behind it is freed only afterwards.
    const bool disposed = RecordDrawStatus(gdip::GdipDisposeImage(std::exchange(image_, nullptr)));
    stream_.Release();
    return disposed;
}

bool SkinCanvas::Create(int width, int height, Gdiplus::PixelFormat format) {
    return RecordDrawStatus(gdip::GdipCreateBitmapFromScan0(width, height, 0, format, nullptr,
                                                            reinterpret_cast<Gdiplus::GpBitmap**>(Out())));
}

bool SkinCanvas::CreateFromBytes(const Bytes& bytes, bool colorManaged) {
    auto** out = reinterpret_cast<Gdiplus::GpBitmap**>(Out());
    IStream* stream = Stream().CreateFromBytes(bytes);
    if (!stream) return RecordDrawStatus(Gdiplus::OutOfMemory);
    const bool created = RecordDrawStatus(colorManaged ? gdip::GdipCreateBitmapFromStreamICM(stream, out)
                                                       : gdip::GdipCreateBitmapFromStream(stream, out));
    if (!created) Stream().Release();
    return created;
}

bool SkinCanvas::CreateFromPixels(int width, int height, const void* pixels, int stride, Gdiplus::PixelFormat format) {
    if (!pixels || width <= 0 || height <= 0 || !Create(width, height, format)) return false;
    Gdiplus::Rect whole(0, 0, width, height);
    Gdiplus::BitmapData data{};
    data.Width = static_cast<UINT>(width);
    data.Height = static_cast<UINT>(height);
    data.Stride = stride;
    data.PixelFormat = format;
    data.Scan0 = const_cast<void*>(pixels);
    // The caller's rows are written straight into the bitmap.
    if (!RecordDrawStatus(gdip::GdipBitmapLockBits(Bitmap(), &whole,
                                                   Gdiplus::ImageLockModeWrite | Gdiplus::ImageLockModeUserInputBuf,
                                                   format, &data))) {
        return false;
    }
    return RecordDrawStatus(gdip::GdipBitmapUnlockBits(Bitmap(), &data));
}

bool SkinCanvas::CreateFromFile(const std::string& fileName, bool colorManaged) {
    const std::wstring wide = ToGdiplusText(fileName);
    auto** out = reinterpret_cast<Gdiplus::GpBitmap**>(Out());
    return RecordDrawStatus(colorManaged ? gdip::GdipCreateBitmapFromFileICM(wide.c_str(), out)
                                         : gdip::GdipCreateBitmapFromFile(wide.c_str(), out));
}

bool SkinCanvas::CreateFromIcon(HICON icon) {
    return RecordDrawStatus(gdip::GdipCreateBitmapFromHICON(icon, reinterpret_cast<Gdiplus::GpBitmap**>(Out())));
}

HBITMAP SkinCanvas::ToGdiBitmap(Gdiplus::ARGB background) const {
    HBITMAP bitmap = nullptr;
    if (!RecordDrawStatus(gdip::GdipCreateHBITMAPFromBitmap(Bitmap(), &bitmap, background))) return nullptr;
    return bitmap;
}

Gdiplus::ARGB SkinCanvas::GetPixel(int x, int y) const {
    Gdiplus::ARGB color = 0;
    if (!RecordDrawStatus(gdip::GdipBitmapGetPixel(Bitmap(), x, y, &color))) return 0;
    return color;
}

Gdiplus::PixelFormat SkinCanvas::Format() const {
    Gdiplus::PixelFormat format = 0;
    if (!RecordDrawStatus(gdip::GdipGetImagePixelFormat(Handle(), &format))) return 0;
    return format;
}

}  // namespace corvalin
