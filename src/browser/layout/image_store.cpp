#include "browser/layout/image_store.h"

#include <objidl.h>
#include <shlwapi.h>
#include <wrl/client.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <utility>

#include <gdiplus.h>
#include <jpeglib.h>

namespace corvalin::browser::layout {

namespace {

struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void OnJpegError(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1); }
void OnJpegMessage(j_common_ptr) {}

HBITMAP TopDownBitmap(long width, long height, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

// No object with a destructor lives in this frame: libjpeg reports errors by
// the long jump.
bool DecodeJpeg(const std::vector<std::uint8_t>& bytes, HBITMAP& bitmap, long& width, long& height) {
    jpeg_decompress_struct info;
    JpegErrors errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = OnJpegError;
    errors.manager.output_message = OnJpegMessage;
    bitmap = nullptr;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        if (bitmap) DeleteObject(bitmap);
        bitmap = nullptr;
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGRA;   // opaque: alpha comes out 255
    jpeg_start_decompress(&info);
    void* bits = nullptr;
    bitmap = TopDownBitmap(static_cast<long>(info.output_width), static_cast<long>(info.output_height), &bits);
    if (!bitmap) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    width = static_cast<long>(info.output_width);
    height = static_cast<long>(info.output_height);
    const std::size_t stride = static_cast<std::size_t>(info.output_width) * 4;
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = static_cast<JSAMPROW>(bits) + stride * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    GdiFlush();
    return true;
}

void StartGdiplus() {
    static const bool started = [] {
        Gdiplus::GdiplusStartupInput input;
        ULONG_PTR token = 0;
        return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    }();
    (void)started;
}

// PNG (with its alpha), GIF (first frame) and BMP through GDI+, premultiplied.
bool DecodeByGdiplus(const std::vector<std::uint8_t>& bytes, HBITMAP& bitmap, long& width, long& height) {
    StartGdiplus();
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
    if (w > 0 && h > 0 && w <= 16384 && h <= 16384 && (bitmap = TopDownBitmap(static_cast<long>(w), static_cast<long>(h), &bits))) {
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
    HBITMAP bitmap = nullptr;
    long width = 0, height = 0;
    const bool jpeg = bytes[0] == 0xFF && bytes[1] == 0xD8;
    const bool decoded = jpeg ? DecodeJpeg(bytes, bitmap, width, height) : DecodeByGdiplus(bytes, bitmap, width, height);
    if (!decoded) return image;
    image.bitmap.reset(bitmap);
    image.width = width;
    image.height = height;
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
