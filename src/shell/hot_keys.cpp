#include "shell/hot_keys.h"

#include "shell/loaded_window.h"

namespace corvalin::shell {
namespace {

int nextHotKeyId = 33001;
HWND hotKeyLabel = nullptr;

}  // namespace

int RegisterLabelHotKey(HWND window, HWND label, int modifiers, int virtualKey) {
    const int identifier = nextHotKeyId++;
    hotKeyLabel = label;
    UINT flags = 0;
    if (modifiers & 1) flags |= MOD_CONTROL;
    if (modifiers & 2) flags |= MOD_SHIFT;
    if (modifiers & 4) flags |= MOD_ALT;
    return RegisterHotKey(window, identifier, flags, static_cast<UINT>(virtualKey)) ? identifier : 0;
}

void DeliverHotKey(int identifier) {
    if (hotKeyLabel && IsWindow(hotKeyLabel)) SendMessageA(hotKeyLabel, LabelFeedbackMessage(), identifier, 0);
}

}  // namespace corvalin::shell
