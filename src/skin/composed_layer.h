// A skinned window's static layer: the panel, the picture and the border,
// composed once for a size and the settings that decide them. A rebuild
// copies it into the new background bitmap and draws only the title, the
// caption buttons and the menu bar over it.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>

#include "skin/drawing/skin_image.h"
#include "skin/skin_surface.h"

namespace corvalin {

// What the static layer depends on.
struct ComposedLayerKey {
    int width = 0;
    int height = 0;
    COLORREF panelColor = 0;
    int mode = 0;
    std::weak_ptr<const SkinCanvas> picture;   // the decoded picture; expired and empty for none
    bool hasPicture = false;
    int captionGloss = 0;
    int captionHeight = 0;
    bool border = false;

    bool SameAs(const ComposedLayerKey& other) const;
};

class ComposedLayer {
public:
    // True when the layer was composed for `key`.
    bool Matches(const ComposedLayerKey& key) const { return valid_ && key_.SameAs(key); }
    // A cleared layer of the key's size to compose into; null on failure.
    HDC Begin(const ComposedLayerKey& key);
    // Copies the composed pixels into a bitmap of the same size and layout;
    // false when no layer is composed.
    bool CopyTo(void* bits) const;
    void Forget() { valid_ = false; }
    // Names this composition: a new one for every Begin, of any window, so
    // what was drawn over a layer can be kept under its generation.
    std::uint64_t generation() const { return generation_; }

    // The size the window's region was last made for.
    SIZE regionSize{};

private:
    ComposedLayerKey key_;
    SkinMemorySurface surface_;
    void* bits_ = nullptr;
    bool valid_ = false;
    std::uint64_t generation_ = 0;
};

}  // namespace corvalin
