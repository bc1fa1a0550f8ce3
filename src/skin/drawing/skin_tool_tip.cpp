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
    info.hwnd = owner;
    info.uId = id;
    info.rect = rect;
    info.hinst = nullptr;
    info.lpszText = const_cast<char*>(text);
    return info;
}

}  // namespace

bool IsToolTipMouseMessage(UINT message) {
    switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: return true;
    default: return false;
    }
}

SkinToolTip& SkinToolTip::operator=(SkinToolTip&& other) noexcept {
    if (this != &other) {
        Destroy();
        window_ = std::exchange(other.window_, nullptr);
        owner_ = std::exchange(other.owner_, nullptr);
        balloon_ = other.balloon_;
        tools_ = std::move(other.tools_);
    }
    return *this;
}

SkinToolTip::~SkinToolTip() { Destroy(); }

void SkinToolTip::Destroy() {
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
}

void SkinToolTip::Create(HWND owner, bool balloon) {
    Destroy();
    tools_.clear();
    owner_ = owner;
    balloon_ = balloon;
}

HWND SkinToolTip::Realise() {
    if (window_ || !owner_ || !CommonControls()) return window_;
    window_ = CreateWindowExA(0, "ToolTips_class32", "", TTS_ALWAYSTIP | (balloon_ ? TTS_BALLOON : 0), CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, GetModuleHandleA(nullptr),
                              nullptr);
    for (const Tool& tool : tools_) {
        TOOLINFOA info = ToolInfo(owner_, tool.id, tool.rect, tool.text.c_str());
        SendMessageA(window_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    }
    return window_;
}

SkinToolTip::Tool* SkinToolTip::FindTool(UINT_PTR id) {
    for (Tool& tool : tools_)
        if (tool.id == id) return &tool;
    return nullptr;
}

void SkinToolTip::Relay(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!owner_ || tools_.empty() || !Realise()) return;
    MSG relayed{owner_, message, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
    const DWORD at = GetMessagePos();
    relayed.pt = POINT{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    SendMessageA(window_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void SkinToolTip::Hide() {
    if (window_) SendMessageA(window_, TTM_POP, 0, 0);
}

bool SkinToolTip::AddTool(UINT_PTR id, const RECT& rect, const std::string& text) {
    if (!owner_) return false;
    if (FindTool(id)) return false;   // as comctl32 would: one tool per id
    tools_.push_back(Tool{id, rect, text});
    if (!window_) return true;
    TOOLINFOA info = ToolInfo(owner_, id, rect, text.c_str());
    return SendMessageA(window_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

bool SkinToolTip::SetToolRect(UINT_PTR id, const RECT& rect) {
    Tool* tool = FindTool(id);
    if (!tool) return false;
    tool->rect = rect;
    if (!window_) return true;
    TOOLINFOA info = ToolInfo(owner_, id, rect, nullptr);
    SendMessageA(window_, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&info));
    return true;
}

bool SkinToolTip::UpdateText(UINT_PTR id, const std::string& text) {
    Tool* tool = FindTool(id);
    if (!tool) return false;
    if (tool->text == text) return true;
    tool->text = text;
    if (!window_) return true;
    TOOLINFOA info = ToolInfo(owner_, id, RECT{}, text.c_str());
    SendMessageA(window_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
    return true;
}

}  // namespace corvalin
