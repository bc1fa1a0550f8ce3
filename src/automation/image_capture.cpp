#include "automation/page_automation.h"

#include <objbase.h>
#include <wrl/client.h>

#include <cstring>
#include <utility>

#include "base/clipboard.h"
#include "base/gdiplus_session.h"
#include "base/global_lock.h"
#include "base/unique.h"

namespace corvalin {

namespace {

constexpr size_t kPictureHeaderSize = 54;   // file header 14 + information header 40

// The GDI+ encoders by format number, 1 to 5.
constexpr const wchar_t* kEncoders[] = {
    L"{557CF400-1A04-11D3-9A73-0000F81EF32E}",   // BMP
    L"{557CF401-1A04-11D3-9A73-0000F81EF32E}",   // JPEG
    L"{557CF402-1A04-11D3-9A73-0000F81EF32E}",   // GIF
    L"{557CF405-1A04-11D3-9A73-0000F81EF32E}",   // TIFF
    L"{557CF406-1A04-11D3-9A73-0000F81EF32E}",   // PNG
};

void PutLittleEndian(Bytes& out, size_t at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// `path` without blanks at either end: half-width and full-width spaces.
std::wstring TrimmedPath(std::string_view path) {
    std::wstring wide = ToWide(path);
    const auto blank = [](wchar_t c) { return c == L' ' || c == L'\x3000'; };
    while (!wide.empty() && blank(wide.back())) wide.pop_back();
    size_t start = 0;
    while (start < wide.size() && blank(wide[start])) ++start;
    return wide.substr(start);
}

bool WriteWholeFile(const std::wstring& path, const Bytes& bytes) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

}  // namespace

Bytes PageAutomation::CopyImage(std::string_view key, int format) const {
    const std::optional<std::wstring> savedText = Clipboard().Text();
    const AutomationObject range = document_.GetObject("body").CallObject("createControlRange");
    range.Call("add", FindImage(key));
    if (!range.CallBool("execCommand", "copy", false, 0)) return {};
    Bytes bytes = ClipboardImageBytes();
    // A format without an encoder is a failure, not the plain picture.
    if (format != 0 && !ConvertImage(bytes, format, "", bytes)) bytes.clear();
    // The user's text goes back in place of the picture.
    if (savedText) Clipboard().PutText(*savedText);
    return bytes;
}

Bytes PageAutomation::ClipboardImageBytes() const {
    const Clipboard clipboard;
    const HBITMAP bitmap = clipboard.Bitmap();
    if (!bitmap) return {};
    BITMAP shape{};
    if (!GetObjectA(bitmap, sizeof shape, &shape) || shape.bmWidth <= 0 || shape.bmHeight <= 0) return {};
    const auto width = static_cast<std::uint32_t>(shape.bmWidth);
    const auto height = static_cast<std::uint32_t>(shape.bmHeight);
    const std::uint32_t rowSize = (width * 24 + 31) / 32 * 4;
    const std::uint32_t imageSize = rowSize * height;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = shape.bmWidth;
    info.bmiHeader.biHeight = shape.bmHeight;   // positive: rows bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = imageSize;

    Bytes file(kPictureHeaderSize + imageSize, 0);
    {
        UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
        GetDIBits(dc.get(), bitmap, 0, height, file.data() + kPictureHeaderSize, &info, DIB_RGB_COLORS);
    }
    clipboard.Empty();

    file[0] = 'B';
    file[1] = 'M';
    PutLittleEndian(file, 2, imageSize + kPictureHeaderSize, 4);
    PutLittleEndian(file, 10, kPictureHeaderSize, 4);
    PutLittleEndian(file, 14, sizeof(BITMAPINFOHEADER), 4);
    PutLittleEndian(file, 18, width, 4);
    PutLittleEndian(file, 22, height, 4);
    PutLittleEndian(file, 26, 1, 2);
    PutLittleEndian(file, 28, 24, 2);
    PutLittleEndian(file, 34, imageSize, 4);
    return file;
}

bool PageAutomation::ConvertImage(const Bytes& image, int format, std::string_view path, Bytes& out) const {
    if (format < 1 || format > 5 || image.empty()) return false;
    CLSID encoder;
    if (FAILED(CLSIDFromString(kEncoders[format - 1], &encoder))) return false;
    const GdiplusSession gdiplus;
    if (!gdiplus.IsStarted()) return false;

    UniqueGlobalMemory source(GlobalAlloc(GMEM_MOVEABLE, image.size()));
    {
        const GlobalLockScope lock(source.get());
        if (!lock.data()) return false;
        std::memcpy(lock.data(), image.data(), image.size());
    }
    Microsoft::WRL::ComPtr<IStream> input;
    if (FAILED(CreateStreamOnHGlobal(source.get(), FALSE, &input))) return false;
    UniqueGdiplusImage bitmap;
    {
        Gdiplus::GpBitmap* decoded = nullptr;
        if (Gdiplus::DllExports::GdipCreateBitmapFromStream(input.Get(), &decoded) != Gdiplus::Ok) return false;
        bitmap.reset(decoded);
    }
    Microsoft::WRL::ComPtr<IStream> output;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &output)) ||
        Gdiplus::DllExports::GdipSaveImageToStream(bitmap.get(), output.Get(), &encoder, nullptr) != Gdiplus::Ok) {
        return false;
    }
    // The stream's own length: its memory block may be larger.
    STATSTG status{};
    HGLOBAL encoded = nullptr;
    if (FAILED(output->Stat(&status, STATFLAG_NONAME)) || FAILED(GetHGlobalFromStream(output.Get(), &encoded))) {
        return false;
    }
    const GlobalLockScope lock(encoded);
    if (!lock.data()) return false;
    const auto* begin = static_cast<const std::uint8_t*>(lock.data());
    out.assign(begin, begin + status.cbSize.QuadPart);
    if (const std::wstring file = TrimmedPath(path); !file.empty()) WriteWholeFile(file, out);
    return true;
}

}  // namespace corvalin
