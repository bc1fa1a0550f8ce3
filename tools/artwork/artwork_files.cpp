#include "artwork_files.h"
#include <algorithm>
#include "background.h"
#include "glyphs.h"
#include "png_writer.h"
#include "program_icon.h"

namespace corvalin::artwork {

namespace {

constexpr int kScale = 6;
constexpr int kGap = 18;
constexpr int kChecker = 6;

void Place(Raster& sheet, const Raster& image, int left, int top, int scale) {
    for (int y = 0; y < image.height * scale; ++y)
        for (int x = 0; x < image.width * scale; ++x)
            sheet.At(left + x, top + y) = Over(image.At(x / scale, y / scale), sheet.At(left + x, top + y));
}

void Checkerboard(Raster& sheet, int left, int top, int width, int height) {
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool light = ((x / kChecker) + (y / kChecker)) % 2 == 0;
            sheet.At(left + x, top + y) = light ? Rgba{0xC8, 0xC8, 0xC8, 0xFF} : Rgba{0x8C, 0x8C, 0x8C, 0xFF};
        }
}

}  // namespace

Raster ArtworkSheet() {
    const std::vector<Glyph> glyphs = AllGlyphs();
    // Row one: the six caption glyphs; row two: check boxes and arrows.
    auto rowWidth = [&](std::size_t from, std::size_t to) {
        int width = kGap;
        for (std::size_t i = from; i < to; ++i) width += glyphs[i].raster.width * kScale + kGap;
        return width;
    };
    const int width = std::max({rowWidth(0, 6), rowWidth(6, 12) + 96 + 3 * kGap, kBackgroundWidth + 2 * kGap});
    const int rowOne = 18 * kScale, rowTwo = 13 * kScale;
    const int height = kGap + rowOne + kGap + rowTwo + kGap + kBackgroundHeight + kGap;
    Raster sheet(width, height);
    for (Rgba& p : sheet.pixels) p = {0x20, 0x24, 0x2A, 0xFF};
    int x = kGap;
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        if (i == 6) x = kGap;
        const Raster& image = glyphs[i].raster;
        const int top = i < 6 ? kGap : kGap + rowOne + kGap + (rowTwo - image.height * kScale) / 2;
        Checkerboard(sheet, x, top, image.width * kScale, image.height * kScale);
        Place(sheet, image, x, top, kScale);
        x += image.width * kScale + kGap;
    }
    // The program icon at its three sizes, after the small glyphs.
    for (int size : {48, 32, 16}) {
        Place(sheet, IconEmblem(size), x, kGap + rowOne + kGap + (rowTwo - size) / 2, 1);
        x += size + kGap;
    }
    Place(sheet, BackgroundPicture(), (width - kBackgroundWidth) / 2, kGap + rowOne + kGap + rowTwo + kGap, 1);
    return sheet;
}

std::vector<ArtworkFile> GenerateArtwork() {
    std::vector<ArtworkFile> files;
    for (const Glyph& glyph : AllGlyphs()) files.push_back({"src/skin/images/" + glyph.fileName, EncodePng(glyph.raster)});
    files.push_back({"src/skin/images/window_background.jpg", EncodeJpeg(BackgroundPicture(), kBackgroundQuality)});
    files.push_back({"src/skin/images/corvalin.ico", EncodeIcon({IconEmblem(16), IconEmblem(32), IconEmblem(48)})});
    files.push_back({"docs/artwork.png", EncodePng(ArtworkSheet())});
    return files;
}

}  // namespace corvalin::artwork
