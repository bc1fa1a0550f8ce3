#include "browser/layout/image_store.h"

#include <gtest/gtest.h>

#include <cstring>

#include "base/gdiplus_session.h"

namespace corvalin::browser::layout {
namespace {

// A 32-bit BMP file of one colour (decoded through GDI+).
std::vector<std::uint8_t> Bmp(long width, long height, COLORREF color) {
    const std::uint32_t pixelBytes = static_cast<std::uint32_t>(width * height * 4);
    std::vector<std::uint8_t> file(54 + pixelBytes);
    BITMAPFILEHEADER header{0x4D42, static_cast<DWORD>(file.size()), 0, 0, 54};
    BITMAPINFOHEADER info{sizeof info, width, height, 1, 32, BI_RGB, pixelBytes, 0, 0, 0, 0};
    std::memcpy(file.data(), &header, 14);
    std::memcpy(file.data() + 14, &info, 40);
    for (std::uint32_t i = 54; i < file.size(); i += 4) {
        file[i] = GetBValue(color);
        file[i + 1] = GetGValue(color);
        file[i + 2] = GetRValue(color);
    }
    return file;
}

// The top left pixel of a decoded image as 0x00RRGGBB.
std::uint32_t FirstPixel(const Image& image) {
    DIBSECTION section{};
    if (!image.bitmap || !GetObject(image.bitmap.get(), sizeof section, &section) || !section.dsBm.bmBits) return 0xFFFFFFFF;
    return *static_cast<const std::uint32_t*>(section.dsBm.bmBits) & 0xFFFFFF;
}

// GDI+ has one owner for the process: the skin and the automation object let
// go of theirs while the page engine still decodes images.
TEST(ImageStoreTest, ImagesDecodeAfterEveryOtherGdiplusHolderLetGo) {
    const ULONG_PTR skin = HoldGdiplus();
    ASSERT_NE(skin, 0u);
    const Image first = DecodeImage(Bmp(3, 2, RGB(10, 20, 30)));
    ASSERT_EQ(first.state, Image::State::Loaded);
    EXPECT_EQ(first.width, 3);
    EXPECT_EQ(first.height, 2);
    EXPECT_EQ(FirstPixel(first), 0x0A141Eu);
    const int held = GdiplusHolds();
    {
        const GdiplusSession automation;
        EXPECT_TRUE(automation.IsStarted());
        EXPECT_EQ(GdiplusHolds(), held + 1);
    }
    ReleaseGdiplus(skin);
    ReleaseGdiplus(0);
    EXPECT_EQ(GdiplusHolds(), held - 1);
    EXPECT_GE(GdiplusHolds(), 1) << "the decoder keeps its hold until the process ends";
    const Image second = DecodeImage(Bmp(5, 4, RGB(200, 100, 50)));
    ASSERT_EQ(second.state, Image::State::Loaded);
    EXPECT_EQ(FirstPixel(second), 0xC86432u);
    EXPECT_EQ(DecodeImage({'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'}).state, Image::State::Broken);
}

}  // namespace
}  // namespace corvalin::browser::layout
