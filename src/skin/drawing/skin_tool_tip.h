// A tool-tip window with one tool per caption button of its owner window.
#pragma once
#include <windows.h>
#include <string>
#include <utility>

namespace corvalin {

class SkinToolTip {
public:
    SkinToolTip() = default;
    SkinToolTip(const SkinToolTip&) = delete;
    SkinToolTip& operator=(const SkinToolTip&) = delete;
    SkinToolTip(SkinToolTip&& other) noexcept
        : window_(std::exchange(other.window_, nullptr)), owner_(std::exchange(other.owner_, nullptr)) {}
    SkinToolTip& operator=(SkinToolTip&& other) noexcept;
    ~SkinToolTip();

    // Creates the tool-tip window for the owner; returns it (null on failure).
    HWND Create(HWND owner, bool balloon = false);
    bool AddTool(UINT_PTR id, const RECT& rect, const std::string& text);
    bool SetToolRect(UINT_PTR id, const RECT& rect);
    bool UpdateText(UINT_PTR id, const std::string& text);
    // Takes a tip that is showing off the screen.
    void Hide();
    HWND Window() const { return window_; }
    HWND Owner() const { return owner_; }

private:
    HWND window_ = nullptr;
    HWND owner_ = nullptr;
};

}  // namespace corvalin
