// Pictures for picture boxes: JPEG through libjpeg, the other formats (BMP,
// GIF, icons) through the platform's picture loader.
#include <olectl.h>

#include <cstring>
#include <utility>

#include "base/jpeg_decoding.h"
#include "shell/loaded_window.h"

namespace corvalin::shell {
namespace {

bool DecodeJpeg(const Bytes& bytes, Picture& out) {
    DecodedJpeg jpeg = corvalin::DecodeJpeg(bytes.data(), bytes.size());
    if (!jpeg.bitmap) return false;
    out.bitmap = std::move(jpeg.bitmap);
    out.width = static_cast<int>(jpeg.width);
    out.height = static_cast<int>(jpeg.height);
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

}  // namespace

Picture DecodePicture(const Bytes& bytes) {
    Picture picture;
    if (bytes.empty()) return picture;
    const bool decoded = LooksLikeJpeg(bytes.data(), bytes.size()) ? DecodeJpeg(bytes, picture) : DecodeByPlatform(bytes, picture);
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
