#include "skin/decoded_pictures.h"

#include <cstring>
#include <vector>

#include "base/jpeg_decoding.h"
#include "base/png_decoding.h"

namespace corvalin {
namespace {

struct DecodedEntry {
    Bytes bytes;                                  // what was decoded, to match by content
    std::shared_ptr<const SkinCanvas> picture;    // null: the bytes did not decode
};

// A handful of pictures in practice; the oldest goes when more accumulate
// (a program that keeps setting new pictures).
constexpr std::size_t kMaxEntries = 48;

// Never destroyed: the engine's destructor may empty it during the exit's
// static destruction, after a plain static would already be gone. Emptied
// before GDI+ shuts down, so no picture outlives it.
std::vector<DecodedEntry>& Entries() {
    static auto* const entries = new std::vector<DecodedEntry>;
    return *entries;
}

// JPEG and common PNG pictures without the platform's decoders, whose first
// use under Wine loads their libraries while the program is starting.
bool DecodeDirectly(const Bytes& bytes, SkinCanvas& canvas) {
    if (LooksLikeJpeg(bytes.data(), bytes.size())) {
        const DecodedJpeg jpeg = DecodeJpeg(bytes.data(), bytes.size());
        return jpeg.bitmap && canvas.CreateFromPixels(jpeg.width, jpeg.height, jpeg.bits,
                                                      static_cast<int>(jpeg.width * 4), PixelFormat32bppRGB);
    }
    DecodedPng png;
    if (!DecodePng(bytes.data(), bytes.size(), png)) return false;
    return canvas.CreateFromPixels(png.width, png.height, png.pixels.data(), static_cast<int>(png.width * 4),
                                   PixelFormat32bppARGB);
}

}  // namespace

std::shared_ptr<const SkinCanvas> CachedPicture(const std::uint8_t* data, std::size_t size) {
    if (!data || size == 0) return nullptr;
    auto& entries = Entries();
    for (const DecodedEntry& entry : entries) {
        if (entry.bytes.size() == size && std::memcmp(entry.bytes.data(), data, size) == 0) return entry.picture;
    }
    Bytes bytes(data, data + size);
    auto canvas = std::make_shared<SkinCanvas>();
    std::shared_ptr<const SkinCanvas> picture;
    if (DecodeDirectly(bytes, *canvas) || canvas->CreateFromBytes(bytes)) picture = std::move(canvas);
    if (entries.size() >= kMaxEntries) entries.erase(entries.begin());
    entries.push_back(DecodedEntry{std::move(bytes), picture});
    return picture;
}

std::shared_ptr<const SkinCanvas> CachedPicture(const Bytes& bytes) { return CachedPicture(bytes.data(), bytes.size()); }

void ForgetDecodedPictures() {
    Entries().clear();
    Entries().shrink_to_fit();
}

}  // namespace corvalin
