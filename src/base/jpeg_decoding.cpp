#include "base/jpeg_decoding.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace corvalin {
namespace {

struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void OnJpegError(j_common_ptr info) { std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1); }
void OnJpegMessage(j_common_ptr) {}

// No object with a destructor lives in this frame: libjpeg reports errors by
// the long jump.
bool DecodeInto(const std::uint8_t* data, std::size_t size, HBITMAP& bitmap, void*& bits, long& width, long& height) {
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
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGRA;   // opaque: alpha comes out 255
    jpeg_start_decompress(&info);
    bits = nullptr;
    bitmap = CreateTopDownBitmap(static_cast<long>(info.output_width), static_cast<long>(info.output_height), &bits);
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

}  // namespace

HBITMAP CreateTopDownBitmap(long width, long height, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

bool LooksLikeJpeg(const std::uint8_t* data, std::size_t size) {
    return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

DecodedJpeg DecodeJpeg(const std::uint8_t* data, std::size_t size) {
    DecodedJpeg decoded;
    HBITMAP bitmap = nullptr;
    void* bits = nullptr;
    if (DecodeInto(data, size, bitmap, bits, decoded.width, decoded.height)) {
        decoded.bitmap.reset(bitmap);
        decoded.bits = bits;
    }
    return decoded;
}

}  // namespace corvalin
