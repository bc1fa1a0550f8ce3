// The caption's composed pixels kept between rebuilds and hover steps: the
// title and the caption buttons as a rebuild draws them, and each button's
// hot and pressed looks as a hover step draws them. Each is kept with
// everything its pixels depend on, the background under it included (the
// static layer it was composed over), so an unchanged key gives back exactly
// the pixels drawing would make, and any change draws afresh.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "skin/drawing/skin_graphics.h"
#include "skin/drawing/skin_image.h"
#include "skin/pixel_patch.h"

namespace corvalin {

// What the title depends on beside the background.
struct CaptionTitleKey {
    std::uint64_t background = 0;   // generation of the static layer under it
    std::string text;
    std::string fontName;
    int fontSize = 0;
    int fontStyle = 0;
    COLORREF color = 0;
    COLORREF haloColor = 0;
    int border = 0;
    HICON icon = nullptr;
    RECT area{};

    bool SameAs(const CaptionTitleKey& other) const;
};

struct CaptionButtonLook {
    int kind = 0;
    SkinRectF rect;
    int width = 0;
    int height = 0;
    std::weak_ptr<const SkinCanvas> glyph;   // the decoded glyph shown; expired and empty for none
    bool hasGlyph = false;
};

// What the caption buttons depend on beside the caption copy they restore from.
struct CaptionButtonsKey {
    std::uint64_t background = 0;   // generation of the static layer the caption copy came from
    int stripX = 0, stripY = 0, stripWidth = 0, stripHeight = 0;
    COLORREF accent = 0;
    bool afterTitle = false;        // a rebuild draws them after the title has reset the clip
    std::vector<CaptionButtonLook> buttons;

    bool SameAs(const CaptionButtonsKey& other) const;
};

class CaptionStates {
public:
    // The title as a rebuild drew it for `key`; null when it must be drawn.
    const PixelPatch* FindTitle(const CaptionTitleKey& key) const;
    void KeepTitle(const CaptionTitleKey& key, const DibPixels& cache, const RECT& rect);

    // The buttons in their normal look as a rebuild drew them.
    const PixelPatch* FindButtons(const CaptionButtonsKey& key) const;
    void KeepButtons(const CaptionButtonsKey& key, const DibPixels& cache, const RECT& rect);

    // One button's look at a hover intensity, or pressed, drawn outside a rebuild.
    const PixelPatch* FindLook(const CaptionButtonsKey& key, int button, bool pressed, int intensity) const;
    void KeepLook(const CaptionButtonsKey& key, int button, bool pressed, int intensity, const DibPixels& cache,
                  const RECT& rect);

    // The static layer a rebuild took the caption copy from.
    std::uint64_t copiedFrom = 0;

    void Forget();

private:
    struct Look {
        int button;
        bool pressed;
        int intensity;
        PixelPatch pixels;
    };
    CaptionTitleKey titleKey_;
    PixelPatch title_;
    CaptionButtonsKey buttonsKey_;
    PixelPatch buttons_;
    CaptionButtonsKey looksKey_;
    std::vector<Look> looks_;
};

class SkinEngine;

// A rebuild's caption buttons in their normal look: drawn, or put back as the
// last rebuild over the same caption copy drew them.
void DrawRestingCaptionButtons(SkinEngine& engine, int windowIndex, SkinGraphics& graphics, bool afterTitle);

}  // namespace corvalin
