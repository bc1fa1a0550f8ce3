#include "skin/drawing/skin_tool_tip.h"
#include <commctrl.h>

#include "skin/common_controls.h"

namespace corvalin {

namespace {

// The original tool structure (cbSize up to lpszText): the size every
// comctl32 version accepts, right for each build's own pointer width.
TOOLINFOA ToolInfo(HWND owner, UINT_PTR id, const RECT& rect, const char* text) {
    TOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.uFlags = TTF_SUBCLASS;
    info.hwnd = owner;
    info.uId = id;
    info.rect = rect;
    info.hinst = nullptr;
    info.lpszText = const_cast<char*>(text);
    return info;
}

}  // namespace

SkinToolTip& SkinToolTip::operator=(SkinToolTip&& other) noexcept {
    if (this != &other) {
        if (window_) DestroyWindow(window_);
        window_ = std::exchange(other.window_, nullptr);
        owner_ = std::exchange(other.owner_, nullptr);
    }
    return *this;
}

SkinToolTip::~SkinToolTip() {
    if (window_) DestroyWindow(window_);
}

HWND SkinToolTip::Create(HWND owner, bool balloon) {
    if (window_) DestroyWindow(window_);
    if (!CommonControls()) return nullptr;
    owner_ = owner;
    window_ = CreateWindowExA(0, "ToolTips_class32", "", TTS_ALWAYSTIP | (balloon ? TTS_BALLOON : 0), CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, GetModuleHandleA(nullptr),
                              nullptr);
    return window_;
}

void SkinToolTip::Hide() {
    if (window_) SendMessageA(window_, TTM_POP, 0, 0);
}

bool SkinToolTip::AddTool(UINT_PTR id, const RECT& rect, const std::string& text) {
    if (!window_) return false;
    TOOLINFOA info = ToolInfo(owner_, id, rect, text.c_str());
    return SendMessageA(window_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

bool SkinToolTip::SetToolRect(UINT_PTR id, const RECT& rect) {
    if (!window_) return false;
    TOOLINFOA info = ToolInfo(owner_, id, rect, nullptr);
    SendMessageA(window_, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&info));
    return true;
}

bool SkinToolTip::UpdateText(UINT_PTR id, const std::string& text) {
    if (!window_) return false;
    TOOLINFOA info = ToolInfo(owner_, id, RECT{}, text.c_str());
    SendMessageA(window_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
    return true;
}

}  // namespace corvalin
