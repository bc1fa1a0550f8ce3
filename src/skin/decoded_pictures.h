// Pictures decoded once. The skin draws the same few encoded pictures (the
// window picture, the caption and control glyphs) on every rebuild, every
// control paint and every hover step; decoding them each time cost more than
// all the drawing around them.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

#include "base/text.h"
#include "skin/drawing/skin_image.h"

namespace corvalin {

// The picture that `bytes` encode, decoded (null when they do not decode).
// Pictures are matched by content, so a buffer changed in place is decoded
// again. A caller that holds the result keeps it alive and unique: while it is
// held, no other content answers with the same object.
std::shared_ptr<const SkinCanvas> CachedPicture(const Bytes& bytes);
std::shared_ptr<const SkinCanvas> CachedPicture(const std::uint8_t* data, std::size_t size);

// True when both name the same decoded picture object (both none included),
// not merely one at the same address.
inline bool SamePicture(const std::weak_ptr<const SkinCanvas>& a, const std::weak_ptr<const SkinCanvas>& b) {
    return !a.owner_before(b) && !b.owner_before(a);
}

// Drops every decoded picture (before GDI+ shuts down).
void ForgetDecodedPictures();

}  // namespace corvalin
