#include "skin/composed_layer.h"

#include <cstring>

#include "skin/decoded_pictures.h"

namespace corvalin {

bool ComposedLayerKey::SameAs(const ComposedLayerKey& other) const {
    return width == other.width && height == other.height && panelColor == other.panelColor &&
           mode == other.mode && hasPicture == other.hasPicture && SamePicture(picture, other.picture) &&
           captionGloss == other.captionGloss && captionHeight == other.captionHeight && border == other.border;
}

HDC ComposedLayer::Begin(const ComposedLayerKey& key) {
    static std::uint64_t compositions = 0;
    valid_ = false;
    generation_ = ++compositions;
    if (!surface_.CreateDib(key.width, key.height, &bits_)) return nullptr;
    key_ = key;
    valid_ = true;
    return surface_.dc();
}

bool ComposedLayer::CopyTo(void* bits) const {
    if (!valid_ || !bits_ || !bits) return false;
    GdiFlush();
    std::memcpy(bits, bits_, static_cast<std::size_t>(key_.width) * static_cast<std::size_t>(key_.height) * 4);
    return true;
}

}  // namespace corvalin
