#include "skin/composed_layer.h"

#include <cstring>

namespace corvalin {

bool ComposedLayerKey::SameAs(const ComposedLayerKey& other) const {
    // The same decoded picture object, not merely one at the same address.
    const bool samePicture = !picture.owner_before(other.picture) && !other.picture.owner_before(picture);
    return width == other.width && height == other.height && panelColor == other.panelColor &&
           mode == other.mode && hasPicture == other.hasPicture && samePicture &&
           captionGloss == other.captionGloss && captionHeight == other.captionHeight && border == other.border;
}

HDC ComposedLayer::Begin(const ComposedLayerKey& key) {
    valid_ = false;
    if (!surface_.CreateDib(key.width, key.height, &bits_)) return nullptr;
    key_ = key;
    valid_ = true;
    return surface_.dc();
}

void ComposedLayer::CopyTo(void* bits) const {
    if (!valid_ || !bits_ || !bits) return;
    GdiFlush();
    std::memcpy(bits, bits_, static_cast<std::size_t>(key_.width) * static_cast<std::size_t>(key_.height) * 4);
}

}  // namespace corvalin
