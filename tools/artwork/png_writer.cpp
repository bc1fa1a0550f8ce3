#include "png_writer.h"
#include <zlib.h>
#include <cmath>
#include <string_view>

namespace corvalin::artwork {

namespace {

void Put32(Bytes& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v >> 24));
    out.push_back(static_cast<std::uint8_t>(v >> 16));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}
void Put16(Bytes& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}
void PutText(Bytes& out, std::string_view text) { out.insert(out.end(), text.begin(), text.end()); }

void Chunk(Bytes& out, std::string_view type, const Bytes& data) {
    Put32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    PutText(out, type);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0L, out.data() + start, static_cast<uInt>(out.size() - start));
    Put32(out, static_cast<std::uint32_t>(crc));
}

Bytes Deflate(const Bytes& data) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    Bytes out(size);
    if (compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), 9) != Z_OK) return {};
    out.resize(size);
    return out;
}

std::uint32_t S15Fixed16(double v) { return static_cast<std::uint32_t>(static_cast<std::int32_t>(std::lround(v * 65536))); }

void PutXyz(Bytes& out, double x, double y, double z) {
    PutText(out, "XYZ ");
    Put32(out, 0);
    Put32(out, S15Fixed16(x));
    Put32(out, S15Fixed16(y));
    Put32(out, S15Fixed16(z));
}

}  // namespace

Bytes DisplayProfile() {
    // Tag data first, then the header and tag table in front of it.
    struct Tag {
        const char* signature;
        Bytes data;
    };
    Bytes description;
    {
        const std::string_view text = "Corvalin skin RGB";
        PutText(description, "desc");
        Put32(description, 0);
        Put32(description, static_cast<std::uint32_t>(text.size() + 1));
        PutText(description, text);
        description.push_back(0);
        Put32(description, 0);   // no Unicode description
        Put32(description, 0);
        Put16(description, 0);   // no ScriptCode description
        description.push_back(0);
        description.insert(description.end(), 67, 0);
    }
    Bytes copyright;
    PutText(copyright, "text");
    Put32(copyright, 0);
    PutText(copyright, "No copyright, use freely");
    copyright.push_back(0);
    Bytes white, red, green, blue, curve;
    PutXyz(white, 0.9505, 1.0, 1.0891);
    // sRGB primaries adapted to the D50 connection space.
    PutXyz(red, 0.4361, 0.2225, 0.0139);
    PutXyz(green, 0.3851, 0.7169, 0.0971);
    PutXyz(blue, 0.1431, 0.0606, 0.7141);
    PutText(curve, "curv");
    Put32(curve, 0);
    Put32(curve, 1);
    Put16(curve, 0x0233);   // gamma 2.2 as u8Fixed8
    Put16(curve, 0);        // pad to four bytes

    const Tag tags[] = {{"desc", description}, {"cprt", copyright}, {"wtpt", white}, {"rXYZ", red},
                        {"gXYZ", green},       {"bXYZ", blue},      {"rTRC", curve}};
    const char* sharedCurves[] = {"gTRC", "bTRC"};
    const std::uint32_t tagCount = static_cast<std::uint32_t>(std::size(tags) + std::size(sharedCurves));
    const std::uint32_t tableSize = 4 + 12 * tagCount;

    Bytes body;
    Bytes table;
    Put32(table, tagCount);
    std::uint32_t curveOffset = 0, curveSize = 0;
    for (const Tag& tag : tags) {
        while (body.size() % 4) body.push_back(0);
        const std::uint32_t offset = 128 + tableSize + static_cast<std::uint32_t>(body.size());
        PutText(table, tag.signature);
        Put32(table, offset);
        Put32(table, static_cast<std::uint32_t>(tag.data.size()));
        body.insert(body.end(), tag.data.begin(), tag.data.end());
        if (std::string_view(tag.signature) == "rTRC") {
            curveOffset = offset;
            curveSize = static_cast<std::uint32_t>(tag.data.size());
        }
    }
    for (const char* signature : sharedCurves) {
        PutText(table, signature);
        Put32(table, curveOffset);
        Put32(table, curveSize);
    }
    while (body.size() % 4) body.push_back(0);

    Bytes profile;
    Put32(profile, static_cast<std::uint32_t>(128 + table.size() + body.size()));
    Put32(profile, 0);                // preferred CMM
    Put32(profile, 0x02100000);       // version 2.1
    PutText(profile, "mntrRGB XYZ ");
    Put16(profile, 2026);             // creation date
    Put16(profile, 1);
    Put16(profile, 1);
    Put16(profile, 0);
    Put16(profile, 0);
    Put16(profile, 0);
    PutText(profile, "acsp");
    Put32(profile, 0);                // platform
    Put32(profile, 0);                // flags
    Put32(profile, 0);                // manufacturer
    Put32(profile, 0);                // model
    Put32(profile, 0);                // attributes
    Put32(profile, 0);
    Put32(profile, 0);                // perceptual intent
    Put32(profile, 0x0000F6D6);       // D50 illuminant
    Put32(profile, 0x00010000);
    Put32(profile, 0x0000D32D);
    Put32(profile, 0);                // creator
    profile.insert(profile.end(), 128 - profile.size(), 0);
    profile.insert(profile.end(), table.begin(), table.end());
    profile.insert(profile.end(), body.begin(), body.end());
    return profile;
}

Bytes EncodePng(const Raster& raster) {
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

    Bytes header;
    Put32(header, static_cast<std::uint32_t>(raster.width));
    Put32(header, static_cast<std::uint32_t>(raster.height));
    header.push_back(8);   // bits per channel
    header.push_back(6);   // RGBA
    header.push_back(0);   // deflate
    header.push_back(0);   // adaptive filtering
    header.push_back(0);   // not interlaced
    Chunk(out, "IHDR", header);

    Bytes chromaticities;
    for (std::uint32_t v : {31270u, 32900u, 64000u, 33000u, 30000u, 60000u, 15000u, 6000u}) Put32(chromaticities, v);
    Chunk(out, "cHRM", chromaticities);

    Bytes profile;
    PutText(profile, "Corvalin skin RGB");
    profile.push_back(0);
    profile.push_back(0);   // deflate
    const Bytes packed = Deflate(DisplayProfile());
    profile.insert(profile.end(), packed.begin(), packed.end());
    Chunk(out, "iCCP", profile);

    Bytes physical;
    Put32(physical, 3780);   // 96 dpi in pixels per metre
    Put32(physical, 3780);
    physical.push_back(1);
    Chunk(out, "pHYs", physical);

    Bytes scanlines;
    scanlines.reserve(static_cast<std::size_t>(raster.height) * (1 + 4 * raster.width));
    for (int y = 0; y < raster.height; ++y) {
        scanlines.push_back(0);   // filter: none
        for (int x = 0; x < raster.width; ++x) {
            const Rgba& p = raster.At(x, y);
            scanlines.insert(scanlines.end(), {p.r, p.g, p.b, p.a});
        }
    }
    Chunk(out, "IDAT", Deflate(scanlines));
    Chunk(out, "IEND", {});
    return out;
}

}  // namespace corvalin::artwork
