#include "base/png_decoding.h"

#include <cstring>

#include <zlib.h>

namespace corvalin {
namespace {

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::uint32_t kMaxSide = 1u << 14;   // larger ones go to the platform

std::uint32_t BigEndian32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

bool IsChunk(const std::uint8_t* type, const char* name) { return std::memcmp(type, name, 4) == 0; }

// The Paeth predictor of the PNG filters.
std::uint8_t Paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = p > a ? p - a : a - p, pb = p > b ? p - b : b - p, pc = p > c ? p - c : c - p;
    if (pa <= pb && pa <= pc) return static_cast<std::uint8_t>(a);
    return static_cast<std::uint8_t>(pb <= pc ? b : c);
}

// Undoes each row's filter in place; `stride` excludes the filter byte.
bool Unfilter(std::vector<std::uint8_t>& data, std::size_t rows, std::size_t stride, std::size_t pixelBytes) {
    const std::uint8_t* previous = nullptr;
    for (std::size_t y = 0; y < rows; ++y) {
        std::uint8_t* row = data.data() + y * (stride + 1);
        const std::uint8_t filter = row[0];
        std::uint8_t* line = row + 1;
        for (std::size_t x = 0; x < stride; ++x) {
            const int a = x >= pixelBytes ? line[x - pixelBytes] : 0;
            const int b = previous ? previous[x] : 0;
            const int c = previous && x >= pixelBytes ? previous[x - pixelBytes] : 0;
            switch (filter) {
            case 0: break;
            case 1: line[x] = static_cast<std::uint8_t>(line[x] + a); break;
            case 2: line[x] = static_cast<std::uint8_t>(line[x] + b); break;
            case 3: line[x] = static_cast<std::uint8_t>(line[x] + ((a + b) >> 1)); break;
            case 4: line[x] = static_cast<std::uint8_t>(line[x] + Paeth(a, b, c)); break;
            default: return false;
            }
        }
        previous = line;
    }
    return true;
}

}  // namespace

bool LooksLikePng(const std::uint8_t* data, std::size_t size) {
    return data && size >= sizeof kSignature && std::memcmp(data, kSignature, sizeof kSignature) == 0;
}

bool DecodePng(const std::uint8_t* data, std::size_t size, DecodedPng& out) {
    out = DecodedPng{};
    if (!LooksLikePng(data, size)) return false;
    std::uint32_t width = 0, height = 0;
    int colorType = -1;
    std::vector<std::uint8_t> compressed;
    bool ended = false;
    for (std::size_t at = sizeof kSignature; !ended;) {
        if (size - at < 12) return false;
        const std::uint32_t length = BigEndian32(data + at);
        if (length > size - at - 12) return false;
        const std::uint8_t* type = data + at + 4;
        const std::uint8_t* body = data + at + 8;
        const uLong crc = crc32(crc32(0L, nullptr, 0), type, length + 4);
        if (crc != BigEndian32(body + length)) return false;
        if (IsChunk(type, "IHDR")) {
            if (length != 13 || colorType != -1) return false;
            width = BigEndian32(body);
            height = BigEndian32(body + 4);
            const int depth = body[8], compression = body[10], filter = body[11], interlace = body[12];
            colorType = body[9];
            const bool plain = colorType == 0 || colorType == 2 || colorType == 4 || colorType == 6;
            if (depth != 8 || !plain || compression != 0 || filter != 0 || interlace != 0) return false;
            if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) return false;
        } else if (colorType == -1) {
            return false;   // IHDR comes first
        } else if (IsChunk(type, "IDAT")) {
            compressed.insert(compressed.end(), body, body + length);
        } else if (IsChunk(type, "IEND")) {
            ended = true;
        } else if (IsChunk(type, "tRNS") || IsChunk(type, "sBIT") || !(type[0] & 0x20)) {
            return false;   // transparency keys, and critical chunks this reader does not know
        }
        // Other ancillary chunks (colour profiles, gamma, text) are ignored, as
        // the platform ignores them when it loads without colour management.
        at += 12 + length;
    }
    const std::size_t channels = colorType == 6 ? 4 : colorType == 2 ? 3 : colorType == 4 ? 2 : 1;
    const std::size_t stride = width * channels;
    std::vector<std::uint8_t> raw((stride + 1) * height);
    uLongf rawSize = static_cast<uLongf>(raw.size());
    if (compressed.empty() ||
        uncompress(raw.data(), &rawSize, compressed.data(), static_cast<uLong>(compressed.size())) != Z_OK ||
        rawSize != raw.size()) {
        return false;
    }
    if (!Unfilter(raw, height, stride, channels)) return false;
    out.pixels.resize(static_cast<std::size_t>(width) * height);
    for (std::size_t y = 0; y < height; ++y) {
        const std::uint8_t* s = raw.data() + y * (stride + 1) + 1;
        std::uint32_t* d = out.pixels.data() + y * width;
        for (std::size_t x = 0; x < width; ++x, s += channels) {
            std::uint32_t r, g, b, a = 255;
            if (channels >= 3) {
                r = s[0], g = s[1], b = s[2];
                if (channels == 4) a = s[3];
            } else {
                r = g = b = s[0];
                if (channels == 2) a = s[1];
            }
            d[x] = (a << 24) | (r << 16) | (g << 8) | b;
        }
    }
    out.width = static_cast<long>(width);
    out.height = static_cast<long>(height);
    return true;
}

}  // namespace corvalin
