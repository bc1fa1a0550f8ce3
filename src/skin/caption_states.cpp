#include "skin/caption_states.h"

#include "skin/decoded_pictures.h"

namespace corvalin {
namespace {

// Hover steps use nine intensities and a press one more look per button;
// past this many something keeps changing, and the looks start over.
constexpr std::size_t kMaxLooks = 64;

bool SameRect(const SkinRectF& a, const SkinRectF& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

bool SameLook(const CaptionButtonLook& a, const CaptionButtonLook& b) {
    return a.kind == b.kind && SameRect(a.rect, b.rect) && a.width == b.width && a.height == b.height &&
           a.hasGlyph == b.hasGlyph && SamePicture(a.glyph, b.glyph);
}

}  // namespace

bool CaptionTitleKey::SameAs(const CaptionTitleKey& other) const {
    return background == other.background && text == other.text && fontName == other.fontName &&
           fontSize == other.fontSize && fontStyle == other.fontStyle && color == other.color &&
           haloColor == other.haloColor && border == other.border && icon == other.icon &&
           EqualRect(&area, &other.area);
}

bool CaptionButtonsKey::SameAs(const CaptionButtonsKey& other) const {
    if (background != other.background || stripX != other.stripX || stripY != other.stripY ||
        stripWidth != other.stripWidth || stripHeight != other.stripHeight || accent != other.accent ||
        afterTitle != other.afterTitle || buttons.size() != other.buttons.size())
        return false;
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (!SameLook(buttons[i], other.buttons[i])) return false;
    return true;
}

const PixelPatch* CaptionStates::FindTitle(const CaptionTitleKey& key) const {
    return !title_.empty() && titleKey_.SameAs(key) ? &title_ : nullptr;
}

void CaptionStates::KeepTitle(const CaptionTitleKey& key, const DibPixels& cache, const RECT& rect) {
    titleKey_ = key;
    title_.Take(cache, rect);
}

const PixelPatch* CaptionStates::FindButtons(const CaptionButtonsKey& key) const {
    return !buttons_.empty() && buttonsKey_.SameAs(key) ? &buttons_ : nullptr;
}

void CaptionStates::KeepButtons(const CaptionButtonsKey& key, const DibPixels& cache, const RECT& rect) {
    buttonsKey_ = key;
    buttons_.Take(cache, rect);
}

const PixelPatch* CaptionStates::FindLook(const CaptionButtonsKey& key, int button, bool pressed,
                                          int intensity) const {
    if (looks_.empty() || !looksKey_.SameAs(key)) return nullptr;
    for (const Look& look : looks_)
        if (look.button == button && look.pressed == pressed && look.intensity == intensity) return &look.pixels;
    return nullptr;
}

void CaptionStates::KeepLook(const CaptionButtonsKey& key, int button, bool pressed, int intensity,
                             const DibPixels& cache, const RECT& rect) {
    if (!looksKey_.SameAs(key) || looks_.size() >= kMaxLooks) {
        looks_.clear();
        looksKey_ = key;
    }
    Look look{button, pressed, intensity, PixelPatch{}};
    if (look.pixels.Take(cache, rect)) looks_.push_back(std::move(look));
}

void CaptionStates::Forget() {
    title_.Clear();
    buttons_.Clear();
    looks_.clear();
    copiedFrom = 0;
}

}  // namespace corvalin
