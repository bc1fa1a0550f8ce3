// A tool-tip window with one tool per caption button of its owner window.
//
// The window is made when it is first needed, not with its owner: making it
// loads comctl32, which under Wine costs tens of milliseconds that a starting
// program should not spend before its window is on the screen. Until then the
// tools are kept here. The owner's mouse messages reach the tip through
// `Relay` (not by comctl32 subclassing the owner: a subclass put on after the
// skin's own would be cut off when the skin is taken off again).
#pragma once
#include <windows.h>
#include <string>
#include <utility>
#include <vector>

namespace corvalin {

class SkinToolTip {
public:
    SkinToolTip() = default;
    SkinToolTip(const SkinToolTip&) = delete;
    SkinToolTip& operator=(const SkinToolTip&) = delete;
    SkinToolTip(SkinToolTip&& other) noexcept
        : window_(std::exchange(other.window_, nullptr)),
          owner_(std::exchange(other.owner_, nullptr)),
          balloon_(other.balloon_),
          tools_(std::move(other.tools_)) {}
    SkinToolTip& operator=(SkinToolTip&& other) noexcept;
    ~SkinToolTip();

    // Names the owner whose tools this tip shows; the window comes later.
    void Create(HWND owner, bool balloon = false);
    // Makes the tip's window with every tool so far; returns it (null when
    // there is no owner or comctl32 cannot be had).
    HWND Realise();
    bool AddTool(UINT_PTR id, const RECT& rect, const std::string& text);
    bool SetToolRect(UINT_PTR id, const RECT& rect);
    bool UpdateText(UINT_PTR id, const std::string& text);
    // Passes one of the owner's mouse messages on, making the window first.
    void Relay(UINT message, WPARAM wParam, LPARAM lParam);
    // Takes a tip that is showing off the screen.
    void Hide();
    // The tip's window; null until it is realised.
    HWND Window() const { return window_; }
    HWND Owner() const { return owner_; }

private:
    struct Tool {
        UINT_PTR id;
        RECT rect;
        std::string text;
    };
    Tool* FindTool(UINT_PTR id);
    void Destroy();

    HWND window_ = nullptr;
    HWND owner_ = nullptr;
    bool balloon_ = false;
    std::vector<Tool> tools_;
};

// True for the messages a tip wants relayed: the mouse over its owner's client area.
bool IsToolTipMouseMessage(UINT message);

}  // namespace corvalin
