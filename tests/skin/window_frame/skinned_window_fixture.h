// A real top-level window handed to SkinWindow, for the tests of the skinned
// frame: its own window procedure (the one the skin subclasses) records what
// is passed on to it and keeps the system's modal move and size loops out of
// the tests by answering those requests itself.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/skin_engine.h"
#include "skin/skin_window_record.h"

namespace corvalin::testing {

// GDI+, the skin tables and the engine, once per test program.
void StartSkinForTests();
// The skin-wide settings in a known state: grey panel, no picture, no veil.
void ResetSkinSettings();

// Every test of a skinned window starts from the same settings.
class SkinTest : public ::testing::Test {
protected:
    void SetUp() override {
        StartSkinForTests();
        ResetSkinSettings();
    }
};

struct PassedMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class SkinnedWindow {
public:
    static constexpr DWORD kMinMaxStyle = WS_POPUP | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

    SkinnedWindow(int width, int height, DWORD style = kMinMaxStyle, const SkinWindowOptions& options = {},
                  bool show = true, const char* title = "");
    ~SkinnedWindow();
    SkinnedWindow(const SkinnedWindow&) = delete;
    SkinnedWindow& operator=(const SkinnedWindow&) = delete;

    HWND window() const { return window_; }
    int number() const;                 // its number in SkinWindowList, 0 once it is gone
    SkinWindowRecord& record() const;   // valid while number() is not 0
    SkinEngine& engine() const { return *TheSkinEngine; }

    // What the skin passed on to the window's own procedure.
    std::vector<PassedMessage> Passed(UINT message) const;
    void ClearPassed();

    // Sends a mouse message with client coordinates.
    LRESULT Mouse(UINT message, int x, int y, WPARAM keys = 0);
    // The centre of caption button `number` (1-based).
    POINT ButtonCentre(int number) const;

    // A pixel of the background cache, of the window on screen (through its
    // DC) and of the screen where the window's client pixel lies.
    COLORREF CachePixel(int x, int y) const;
    COLORREF WindowPixel(int x, int y) const;
    COLORREF ScreenPixel(int x, int y) const;
    // The cache as rows of pixels.
    std::vector<COLORREF> CacheSnapshot() const;

private:
    HWND window_ = nullptr;
};

// Largest channel difference of two colours.
int ColorDistance(COLORREF a, COLORREF b);
// A PNG of w x h whose pixel (x, y) is colourAt(x, y) (Windows colours).
std::vector<std::uint8_t> MakePng(int width, int height, COLORREF (*colourAt)(int x, int y, int w, int h));

}  // namespace corvalin::testing
