#include "skin/skin_application.h"

#include <memory>

#include "shell/loaded_windows.h"
#include "skin/skin_engine.h"
#include "skin/skin_settings.h"

namespace corvalin {
namespace {

enum class Handover { Container, StaticControl };

struct HandedKind {
    const char* typeName;
    Handover to;
};

// In this order: containers first, so the controls inside them are skinned
// before the static controls that may hold them.
constexpr HandedKind kHandedKinds[] = {
    {"分组框", Handover::Container},      // group box
    {"标签", Handover::StaticControl},    // label
    {"图片框", Handover::StaticControl},  // picture box
    {"画板", Handover::StaticControl},    // drawing board
    {"选择夹", Handover::Container},      // tab control
    {"外形框", Handover::StaticControl},  // shape box
};

constexpr int kStretched = 3;

}  // namespace

void ApplySkin(shell::ControlId windowId, shell::ControlId windowUnitId, const Bytes& picture, int opacity) {
    if (!TheSkinEngine) return;
    SkinEngine& engine = *TheSkinEngine;
    engine.SetSkinPicture("", picture, std::nullopt, std::nullopt, kStretched);
    engine.SetControlVeil(1, opacity);

    const HWND window = shell::GetWindowHandle(shell::ControlRef{windowId, windowUnitId, shell::kKindWindow});
    if (!window) return;
    SkinWindowOptions options;
    options.captionButtonsActive = 1;
    options.doubleClickMaximizes = 0;
    options.titleShown = 1;
    engine.SkinWindow(window, options);

    for (const HandedKind& kind : kHandedKinds) {
        std::unique_ptr<shell::ControlList, shell::ControlListReleaser> list(
            shell::EnumerateControls(windowId, std::nullopt, std::string(kind.typeName)));
        const int count = shell::ControlListCount(list.get());
        for (int i = 0; i < count; ++i) {
            const HWND control = shell::GetWindowHandle(shell::ControlListItem(list.get(), i));
            if (!control) continue;
            if (kind.to == Handover::Container)
                engine.SkinContainer(control, std::nullopt, 0, opacity, std::nullopt);
            else
                engine.SkinStaticControl(control, std::nullopt, 0, opacity);
        }
    }
    // A window skinned from its created handler is already on the screen, its
    // controls painted in their own looks: paint it and all of them again. Its
    // first size message came before the skin was there to see it, so the next
    // one (the captcha layout growing the window) must rebuild the skin.
    if (IsWindowVisible(window)) {
        SkinFirstSize = 0;
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
}

}  // namespace corvalin
