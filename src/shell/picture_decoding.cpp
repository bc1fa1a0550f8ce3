// Pictures for picture boxes: JPEG through libjpeg, the other formats (BMP,
// GIF, icons) through the platform's picture loader.
#include <olectl.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

#include "shell/loaded_window.h"

namespace corvalin::shell {
namespace {

struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void OnJpegError(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1); }
void OnJpegMessage(j_common_ptr) {}

HBITMAP CreateTopDownBitmap(int width, int height, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

// No C++ object with a destructor lives in this frame: libjpeg reports
// errors by the long jump.
bool DecodeJpeg(const Bytes& bytes, Picture& out) {
    jpeg_decompress_struct info;
    JpegErrors errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = OnJpegError;
    errors.manager.output_message = OnJpegMessage;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        out.bitmap.reset();
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGRX;
    jpeg_start_decompress(&info);
    void* bits = nullptr;
    out.bitmap.reset(CreateTopDownBitmap(static_cast<int>(info.output_width), static_cast<int>(info.output_height), &bits));
    if (!out.bitmap) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    out.width = static_cast<int>(info.output_width);
    out.height = static_cast<int>(info.output_height);
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

bool DecodeByPlatform(const Bytes& bytes, Picture& out) {
    UniqueGlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, bytes.size()));
    if (!memory) return false;
    void* data = GlobalLock(memory.get());
    if (!data) return false;
    std::memcpy(data, bytes.data(), bytes.size());
    GlobalUnlock(memory.get());
    Microsoft::WRL::ComPtr<IStream> stream;
    // The stream owns the memory from here on.
    if (FAILED(CreateStreamOnHGlobal(memory.get(), TRUE, &stream))) return false;
    memory.release();
    Microsoft::WRL::ComPtr<IPicture> picture;
    if (FAILED(OleLoadPicture(stream.Get(), static_cast<LONG>(bytes.size()), FALSE, IID_IPicture,
                              reinterpret_cast<void**>(picture.GetAddressOf())))) {
        return false;
    }
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    picture->get_Width(&width);
    picture->get_Height(&height);
    WindowDc screen(nullptr);
    out.width = MulDiv(width, GetDeviceCaps(screen.get(), LOGPIXELSX), 2540);
    out.height = MulDiv(height, GetDeviceCaps(screen.get(), LOGPIXELSY), 2540);
    if (out.width <= 0 || out.height <= 0) return false;
    out.platformPicture = picture;
    return true;
}

bool LooksLikeJpeg(const Bytes& bytes) { return bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF; }

}  // namespace

Picture DecodePicture(const Bytes& bytes) {
    Picture picture;
    if (bytes.empty()) return picture;
    const bool decoded = LooksLikeJpeg(bytes) ? DecodeJpeg(bytes, picture) : DecodeByPlatform(bytes, picture);
    if (!decoded) return Picture{};
    return picture;
}

void DrawPicture(const Picture& picture, HDC dc, int x, int y) {
    if (picture.bitmap) {
        UniqueMemoryDc memory(CreateCompatibleDC(dc));
        SelectScope select(memory.get(), picture.bitmap.get());
        BitBlt(dc, x, y, picture.width, picture.height, memory.get(), 0, 0, SRCCOPY);
    } else if (picture.platformPicture) {
        OLE_XSIZE_HIMETRIC width = 0;
        OLE_YSIZE_HIMETRIC height = 0;
        picture.platformPicture->get_Width(&width);
        picture.platformPicture->get_Height(&height);
        picture.platformPicture->Render(dc, x, y, picture.width, picture.height, 0, height, width, -height, nullptr);
    }
}

}  // namespace corvalin::shell
