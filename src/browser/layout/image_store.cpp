#include "browser/layout/image_store.h"

#include <objidl.h>
#include <shlwapi.h>
#include <wrl/client.h>

#include <cstring>
#include <utility>

#include "base/gdiplus_session.h"
#include "base/jpeg_decoding.h"

namespace corvalin::browser::layout {

namespace {

// PNG (with its alpha), GIF (first frame) and BMP through GDI+, premultiplied.
bool DecodeByGdiplus(const std::vector<std::uint8_t>& bytes, HBITMAP& bitmap, long& width, long& height) {
    // Images arrive at any time until the process ends: the decoder keeps its hold.
    if (!HoldGdiplusForProcess()) return false;
    Microsoft::WRL::ComPtr<IStream> stream;
    stream.Attach(SHCreateMemStream(bytes.data(), static_cast<UINT>(bytes.size())));
    if (!stream) return false;
    Gdiplus::GpBitmap* image = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromStream(stream.Get(), &image) != Gdiplus::Ok || !image) return false;
    UINT w = 0, h = 0;
    Gdiplus::DllExports::GdipGetImageWidth(image, &w);
    Gdiplus::DllExports::GdipGetImageHeight(image, &h);
    bool ok = false;
    void* bits = nullptr;
    if (w > 0 && h > 0 && w <= 16384 && h <= 16384 && (bitmap = CreateTopDownBitmap(static_cast<long>(w), static_cast<long>(h), &bits))) {
        Gdiplus::Rect rect(0, 0, static_cast<INT>(w), static_cast<INT>(h));
        Gdiplus::BitmapData data{};
        data.Width = w;
        data.Height = h;
        data.Stride = static_cast<INT>(w * 4);
        data.PixelFormat = PixelFormat32bppPARGB;
        data.Scan0 = bits;
        ok = Gdiplus::DllExports::GdipBitmapLockBits(image, &rect, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                                                      PixelFormat32bppPARGB, &data) == Gdiplus::Ok;
        if (ok) Gdiplus::DllExports::GdipBitmapUnlockBits(image, &data);
        width = static_cast<long>(w);
        height = static_cast<long>(h);
        if (!ok) {
            DeleteObject(bitmap);
            bitmap = nullptr;
        }
    }
    Gdiplus::DllExports::GdipDisposeImage(image);
    return ok;
}


}  // namespace

Image DecodeImage(const std::vector<std::uint8_t>& bytes) {
    Image image;
    image.state = Image::State::Broken;
    if (bytes.size() < 4) return image;
    if (LooksLikeJpeg(bytes.data(), bytes.size())) {
        DecodedJpeg jpeg = DecodeJpeg(bytes.data(), bytes.size());
        if (!jpeg.bitmap) return image;
        image.bitmap = std::move(jpeg.bitmap);
        image.width = jpeg.width;
        image.height = jpeg.height;
    } else {
        HBITMAP bitmap = nullptr;
        long width = 0, height = 0;
        if (!DecodeByGdiplus(bytes, bitmap, width, height)) return image;
        image.bitmap.reset(bitmap);
        image.width = width;
        image.height = height;
    }
    image.state = Image::State::Loaded;
    return image;
}

ImageStore& ImageStore::Of(dom::Document& document) {
    if (auto* store = Find(document)) return *store;
    document.SetImageAttachment(std::make_unique<ImageStore>());
    return *static_cast<ImageStore*>(document.ImageAttachment());
}

ImageStore* ImageStore::Find(const dom::Document& document) { return static_cast<ImageStore*>(document.ImageAttachment()); }

const Image* ImageStore::Lookup(const std::wstring& url) const {
    auto it = images_.find(url);
    return it == images_.end() ? nullptr : &it->second;
}

const Image& ImageStore::Request(const std::wstring& url) {
    auto [it, added] = images_.try_emplace(url);
    if (added) requested_.push_back(url);
    return it->second;
}

std::vector<std::wstring> ImageStore::TakeRequests() { return std::exchange(requested_, {}); }

void ImageStore::Arrived(const std::wstring& url, const std::vector<std::uint8_t>& bytes) {
    images_[url] = DecodeImage(bytes);
}

}  // namespace corvalin::browser::layout
