#include "shell/hot_keys.h"

#include <utility>
#include <vector>

#include "shell/loaded_window.h"

namespace corvalin::shell {
namespace {

int nextHotKeyId = 33001;
HWND hotKeyLabel = nullptr;
// Accepted registrations, so they go with their window.
std::vector<std::pair<HWND, int>> registered;

}  // namespace

int RegisterLabelHotKey(HWND window, HWND label, int modifiers, int virtualKey) {
    const int identifier = nextHotKeyId++;
    hotKeyLabel = label;
    UINT flags = 0;
    if (modifiers & 1) flags |= MOD_CONTROL;
    if (modifiers & 2) flags |= MOD_SHIFT;
    if (modifiers & 4) flags |= MOD_ALT;
    if (!RegisterHotKey(window, identifier, flags, static_cast<UINT>(virtualKey))) return 0;
    registered.emplace_back(window, identifier);
    return identifier;
}

void ReleaseHotKeysOf(HWND window) {
    std::erase_if(registered, [window](const std::pair<HWND, int>& hotKey) {
        if (hotKey.first != window) return false;
        UnregisterHotKey(window, hotKey.second);
        return true;
    });
}

void DeliverHotKey(int identifier) {
    if (hotKeyLabel && IsWindow(hotKeyLabel)) SendMessageA(hotKeyLabel, LabelFeedbackMessage(), identifier, 0);
}

}  // namespace corvalin::shell
