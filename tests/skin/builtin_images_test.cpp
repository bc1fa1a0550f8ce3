#include <gtest/gtest.h>
#include <array>
#include <cstring>
#include <vector>
#include <map>
#include <string>
#include "skin/drawing/drawing_objects.h"
#include "skin/images/builtin_images.h"
#include "skin/skin_test_environment.h"

namespace corvalin {
namespace {

struct PngInfo {
    std::uint32_t width = 0, height = 0;
    int bitDepth = 0, colourType = 0, interlace = -1;
    std::map<std::string, int> chunks;   // chunk type -> count
    bool signatureOk = false;
};

std::uint32_t Read32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

PngInfo ReadPngChunks(const BuiltinImage& image) {
    PngInfo info;
    static const std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (image.size < 8 || std::memcmp(image.data, kSignature, 8) != 0) return info;
    info.signatureOk = true;
    std::size_t at = 8;
    while (at + 12 <= image.size) {
        const std::uint32_t length = Read32(image.data + at);
        const std::string type(reinterpret_cast<const char*>(image.data + at + 4), 4);
        if (at + 12 + length > image.size) break;
        ++info.chunks[type];
        const std::uint8_t* data = image.data + at + 8;
        if (type == "IHDR") {
            info.width = Read32(data);
            info.height = Read32(data + 4);
            info.bitDepth = data[8];
            info.colourType = data[9];
            info.interlace = data[12];
        }
        if (type == "pHYs") {
            EXPECT_EQ(Read32(data), 3780u) << "96 dpi";
            EXPECT_EQ(data[8], 1);
        }
        at += 12 + length;
    }
    return info;
}

struct GlyphCase {
    const char* name;
    BuiltinImage (*image)();
    unsigned width, height;
};

const GlyphCase kGlyphs[] = {
    {"CaptionHelpGlyph", CaptionHelpGlyph, 26, 18},       {"CaptionMenuGlyph", CaptionMenuGlyph, 26, 18},
    {"CaptionMinGlyph", CaptionMinGlyph, 26, 18},         {"CaptionMaxGlyph", CaptionMaxGlyph, 26, 18},
    {"CaptionRestoreGlyph", CaptionRestoreGlyph, 26, 18}, {"CaptionCloseGlyph", CaptionCloseGlyph, 38, 18},
    {"CheckBoxGlyph", CheckBoxGlyph, 13, 13},             {"CheckBoxCheckedGlyph", CheckBoxCheckedGlyph, 13, 13},
    {"ArrowDownGlyph", ArrowDownGlyph, 7, 4},             {"ArrowUpGlyph", ArrowUpGlyph, 7, 4},
    {"ArrowLeftGlyph", ArrowLeftGlyph, 4, 7},             {"ArrowRightGlyph", ArrowRightGlyph, 4, 7},
};

std::uint32_t Alpha(Gdiplus::ARGB c) { return c >> 24; }
std::uint32_t Rgb(Gdiplus::ARGB c) { return c & 0xFFFFFF; }

SkinCanvas Decode(const BuiltinImage& image) {
    SkinCanvas canvas;
    EXPECT_TRUE(canvas.CreateFromBytes(image.ToBytes())) << "status " << LastDrawStatus;
    return canvas;
}

TEST(BuiltinImagesTest, EveryGlyphIsAnRgbaPngWithItsSizeAndChunks) {
    for (const GlyphCase& glyph : kGlyphs) {
        SCOPED_TRACE(glyph.name);
        const PngInfo info = ReadPngChunks(glyph.image());
        ASSERT_TRUE(info.signatureOk);
        EXPECT_EQ(info.width, glyph.width);
        EXPECT_EQ(info.height, glyph.height);
        EXPECT_EQ(info.bitDepth, 8);
        EXPECT_EQ(info.colourType, 6);
        EXPECT_EQ(info.interlace, 0);
        for (const char* chunk : {"IHDR", "pHYs", "iCCP", "cHRM", "IDAT", "IEND"})
            EXPECT_EQ(info.chunks.count(chunk), 1u) << chunk;

        // GDI+ decodes each with its alpha channel.
        SkinCanvas canvas = Decode(glyph.image());
        EXPECT_EQ(canvas.Width(), glyph.width);
        EXPECT_EQ(canvas.Height(), glyph.height);
    }
}

TEST(BuiltinImagesTest, CheckedBoxShowsTheCheckMarkExactly) {
    // Row: first and last column of each run of the mark.
    const std::vector<std::array<int, 3>> mark = {{3, 9, 9}, {4, 8, 9}, {5, 3, 3}, {5, 7, 9}, {6, 3, 4},
                                                  {6, 6, 8}, {7, 3, 7}, {8, 4, 6}, {9, 5, 5}};
    auto inMark = [&](int x, int y) {
        for (const auto& run : mark)
            if (run[0] == y && x >= run[1] && x <= run[2]) return true;
        return false;
    };
    SkinCanvas checked = Decode(CheckBoxCheckedGlyph());
    SkinCanvas unchecked = Decode(CheckBoxGlyph());
    int markPixels = 0;
    for (int y = 0; y < 13; ++y) {
        for (int x = 0; x < 13; ++x) {
            SCOPED_TRACE(::testing::Message() << x << "," << y);
            const Gdiplus::ARGB on = checked.GetPixel(x, y), off = unchecked.GetPixel(x, y);
            EXPECT_EQ(Alpha(on), 0xFFu);
            const bool border = x == 0 || y == 0 || x == 12 || y == 12;
            if (border) {
                EXPECT_EQ(Rgb(on), 0x185184u);
                EXPECT_EQ(off, 0xE6030303u);
            } else if (inMark(x, y)) {
                EXPECT_EQ(Rgb(on), 0x246E75u);
                ++markPixels;
            } else {
                EXPECT_EQ(on, off) << "the same interior shade";
                EXPECT_EQ(Alpha(off), 0xFFu);
            }
        }
    }
    EXPECT_EQ(markPixels, 1 + 2 + 4 + 5 + 5 + 3 + 1);
    EXPECT_EQ(Rgb(unchecked.GetPixel(1, 1)), 0xDEDFD6u);
    const Gdiplus::ARGB corner = unchecked.GetPixel(11, 11);
    EXPECT_GE((corner >> 16) & 0xFF, 0xFAu);
    EXPECT_GE(corner & 0xFF, 0xFAu);
}

TEST(BuiltinImagesTest, ArrowsAreCentredBlackTriangles) {
    const int widths[] = {7, 5, 3, 1};
    struct Case {
        BuiltinImage (*image)();
        bool vertical;
        bool wideFirst;   // the 7-pixel line is the first row or column
    } cases[] = {{ArrowDownGlyph, true, true}, {ArrowUpGlyph, true, false}, {ArrowLeftGlyph, false, false},
                 {ArrowRightGlyph, false, true}};
    for (const Case& c : cases) {
        SkinCanvas canvas = Decode(c.image());
        for (int line = 0; line < 4; ++line) {
            const int width = widths[c.wideFirst ? line : 3 - line];
            const int first = (7 - width) / 2;
            for (int i = 0; i < 7; ++i) {
                const Gdiplus::ARGB pixel = c.vertical ? canvas.GetPixel(i, line) : canvas.GetPixel(line, i);
                const bool on = i >= first && i < first + width;
                EXPECT_EQ(pixel, on ? 0xFF000000u : 0u) << "line " << line << " at " << i;
            }
        }
    }
}

TEST(BuiltinImagesTest, CaptionGlyphsShareTheFadingTranslucentShade) {
    for (int g = 0; g < 6; ++g) {
        SCOPED_TRACE(kGlyphs[g].name);
        SkinCanvas canvas = Decode(kGlyphs[g].image());
        const int width = static_cast<int>(kGlyphs[g].width);
        EXPECT_EQ(canvas.GetPixel(2, 0), 0x50FFFFFFu);
        EXPECT_EQ(canvas.GetPixel(2, 17), 0x01FFFFFFu);
        for (int y = 1; y < 18; ++y) {
            EXPECT_LE(Alpha(canvas.GetPixel(2, y)), Alpha(canvas.GetPixel(2, y - 1))) << "row " << y;
            EXPECT_GT(Alpha(canvas.GetPixel(0, y)), Alpha(canvas.GetPixel(2, y))) << "separator, row " << y;
        }
        if (g == 5) {   // close: a second separator and a black, nearly clear last column
            for (int y = 0; y < 18; ++y) {
                EXPECT_GT(Alpha(canvas.GetPixel(width - 2, y)), Alpha(canvas.GetPixel(width - 3, y))) << y;
                const Gdiplus::ARGB last = canvas.GetPixel(width - 1, y);
                EXPECT_EQ(Rgb(last), 0u);
                EXPECT_GT(Alpha(last), 0u);
                EXPECT_LT(Alpha(last), 0x10u);
            }
        }
    }
}

TEST(BuiltinImagesTest, SystemButtonPictogramsAreOpaqueWhiteWithASlateOutline) {
    const Gdiplus::ARGB slate = 0xFF1D2C37;
    for (int g = 2; g < 6; ++g) {
        SCOPED_TRACE(kGlyphs[g].name);
        SkinCanvas canvas = Decode(kGlyphs[g].image());
        int white = 0, outline = 0, soft = 0;
        for (unsigned y = 0; y < kGlyphs[g].height; ++y)
            for (unsigned x = 0; x < kGlyphs[g].width; ++x) {
                const Gdiplus::ARGB p = canvas.GetPixel(static_cast<int>(x), static_cast<int>(y));
                white += p == 0xFFFFFFFF;
                outline += p == slate;
                soft += Alpha(p) > 0x80 && Alpha(p) < 0xFF;
            }
        EXPECT_GE(white, 8);
        EXPECT_GE(outline, 8);
        EXPECT_GE(soft, 4) << "partly transparent edge pixels";
    }
}

TEST(BuiltinImagesTest, HelpGlyphHasNoFullyOpaquePixelAndMenuGlyphIsGrey) {
    SkinCanvas help = Decode(CaptionHelpGlyph());
    int visible = 0;
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 26; ++x) {
            const Gdiplus::ARGB p = help.GetPixel(x, y);
            EXPECT_LT(Alpha(p), 0xFFu) << x << "," << y;
            visible += Alpha(p) > 0xC0;
        }
    EXPECT_GT(visible, 20) << "the bubble is there";

    SkinCanvas menu = Decode(CaptionMenuGlyph());
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 26; ++x) {
            const Gdiplus::ARGB p = menu.GetPixel(x, y);
            const std::uint32_t r = (p >> 16) & 0xFF, gr = (p >> 8) & 0xFF, b = p & 0xFF;
            EXPECT_TRUE(r == gr && gr == b) << "greys and white only, at " << x << "," << y;
        }
}

TEST(BuiltinImagesTest, WindowBackgroundIsABaselineJfifJpeg) {
    const BuiltinImage picture = WindowBackgroundPicture();
    ASSERT_GT(picture.size, 1000u);
    const std::uint8_t* p = picture.data;
    ASSERT_EQ(p[0], 0xFF);
    ASSERT_EQ(p[1], 0xD8);
    // APP0 "JFIF" version 1.01, dots per inch, 96 x 96.
    ASSERT_EQ(p[2], 0xFF);
    ASSERT_EQ(p[3], 0xE0);
    EXPECT_EQ(std::memcmp(p + 6, "JFIF\0", 5), 0);
    EXPECT_EQ(p[11], 1);
    EXPECT_EQ(p[12], 1);
    EXPECT_EQ(p[13], 1);
    EXPECT_EQ((p[14] << 8) | p[15], 96);
    EXPECT_EQ((p[16] << 8) | p[17], 96);
    // The frame header is baseline (SOF0) with three 8-bit components.
    bool baseline = false, progressive = false;
    for (std::size_t at = 2; at + 10 < picture.size;) {
        if (p[at] != 0xFF) break;
        const int marker = p[at + 1];
        const int length = (p[at + 2] << 8) | p[at + 3];
        if (marker == 0xC0) {
            baseline = true;
            EXPECT_EQ(p[at + 4], 8);
            EXPECT_EQ((p[at + 5] << 8) | p[at + 6], 320);
            EXPECT_EQ((p[at + 7] << 8) | p[at + 8], 480);
            EXPECT_EQ(p[at + 9], 3);
        }
        if (marker == 0xC2) progressive = true;
        if (marker == 0xDA) break;
        at += 2 + length;
    }
    EXPECT_TRUE(baseline);
    EXPECT_FALSE(progressive);

    SkinCanvas canvas = Decode(picture);
    EXPECT_EQ(canvas.Width(), 480u);
    EXPECT_EQ(canvas.Height(), 320u);
    // A dark picture: the average brightness stays low.
    std::uint64_t sum = 0;
    for (int y = 0; y < 320; y += 8)
        for (int x = 0; x < 480; x += 8) {
            const Gdiplus::ARGB c = canvas.GetPixel(x, y);
            sum += ((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF);
        }
    EXPECT_LT(sum / (40 * 60 * 3), 80u);
}

TEST(BuiltinImagesTest, GlyphsDrawWithTheirAlphaOverThePainting) {
    SkinCanvas canvas(38, 18);
    SkinGraphics graphics;
    ASSERT_TRUE(graphics.Create(canvas));
    graphics.Clear(0xFF000000);
    SkinImage close;
    ASSERT_TRUE(close.LoadFromBytes(CaptionCloseGlyph().ToBytes()));
    ASSERT_TRUE(graphics.DrawImage(close, 0, 0));
    graphics.Destroy();
    // Row 0 of the shade is white at 0x50 over black: about 0x50 in every channel.
    const Gdiplus::ARGB shade = canvas.GetPixel(3, 0);
    EXPECT_EQ(Alpha(shade), 0xFFu);
    EXPECT_NEAR(static_cast<int>(shade & 0xFF), 0x50, 2);
    EXPECT_NEAR(static_cast<int>(canvas.GetPixel(3, 17) & 0xFF), 1, 1);
}

}  // namespace
}  // namespace corvalin
