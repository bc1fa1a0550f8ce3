#include "support/jpeg_decoding.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace corvalin::testing {

namespace {

struct ErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void LeaveDecoder(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->jump, 1);
}

// Only plain data lives between setjmp and longjmp here.
bool DecodeInto(const Bytes& bytes, DecodedPicture& picture) {
    jpeg_decompress_struct decompress{};
    ErrorTrap trap{};
    decompress.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = LeaveDecoder;
    if (setjmp(trap.jump)) {
        jpeg_destroy_decompress(&decompress);
        return false;
    }
    jpeg_create_decompress(&decompress);
    jpeg_mem_src(&decompress, bytes.data(), static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&decompress, TRUE) != JPEG_HEADER_OK) {
        jpeg_destroy_decompress(&decompress);
        return false;
    }
    decompress.out_color_space = JCS_RGB;
    jpeg_start_decompress(&decompress);
    picture.width = static_cast<int>(decompress.output_width);
    picture.height = static_cast<int>(decompress.output_height);
    picture.rgb.resize(static_cast<std::size_t>(picture.width) * picture.height * 3);
    while (decompress.output_scanline < decompress.output_height) {
        JSAMPROW row = &picture.rgb[static_cast<std::size_t>(decompress.output_scanline) * picture.width * 3];
        jpeg_read_scanlines(&decompress, &row, 1);
    }
    jpeg_finish_decompress(&decompress);
    jpeg_destroy_decompress(&decompress);
    return true;
}

}  // namespace

std::optional<DecodedPicture> DecodeJpeg(const Bytes& bytes) {
    if (bytes.size() < 4) return std::nullopt;
    DecodedPicture picture;
    if (!DecodeInto(bytes, picture)) return std::nullopt;
    return picture;
}

}  // namespace corvalin::testing
