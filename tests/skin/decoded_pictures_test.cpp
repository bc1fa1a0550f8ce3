// Pictures the skin decodes itself must come out as the platform's decoder
// makes them, pixel for pixel; what it cannot read goes to the platform.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/png_decoding.h"
#include "skin/decoded_pictures.h"
#include "skin/drawing/drawing_objects.h"
#include "skin/images/builtin_images.h"
#include "skin/skin_test_environment.h"

namespace corvalin {
namespace {

void Put32(Bytes& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void PutChunk(Bytes& out, const char* type, const Bytes& body) {
    Put32(out, static_cast<std::uint32_t>(body.size()));
    Bytes typed(type, type + 4);
    typed.insert(typed.end(), body.begin(), body.end());
    out.insert(out.end(), typed.begin(), typed.end());
    Put32(out, static_cast<std::uint32_t>(crc32(0, typed.data(), static_cast<uInt>(typed.size()))));
}

// A PNG of `width` × `height` whose row y uses filter `filters[y % size]`:
// the encoder side of each filter is done here so the decoder has to undo it.
Bytes FilteredPng(int width, int height, int colorType, const std::vector<int>& filters) {
    const int channels = colorType == 6 ? 4 : colorType == 2 ? 3 : colorType == 4 ? 2 : 1;
    const int stride = width * channels;
    std::vector<std::vector<std::uint8_t>> rows(height, std::vector<std::uint8_t>(stride));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < stride; ++x) rows[y][x] = static_cast<std::uint8_t>((x * 37 + y * 91 + (x * y) % 13) & 0xFF);
    Bytes raw;
    for (int y = 0; y < height; ++y) {
        const int filter = filters[y % filters.size()];
        raw.push_back(static_cast<std::uint8_t>(filter));
        for (int x = 0; x < stride; ++x) {
            const int a = x >= channels ? rows[y][x - channels] : 0;
            const int b = y > 0 ? rows[y - 1][x] : 0;
            const int c = y > 0 && x >= channels ? rows[y - 1][x - channels] : 0;
            int predictor = 0;
            if (filter == 1) predictor = a;
            if (filter == 2) predictor = b;
            if (filter == 3) predictor = (a + b) / 2;
            if (filter == 4) {
                const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
                predictor = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
            }
            raw.push_back(static_cast<std::uint8_t>(rows[y][x] - predictor));
        }
    }
    Bytes compressed(compressBound(static_cast<uLong>(raw.size())));
    uLongf length = static_cast<uLongf>(compressed.size());
    compress(compressed.data(), &length, raw.data(), static_cast<uLong>(raw.size()));
    compressed.resize(length);
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    Put32(header, static_cast<std::uint32_t>(width));
    Put32(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, static_cast<std::uint8_t>(colorType), 0, 0, 0});
    PutChunk(png, "IHDR", header);
    PutChunk(png, "gAMA", Bytes{0, 0, 0xB1, 0x8F});
    // The data split over two chunks, as encoders may write it.
    const std::size_t half = compressed.size() / 2;
    PutChunk(png, "IDAT", Bytes(compressed.begin(), compressed.begin() + static_cast<std::ptrdiff_t>(half)));
    PutChunk(png, "IDAT", Bytes(compressed.begin() + static_cast<std::ptrdiff_t>(half), compressed.end()));
    PutChunk(png, "IEND", {});
    return png;
}

std::vector<Gdiplus::ARGB> Pixels(const SkinCanvas& canvas) {
    std::vector<Gdiplus::ARGB> pixels;
    for (unsigned y = 0; y < canvas.Height(); ++y)
        for (unsigned x = 0; x < canvas.Width(); ++x) pixels.push_back(canvas.GetPixel(static_cast<int>(x), static_cast<int>(y)));
    return pixels;
}

int ChannelDifference(Gdiplus::ARGB a, Gdiplus::ARGB b) {
    int most = 0;
    for (int shift = 0; shift < 32; shift += 8)
        most = std::max(most, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
    return most;
}

// The same bytes through the cache and through the platform's decoder: no
// channel of any pixel further apart than `tolerance`, and on average within
// half a level.
void ExpectDecodedAsThePlatformDoes(const Bytes& bytes, const std::string& what, int tolerance = 0) {
    const auto cached = CachedPicture(bytes);
    SkinCanvas platform;
    ASSERT_TRUE(platform.CreateFromBytes(bytes)) << what;
    ASSERT_TRUE(cached) << what;
    ASSERT_EQ(cached->Width(), platform.Width()) << what;
    ASSERT_EQ(cached->Height(), platform.Height()) << what;
    const auto mine = Pixels(*cached), theirs = Pixels(platform);
    double total = 0;
    for (std::size_t i = 0; i < mine.size(); ++i) {
        const int difference = ChannelDifference(mine[i], theirs[i]);
        total += difference;
        if (difference > tolerance) {
            ADD_FAILURE() << what << ": pixel " << i % cached->Width() << "," << i / cached->Width() << " is " << std::hex
                          << mine[i] << ", the platform's " << theirs[i];
            return;
        }
    }
    EXPECT_LT(total / static_cast<double>(mine.size()), 0.5) << what;
}

TEST(DecodedPicturesTest, BuiltInPicturesDecodeAsThePlatformDecodesThem) {
    const struct {
        const char* name;
        BuiltinImage image;
    } images[] = {{"close", CaptionCloseGlyph()},     {"help", CaptionHelpGlyph()},  {"menu", CaptionMenuGlyph()},
                  {"min", CaptionMinGlyph()},         {"max", CaptionMaxGlyph()},    {"restore", CaptionRestoreGlyph()},
                  {"check", CheckBoxGlyph()},         {"checked", CheckBoxCheckedGlyph()},
                  {"arrow", ArrowDownGlyph()},        {"background", WindowBackgroundPicture()}};
    for (const auto& image : images) {
        DecodedPng png;
        if (std::string(image.name) != "background") {
            EXPECT_TRUE(DecodePng(image.image.data, image.image.size, png)) << image.name << " went to the platform";
        }
        // The JPEG goes through libjpeg, as picture boxes and pages decode
        // theirs; the platform's decoder rounds its colour upsampling a
        // little differently.
        const bool jpeg = std::string(image.name) == "background";
        ExpectDecodedAsThePlatformDoes(image.image.ToBytes(), image.name, jpeg ? 8 : 0);
    }
}

TEST(DecodedPicturesTest, EveryRowFilterAndColourTypeIsUndone) {
    for (int colorType : {0, 2, 4, 6}) {
        const Bytes png = FilteredPng(9, 10, colorType, {0, 1, 2, 3, 4});
        DecodedPng decoded;
        ASSERT_TRUE(DecodePng(png.data(), png.size(), decoded)) << "colour type " << colorType;
        EXPECT_EQ(decoded.width, 9);
        EXPECT_EQ(decoded.height, 10);
        ExpectDecodedAsThePlatformDoes(png, "colour type " + std::to_string(colorType));
    }
}

TEST(DecodedPicturesTest, DamagedOrUnusualPngsAreRefusedNotMisread) {
    const Bytes good = FilteredPng(5, 4, 6, {4});
    DecodedPng out;
    ASSERT_TRUE(DecodePng(good.data(), good.size(), out));

    Bytes badCrc = good;
    badCrc[8 + 8 + 3] ^= 0x01;   // a byte of the width, under IHDR's CRC
    EXPECT_FALSE(DecodePng(badCrc.data(), badCrc.size(), out));
    EXPECT_TRUE(out.pixels.empty());
    for (std::size_t cut : {std::size_t{7}, std::size_t{20}, good.size() / 2, good.size() - 1}) {
        EXPECT_FALSE(DecodePng(good.data(), cut, out)) << "cut at " << cut;
    }
    Bytes badFilter = FilteredPng(5, 4, 6, {5});   // no filter 5
    EXPECT_FALSE(DecodePng(badFilter.data(), badFilter.size(), out));
    const Bytes sixteenBit = [&] {
        Bytes png = good;
        png[8 + 8 + 8] = 16;   // bit depth
        const uLong crc = crc32(0, png.data() + 12, 17);
        for (int i = 0; i < 4; ++i) png[8 + 8 + 13 + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
        return png;
    }();
    EXPECT_FALSE(DecodePng(sixteenBit.data(), sixteenBit.size(), out)) << "16-bit samples are the platform's";

    // A palette picture, made by the platform's own encoder, still decodes through the cache.
    SkinCanvas indexed;
    ASSERT_TRUE(indexed.Create(6, 6, PixelFormat8bppIndexed));
    const Bytes palettePng = indexed.EncodeToBytes(kPngFormat);
    ASSERT_FALSE(palettePng.empty());
    if (!DecodePng(palettePng.data(), palettePng.size(), out)) {
        ExpectDecodedAsThePlatformDoes(palettePng, "palette PNG");
    }
}

}  // namespace
}  // namespace corvalin
