#include "hang-service/captcha_picture.h"

#include <cstdlib>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "support/jpeg_decoding.h"

namespace corvalin::hang {
namespace {

int DarkPixels(const RgbRaster& raster) {
    int dark = 0;
    for (int y = 0; y < raster.height; ++y)
        for (int x = 0; x < raster.width; ++x) {
            const std::uint8_t* p = raster.At(x, y);
            dark += p[0] + p[1] + p[2] < 330;
        }
    return dark;
}

TEST(CaptchaPictureTest, TextsAreFourCharactersOfTheAlphabet) {
    std::mt19937_64 random(7);
    const std::string alphabet = kCaptchaAlphabet;
    std::set<char> seen;
    for (int i = 0; i < 300; ++i) {
        const std::string text = RandomCaptchaText(random);
        ASSERT_EQ(text.size(), 4u);
        for (char c : text) {
            EXPECT_NE(alphabet.find(c), std::string::npos) << c;
            seen.insert(c);
        }
    }
    EXPECT_EQ(seen.size(), alphabet.size());   // every character comes up
}

TEST(CaptchaPictureTest, EveryAlphabetCharacterHasAGlyphAndLookalikesHaveNone) {
    for (char c : std::string(kCaptchaAlphabet)) {
        const std::uint8_t* rows = CaptchaGlyph(c);
        ASSERT_NE(rows, nullptr) << c;
        int bits = 0;
        for (int r = 0; r < 7; ++r) bits += __builtin_popcount(rows[r]);
        EXPECT_GT(bits, 8) << c;
    }
    for (char c : {'0', 'O', '1', 'I', 'a', ' '}) EXPECT_EQ(CaptchaGlyph(c), nullptr) << c;
}

TEST(CaptchaPictureTest, GlyphsAreDrawnInDarkInkOverAPaleGround) {
    const RgbRaster blank = DrawCaptcha("", 5);
    const RgbRaster text = DrawCaptcha("WMHB", 5);
    EXPECT_EQ(text.width, 130);
    EXPECT_EQ(text.height, 53);
    // Four glyphs of about 18 font dots of 4 x 5 pixels each.
    EXPECT_GT(DarkPixels(text) - DarkPixels(blank), 4 * 15 * 20);
    EXPECT_LT(DarkPixels(blank), 200);   // speckles only
}

TEST(CaptchaPictureTest, SameSeedSameTextSamePictureOtherwiseDifferent) {
    const RgbRaster a = DrawCaptcha("AB23", 11);
    EXPECT_EQ(a.pixels, DrawCaptcha("AB23", 11).pixels);
    EXPECT_NE(a.pixels, DrawCaptcha("AB23", 12).pixels);
    EXPECT_NE(a.pixels, DrawCaptcha("AB24", 11).pixels);
}

TEST(CaptchaPictureTest, JpegDecodesToThePictureDrawn) {
    const RgbRaster raster = DrawCaptcha("K7PQ", 3);
    const Bytes jpeg = EncodeJpeg(raster);
    ASSERT_GT(jpeg.size(), 500u);
    EXPECT_EQ(jpeg[0], 0xFF);
    EXPECT_EQ(jpeg[1], 0xD8);
    const auto decoded = testing::DecodeJpeg(jpeg);
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->width, 130);
    ASSERT_EQ(decoded->height, 53);
    long difference = 0;
    for (std::size_t i = 0; i < raster.pixels.size(); ++i)
        difference += std::abs(static_cast<int>(raster.pixels[i]) - decoded->rgb[i]);
    EXPECT_LT(difference / static_cast<long>(raster.pixels.size()), 8);
}

}  // namespace
}  // namespace corvalin::hang
