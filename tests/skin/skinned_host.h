// A skinned top-level window for the control-family tests: registered in the
// skin's window list with a background cache holding a known pattern, so that
// every pixel a control shows can be compared with the skin behind it. Its
// window procedure answers owner drawing and the colour messages as a skinned
// window does.
#pragma once
#include <windows.h>

#include <vector>

namespace corvalin::testing {

// Starts GDI+ and the skin engine once for the test program.
void EnsureSkinEngine();

// The skin-wide settings, put back as they were when the scope ends, so a test
// that skins leaves the module as the next test expects it.
class SkinSettingsScope {
public:
    SkinSettingsScope();
    ~SkinSettingsScope();
    SkinSettingsScope(const SkinSettingsScope&) = delete;
    SkinSettingsScope& operator=(const SkinSettingsScope&) = delete;
private:
    int firstSize_, transparentControls_, veilAlpha_, veilOn_, trackbarOption_, backMode_;
    COLORREF accent_, backColor_;
    std::vector<unsigned char> backPicture_;
};

class SkinnedHost {
public:
    SkinnedHost(int width = 320, int height = 200);
    ~SkinnedHost();
    SkinnedHost(const SkinnedHost&) = delete;
    SkinnedHost& operator=(const SkinnedHost&) = delete;

    HWND window() const { return window_; }
    int number() const;   // its number in the window list
    // A child control at client (x, y); the parent is the host unless given.
    HWND AddChild(const char* className, const char* text, DWORD style, int x, int y, int w, int h,
                  HWND parent = nullptr, DWORD exStyle = 0);
    // The skin behind client pixel (x, y) of the host.
    static COLORREF Background(int x, int y);
    // WM_COMMAND notification codes the host received, in order.
    const std::vector<WORD>& commands() const;

private:
    SkinSettingsScope settings_;
    HWND window_ = nullptr;
};

// Pixel (x, y) of a window's client area as it is on screen.
COLORREF ScreenPixel(HWND window, int x, int y);
// `background` under white at `alpha`, as GDI+ blends it.
COLORREF Veiled(COLORREF background, int alpha);
// Largest difference of one colour channel.
int ColorDistance(COLORREF a, COLORREF b);
// The mouse moved to client point (x, y) of a window, through the input queue.
void MoveMouseTo(HWND window, int x, int y);
void PressLeftButton();
void ReleaseLeftButton();
// Paints everything pending.
void Settle(int milliseconds = 50);

}  // namespace corvalin::testing
