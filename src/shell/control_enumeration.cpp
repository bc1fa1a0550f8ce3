#include <cstring>

#include "shell/conversions.h"
#include "shell/loaded_window.h"
#include "shell/loaded_windows.h"

namespace corvalin::shell {

struct ControlList {
    std::vector<ControlRef> items;
};

const char* KindTypeName(KindCode kind) {
    switch (kind) {
    case kKindPictureBox: return "图片框";
    case kKindShapeBox: return "外形框";
    case kKindDrawingBoard: return "画板";
    case kKindGroupBox: return "分组框";
    case kKindLabel: return "标签";
    case kKindTabControl: return "选择夹";
    }
    return nullptr;
}

ControlList* EnumerateControls(ControlId windowId, const std::optional<std::string>& namePrefix,
                               const std::optional<std::string>& typeName, std::optional<int> lowestTag,
                               std::optional<int> highestTag) {
    std::shared_ptr<LoadedWindow> window = FindLoadedWindow(windowId);
    if (!window) return nullptr;
    const int lowest = lowestTag.value_or(-2147483647 - 1);
    const int highest = highestTag.value_or(2147483647);
    auto list = std::make_unique<ControlList>();
    for (const auto& control : window->controls) {
        if (!control->window || !IsWindow(control->window) || GetParent(control->window) != window->window) continue;
        if (namePrefix && control->form->name.compare(0, namePrefix->size(), *namePrefix) != 0) continue;
        if (typeName) {
            const char* name = KindTypeName(control->form->kind);
            if (!name || *typeName != name) continue;
        }
        const int tag = TextToInteger(control->tag);
        if (tag < lowest || tag > highest) continue;
        list->items.push_back({windowId, control->form->id, control->form->kind});
    }
    if (list->items.empty()) return nullptr;
    return list.release();
}

int ControlListCount(const ControlList* list) { return list ? static_cast<int>(list->items.size()) : 0; }

ControlRef ControlListItem(const ControlList* list, int index) {
    if (!list || index < 0 || index >= static_cast<int>(list->items.size())) return {0, 0, kKindWindow};
    return list->items[static_cast<std::size_t>(index)];
}

void ReleaseControlList(ControlList* list) { delete list; }

}  // namespace corvalin::shell
