#include "skin/skinned_host.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "skin/families/control_families.h"
#include "skin/families/family_painting.h"
#include "skin/skin_engine.h"
#include "skin/skin_settings.h"
#include "skin/skin_window_list.h"
#include "support/message_pump.h"

namespace corvalin::testing {
namespace {

constexpr char kHostClass[] = "CorvalinSkinnedHost";
std::vector<WORD> hostCommands;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const int n = FindWindowRecord(window);
    switch (message) {
    case WM_DRAWITEM:
        if (n) DrawOwnerButton(n, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        if (!SkinVeilOn || !SkinTransparentControls) break;
        if (HasWindowClass(GetParent(reinterpret_cast<HWND>(lParam)), "ComboBox")) break;
        return reinterpret_cast<LRESULT>(StaticControlColor(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)));
    case WM_CTLCOLORLISTBOX:
        if (!SkinVeilOn || !SkinTransparentControls || !HasWindowClass(reinterpret_cast<HWND>(lParam), "ListBox")) break;
        if (GetWindowLongA(reinterpret_cast<HWND>(lParam), GWL_STYLE) & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) break;
        return reinterpret_cast<LRESULT>(PlainControlColor(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)));
    case WM_CTLCOLORBTN:
        if (!SkinVeilOn || !SkinTransparentControls) break;
        return reinterpret_cast<LRESULT>(PlainControlColor(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)));
    case WM_COMMAND:
        hostCommands.push_back(HIWORD(wParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        if (n) {
            const SkinWindowRecord& record = WindowRecord(n);
            RECT client;
            GetClientRect(window, &client);
            BitBlt(dc, 0, 0, client.right, client.bottom, record.backgroundCache.dc(), 0, 0, SRCCOPY);
        }
        EndPaint(window, &ps);
        return 0;
    }
    case WM_NCDESTROY:
        UnskinWindow(window);
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterHostClass() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kHostClass;
    RegisterClassA(&wc);
    registered = true;
}

// The cache: a pattern dark enough that veils and glass show clearly.
void PaintPattern(HDC dc, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const COLORREF c = SkinnedHost::Background(x, y);
            pixels[static_cast<std::size_t>(y) * width + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    SetDIBitsToDevice(dc, 0, 0, width, height, 0, 0, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
}

}  // namespace

void EnsureSkinEngine() {
    if (!SkinGdiplusToken) {
        CreateSkinTables();
        InitializeSkinModule();
    }
    if (!TheSkinEngine) TheSkinEngine = std::make_unique<SkinEngine>();
}

SkinSettingsScope::SkinSettingsScope()
    : firstSize_(SkinFirstSize), transparentControls_(SkinTransparentControls), veilAlpha_(SkinVeilAlpha), veilOn_(SkinVeilOn),
      trackbarOption_(SkinTrackbarOption), backMode_(SkinBackMode), accent_(SkinAccentColor),
      backColor_(SkinBackColor), backPicture_(SkinBackPicture) {}

SkinSettingsScope::~SkinSettingsScope() {
    SkinFirstSize = firstSize_;
    SkinTransparentControls = transparentControls_;
    SkinVeilAlpha = veilAlpha_;
    SkinVeilOn = veilOn_;
    SkinTrackbarOption = trackbarOption_;
    SkinBackMode = backMode_;
    SkinAccentColor = accent_;
    SkinBackColor = backColor_;
    SkinBackPicture = backPicture_;
}

SkinnedHost::SkinnedHost(int width, int height) {
    EnsureSkinEngine();
    RegisterHostClass();
    hostCommands.clear();
    SkinTransparentControls = 1;
    SkinVeilOn = 1;
    SkinVeilAlpha = 75;
    window_ = CreateWindowExA(WS_EX_TOPMOST, kHostClass, "host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40, width,
                              height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SkinWindowRecord record;
    record.window = window_;
    record.backgroundCache.Create(width, height);
    PaintPattern(record.backgroundCache.dc(), width, height);
    const int n = AppendWindowRecord(std::move(record));
    SetPropA(window_, "Hw_lbID", reinterpret_cast<HANDLE>(static_cast<INT_PTR>(n)));
    SetForegroundWindow(window_);
    InvalidateRect(window_, nullptr, TRUE);
    Settle();
}

SkinnedHost::~SkinnedHost() {
    if (window_) DestroyWindow(window_);
    Settle(10);
}

int SkinnedHost::number() const { return FindWindowRecord(window_); }

HWND SkinnedHost::AddChild(const char* className, const char* text, DWORD style, int x, int y, int w, int h,
                           HWND parent, DWORD exStyle) {
    return CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h,
                           parent ? parent : window_, nullptr, GetModuleHandleA(nullptr), nullptr);
}

COLORREF SkinnedHost::Background(int x, int y) {
    return RGB(30 + (x % 64) * 2, 50 + (y % 64) * 2, 90);
}

const std::vector<WORD>& SkinnedHost::commands() const { return hostCommands; }

COLORREF ScreenPixel(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return c;
}

COLORREF Veiled(COLORREF background, int alpha) {
    auto blend = [alpha](int c) { return c + ((255 - c) * alpha + 127) / 255; };
    return RGB(blend(GetRValue(background)), blend(GetGValue(background)), blend(GetBValue(background)));
}

int ColorDistance(COLORREF a, COLORREF b) {
    return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                     std::abs(GetBValue(a) - GetBValue(b))});
}

void MoveMouseTo(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = (p.x * 65535 + GetSystemMetrics(SM_CXSCREEN) / 2) / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = (p.y * 65535 + GetSystemMetrics(SM_CYSCREEN) / 2) / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
    Settle();
}

static void SendButton(DWORD flag) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flag;
    SendInput(1, &input, sizeof input);
    Settle();
}

void PressLeftButton() { SendButton(MOUSEEVENTF_LEFTDOWN); }
void ReleaseLeftButton() { SendButton(MOUSEEVENTF_LEFTUP); }

void Settle(int milliseconds) {
    PumpMessagesFor(milliseconds);
    PumpMessagesFor(0);
}

}  // namespace corvalin::testing
