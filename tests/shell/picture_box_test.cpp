#include <cstdio>
#include <cstring>

#include <jpeglib.h>

#include "shell_test_fixture.h"

namespace corvalin::shell::testing {
namespace {

using PictureBoxTest = ShellTest;

constexpr COLORREF kRed = RGB(220, 30, 30);
constexpr COLORREF kBlue = RGB(30, 30, 220);

// A 40x20 JPEG: red on the left half, blue on the right.
Bytes EncodeJpeg() {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = 40;
    info.image_height = 20;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(40 * 3);
    for (int x = 0; x < 40; ++x) {
        const COLORREF c = x < 20 ? kRed : kBlue;
        row[x * 3] = GetRValue(c);
        row[x * 3 + 1] = GetGValue(c);
        row[x * 3 + 2] = GetBValue(c);
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&info, &pointer, 1);
    }
    jpeg_finish_compress(&info);
    Bytes bytes(out, out + size);
    jpeg_destroy_compress(&info);
    std::free(out);
    return bytes;
}

// A 24-bit 8x6 BMP file of one colour.
Bytes EncodeBmp(COLORREF color) {
    const int width = 8, height = 6, stride = 24;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + stride * height;
    Bytes bytes(file.bfSize);
    std::memcpy(bytes.data(), &file, sizeof file);
    std::memcpy(bytes.data() + sizeof file, &info, sizeof info);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = bytes.data() + file.bfOffBits + y * stride + x * 3;
            p[0] = GetBValue(color);
            p[1] = GetGValue(color);
            p[2] = GetRValue(color);
        }
    }
    return bytes;
}

// What the picture box paints, read back from a memory bitmap.
class Painted {
public:
    explicit Painted(HWND box) {
        RECT r;
        GetClientRect(box, &r);
        dc_.reset(CreateCompatibleDC(nullptr));
        WindowDc screen(nullptr);
        bitmap_.reset(CreateCompatibleBitmap(screen.get(), r.right, r.bottom));
        SelectScope select(dc_.get(), bitmap_.get());
        SendMessageA(box, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_.get()), PRF_CLIENT);
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 120; x += 1) pixels_[y][x] = GetPixel(dc_.get(), x, y);
        }
    }
    COLORREF At(int x, int y) const { return pixels_[y][x]; }

private:
    UniqueMemoryDc dc_;
    UniqueBitmap bitmap_;
    COLORREF pixels_[20][120] = {};
};

bool Near(COLORREF a, COLORREF b) {
    auto d = [](int x, int y) { return x > y ? x - y : y - x; };
    return d(GetRValue(a), GetRValue(b)) < 24 && d(GetGValue(a), GetGValue(b)) < 24 && d(GetBValue(a), GetBValue(b)) < 24;
}

TEST_F(PictureBoxTest, AJpegIsDecodedAndShown) {
    LoadMain();
    HWND box = Handle(kMainWindowId, kCaptchaPictureId);
    const COLORREF background = GetSysColor(COLOR_BTNFACE);
    const Bytes jpeg = EncodeJpeg();
    SetControlProperty(kMainWindowId, kCaptchaPictureId, kPropPicture, jpeg);
    EXPECT_EQ(GetControlProperty(kMainWindowId, kCaptchaPictureId, kPropPicture).AsBytes(), jpeg);
    Painted shown(box);
    EXPECT_TRUE(Near(shown.At(5, 5), kRed));
    EXPECT_TRUE(Near(shown.At(35, 15), kBlue));
    EXPECT_EQ(shown.At(60, 5), background) << "drawn at its own size, at the top left";

    SetControlProperty(kMainWindowId, kCaptchaPictureId, kPropPicture, Bytes());
    Painted cleared(box);
    EXPECT_EQ(cleared.At(5, 5), background);
}

TEST_F(PictureBoxTest, BrokenPicturesShowNothing) {
    LoadMain();
    HWND box = Handle(kMainWindowId, kCaptchaPictureId);
    const COLORREF background = GetSysColor(COLOR_BTNFACE);
    Bytes truncatedHeader = EncodeJpeg();
    truncatedHeader.resize(40);
    Bytes corrupted = EncodeJpeg();
    for (std::size_t i = 2; i < 200 && i < corrupted.size(); ++i) corrupted[i] = static_cast<std::uint8_t>(i * 7);
    const std::string page = "<html><body>404 Not Found</body></html>";
    const Bytes cases[] = {truncatedHeader, corrupted, Bytes(page.begin(), page.end()), Bytes{0xFF, 0xD8, 0xFF}};
    for (const Bytes& bytes : cases) {
        SetControlProperty(kMainWindowId, kCaptchaPictureId, kPropPicture, EncodeJpeg());
        SetControlProperty(kMainWindowId, kCaptchaPictureId, kPropPicture, bytes);
        Painted shown(box);
        EXPECT_EQ(shown.At(5, 5), background) << bytes.size();
    }
}

TEST_F(PictureBoxTest, ABmpIsDecodedByThePlatform) {
    LoadMain();
    HWND box = Handle(kMainWindowId, kCaptchaPictureId);
    SetControlProperty(kMainWindowId, kCaptchaPictureId, kPropPicture, EncodeBmp(RGB(0, 200, 0)));
    Painted shown(box);
    EXPECT_EQ(shown.At(3, 3), RGB(0, 200, 0));
    EXPECT_EQ(shown.At(7, 5), RGB(0, 200, 0));
    EXPECT_EQ(shown.At(20, 3), GetSysColor(COLOR_BTNFACE));
}

// An .ico file of the 16x16 image this test program carries in its resources.
Bytes IconFileFromResources() {
    HMODULE self = GetModuleHandleA(nullptr);
    HRSRC group = FindResourceA(self, "DEFAULT_ICON", MAKEINTRESOURCEA(14));
    const auto* directory = static_cast<const BYTE*>(LockResource(LoadResource(self, group)));
    const int id = LookupIconIdFromDirectoryEx(const_cast<BYTE*>(directory), TRUE, 16, 16, 0);
    HRSRC image = FindResourceA(self, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(3));
    const auto* bits = static_cast<const BYTE*>(LockResource(LoadResource(self, image)));
    const DWORD size = SizeofResource(self, image);
    Bytes file = {0, 0, 1, 0, 1, 0,                       // icon directory with one entry
                  16, 16, 0, 0, 1, 0, 32, 0};             // 16x16, one plane, 32 bits
    for (int shift = 0; shift < 32; shift += 8) file.push_back(static_cast<std::uint8_t>(size >> shift));
    for (int shift = 0; shift < 32; shift += 8) file.push_back(static_cast<std::uint8_t>(22 >> shift));
    file.insert(file.end(), bits, bits + size);
    return file;
}

TEST_F(PictureBoxTest, AnIconFileIsDecodedByThePlatform) {
    LoadMain();
    HWND box = Handle(kMainWindowId, kCaptchaPictureId);
    const COLORREF background = GetSysColor(COLOR_BTNFACE);
    SetControlProperty(kMainWindowId, kCaptchaPictureId, kPropPicture, IconFileFromResources());
    Painted shown(box);
    EXPECT_NE(shown.At(8, 8), background) << "the icon's middle";
    EXPECT_EQ(shown.At(30, 8), background);
}

TEST_F(PictureBoxTest, BackgroundColourFillsAroundThePicture) {
    LoadMain();
    HWND box = Handle(kMainWindowId, kCaptchaPictureId);
    SetControlProperty(kMainWindowId, kCaptchaPictureId, kPropBackColor, static_cast<int>(RGB(10, 20, 30)));
    SetControlProperty(kMainWindowId, kCaptchaPictureId, kPropPicture, EncodeBmp(RGB(0, 200, 0)));
    Painted shown(box);
    EXPECT_EQ(shown.At(50, 10), RGB(10, 20, 30));
    EXPECT_EQ(GetControlProperty(kMainWindowId, kCaptchaPictureId, kPropBackColor).AsInteger(), static_cast<int>(RGB(10, 20, 30)));
}

}  // namespace
}  // namespace corvalin::shell::testing
