#include <windows.h>
#include <gtest/gtest.h>
#include <zlib.h>
#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include "artwork_files.h"
#include "background.h"
#include "glyphs.h"
#include "png_writer.h"
#include "program_icon.h"
#include "skin/images/builtin_images.h"

namespace corvalin::artwork {
namespace {

Bytes ReadSourceFile(const std::string& path) {
    std::ifstream in(std::string(CORVALIN_SOURCE_TREE) + "/" + path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

std::uint32_t Read32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

TEST(ArtworkTest, GeneratorReproducesTheCommittedFilesByteForByte) {
    const std::map<std::string, BuiltinImage (*)()> embedded = {
        {"src/skin/images/caption_help.png", CaptionHelpGlyph},
        {"src/skin/images/caption_menu.png", CaptionMenuGlyph},
        {"src/skin/images/caption_min.png", CaptionMinGlyph},
        {"src/skin/images/caption_max.png", CaptionMaxGlyph},
        {"src/skin/images/caption_restore.png", CaptionRestoreGlyph},
        {"src/skin/images/caption_close.png", CaptionCloseGlyph},
        {"src/skin/images/check_box.png", CheckBoxGlyph},
        {"src/skin/images/check_box_checked.png", CheckBoxCheckedGlyph},
        {"src/skin/images/arrow_down.png", ArrowDownGlyph},
        {"src/skin/images/arrow_up.png", ArrowUpGlyph},
        {"src/skin/images/arrow_left.png", ArrowLeftGlyph},
        {"src/skin/images/arrow_right.png", ArrowRightGlyph},
        {"src/skin/images/window_background.jpg", WindowBackgroundPicture},
    };
    const std::vector<ArtworkFile> files = GenerateArtwork();
    ASSERT_EQ(files.size(), embedded.size() + 2);
    for (const ArtworkFile& file : files) {
        SCOPED_TRACE(file.path);
        const Bytes committed = ReadSourceFile(file.path);
        ASSERT_FALSE(committed.empty()) << "missing from the source tree";
        EXPECT_TRUE(committed == file.bytes) << "regenerate with the artwork-files target";
        // What the program carries is the committed file itself.
        if (auto it = embedded.find(file.path); it != embedded.end()) {
            EXPECT_TRUE(it->second().ToBytes() == committed);
        }
    }
}

TEST(ArtworkTest, PngChunksAreWellFormed) {
    const Bytes png = EncodePng(CheckBox(true));
    ASSERT_GE(png.size(), 8u);
    std::vector<std::string> order;
    std::size_t at = 8;
    while (at + 12 <= png.size()) {
        const std::uint32_t length = Read32(png.data() + at);
        ASSERT_LE(at + 12 + length, png.size());
        order.emplace_back(reinterpret_cast<const char*>(png.data() + at + 4), 4);
        const uLong crc = crc32(0L, png.data() + at + 4, length + 4);
        EXPECT_EQ(Read32(png.data() + at + 8 + length), static_cast<std::uint32_t>(crc)) << order.back();
        if (order.back() == "IDAT") {
            // Thirteen rows of a filter byte and thirteen RGBA pixels.
            Bytes raw(13 * (1 + 13 * 4));
            uLongf size = static_cast<uLongf>(raw.size());
            ASSERT_EQ(uncompress(raw.data(), &size, png.data() + at + 8, length), Z_OK);
            EXPECT_EQ(size, raw.size());
            EXPECT_EQ(raw[0], 0);
            EXPECT_EQ(raw[1], 0x18);   // the first border pixel, 0x185184 opaque
            EXPECT_EQ(raw[3], 0x84);
            EXPECT_EQ(raw[4], 0xFF);
        }
        at += 12 + length;
    }
    EXPECT_EQ(at, png.size());
    const std::vector<std::string> expected = {"IHDR", "cHRM", "iCCP", "pHYs", "IDAT", "IEND"};
    EXPECT_EQ(order, expected);
}

TEST(ArtworkTest, DisplayProfileIsAConsistentIccProfile) {
    const Bytes profile = DisplayProfile();
    ASSERT_GE(profile.size(), 132u);
    EXPECT_EQ(Read32(profile.data()), profile.size());
    EXPECT_EQ(std::memcmp(profile.data() + 12, "mntrRGB XYZ ", 12), 0);
    EXPECT_EQ(std::memcmp(profile.data() + 36, "acsp", 4), 0);
    const std::uint32_t tags = Read32(profile.data() + 128);
    EXPECT_EQ(tags, 9u);
    std::map<std::string, std::uint32_t> offsets;
    for (std::uint32_t i = 0; i < tags; ++i) {
        const std::uint8_t* entry = profile.data() + 132 + 12 * i;
        const std::string signature(reinterpret_cast<const char*>(entry), 4);
        const std::uint32_t offset = Read32(entry + 4), size = Read32(entry + 8);
        EXPECT_EQ(offset % 4, 0u) << signature;
        EXPECT_LE(offset + size, profile.size()) << signature;
        offsets[signature] = offset;
    }
    for (const char* required : {"desc", "cprt", "wtpt", "rXYZ", "gXYZ", "bXYZ", "rTRC", "gTRC", "bTRC"})
        EXPECT_EQ(offsets.count(required), 1u) << required;
    EXPECT_EQ(std::memcmp(profile.data() + offsets["gTRC"], "curv", 4), 0);
}

TEST(ArtworkTest, IconHoldsThreeThirtyTwoBitImagesTheSystemLoads) {
    const Bytes icon = EncodeIcon({IconEmblem(16), IconEmblem(32), IconEmblem(48)});
    ASSERT_GE(icon.size(), 6u + 3 * 16);
    EXPECT_EQ(icon[2], 1);   // an icon, not a cursor
    EXPECT_EQ(icon[4], 3);
    const int sizes[] = {16, 32, 48};
    for (int i = 0; i < 3; ++i) {
        const std::uint8_t* entry = icon.data() + 6 + 16 * i;
        EXPECT_EQ(entry[0], sizes[i]);
        EXPECT_EQ(entry[1], sizes[i]);
        EXPECT_EQ(entry[6] | (entry[7] << 8), 32);
        std::uint32_t bytes, offset;
        std::memcpy(&bytes, entry + 8, 4);
        std::memcpy(&offset, entry + 12, 4);
        ASSERT_LE(offset + bytes, icon.size());
        Bytes image(icon.begin() + offset, icon.begin() + offset + bytes);
        HICON handle = CreateIconFromResourceEx(image.data(), bytes, TRUE, 0x00030000, sizes[i], sizes[i], 0);
        ASSERT_NE(handle, nullptr) << sizes[i];
        // Drawn over white, the centre of the emblem is its dark tile, the corner stays white.
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP target = CreateBitmap(sizes[i], sizes[i], 1, 32, nullptr);
        HGDIOBJ previous = SelectObject(dc, target);
        PatBlt(dc, 0, 0, sizes[i], sizes[i], WHITENESS);
        DrawIconEx(dc, 0, 0, handle, sizes[i], sizes[i], 0, nullptr, DI_NORMAL);
        EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255));
        const COLORREF tile = GetPixel(dc, sizes[i] / 2, sizes[i] / 8 + 1);
        EXPECT_LT(GetRValue(tile), 60) << sizes[i];
        SelectObject(dc, previous);
        DeleteObject(target);
        DeleteDC(dc);
        DestroyIcon(handle);
    }
}

TEST(ArtworkTest, CaptionShadeFallsEvenlyFromTopToBottom) {
    const Raster shade = CaptionBackground(26, 18, false);
    EXPECT_EQ(shade.At(5, 0).a, 0x50);
    EXPECT_EQ(shade.At(5, 17).a, 0x01);
    for (int y = 1; y < 18; ++y) {
        const int step = shade.At(5, y - 1).a - shade.At(5, y).a;
        EXPECT_GE(step, 4);
        EXPECT_LE(step, 5);
    }
    const Raster close = CaptionBackground(38, 18, true);
    EXPECT_EQ(close.At(37, 9), (Rgba{0, 0, 0, 0x06}));
    EXPECT_GT(close.At(36, 9).a, close.At(35, 9).a);
}

TEST(ArtworkTest, BackgroundIsDarkAndNotFlat) {
    const Raster picture = BackgroundPicture();
    ASSERT_EQ(picture.width, 480);
    ASSERT_EQ(picture.height, 320);
    long sum = 0;
    int darkest = 255, brightest = 0;
    for (const Rgba& p : picture.pixels) {
        const int level = (p.r + p.g + p.b) / 3;
        sum += level;
        darkest = std::min(darkest, level);
        brightest = std::max(brightest, level);
        EXPECT_EQ(p.a, 0xFF);
    }
    EXPECT_LT(sum / static_cast<long>(picture.pixels.size()), 70);
    EXPECT_GT(brightest - darkest, 60) << "light ribbons over the dark ground";
}

}  // namespace
}  // namespace corvalin::artwork
