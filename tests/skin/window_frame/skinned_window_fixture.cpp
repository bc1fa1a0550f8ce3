#include "skin/window_frame/skinned_window_fixture.h"

#include <objidl.h>
#include <gdiplus.h>

#include <mutex>

#include "skin/drawing/drawing_objects.h"
#include "skin/skin_settings.h"
#include "skin/skin_window_list.h"
#include "support/message_pump.h"

namespace corvalin::testing {
namespace {

constexpr const char* kClassName = "CorvalinSkinnedWindowTest";

struct WindowLog {
    HWND window;
    std::vector<PassedMessage> messages;
};
std::vector<WindowLog> logs;

std::vector<PassedMessage>* LogOf(HWND window) {
    for (auto& log : logs) {
        if (log.window == window) return &log.messages;
    }
    return nullptr;
}

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (auto* log = LogOf(window)) log->push_back({message, wParam, lParam});
    switch (message) {
    case WM_NCLBUTTONDOWN:
        if (wParam == HTCAPTION) return 0;   // the move loop would wait for a real mouse
        break;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_SIZE || (wParam & 0xFFF0) == SC_MOVE) return 0;
        break;
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(GetStockObject(GRAY_BRUSH));
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterTestClass() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = TestWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassName;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    RegisterClassA(&wc);
}

}  // namespace

void StartSkinForTests() {
    static std::once_flag once;
    std::call_once(once, [] {
        CreateSkinTables();
        TheSkinEngine = std::make_unique<SkinEngine>();
        InitializeSkinModule();
        RegisterTestClass();
        ResetSkinSettings();
    });
}

void ResetSkinSettings() {
    SkinFirstSize = 0;
    SkinTransparentControls = 1;
    SkinVeilAlpha = kDefaultVeilAlpha;
    SkinVeilOn = 0;
    SkinAccentColor = kDefaultAccentColor;
    SkinBackColor = RGB(100, 100, 100);
    SkinBackPicture.clear();
    SkinBackMode = 0;
}

SkinnedWindow::SkinnedWindow(int width, int height, DWORD style, const SkinWindowOptions& options, bool show,
                             const char* title) {
    StartSkinForTests();
    window_ = CreateWindowExA(0, kClassName, title, style, 40, 40, width, height, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    logs.push_back({window_, {}});
    TheSkinEngine->SkinWindow(window_, options);
    if (show) {
        ShowWindow(window_, SW_SHOWNOACTIVATE);
        UpdateWindow(window_);
        PumpMessagesFor(30);
    }
}

SkinnedWindow::~SkinnedWindow() {
    if (IsWindow(window_)) DestroyWindow(window_);
    for (auto it = logs.begin(); it != logs.end(); ++it) {
        if (it->window == window_) {
            logs.erase(it);
            break;
        }
    }
}

int SkinnedWindow::number() const { return FindWindowRecord(window_); }
SkinWindowRecord& SkinnedWindow::record() const { return WindowRecord(number()); }

std::vector<PassedMessage> SkinnedWindow::Passed(UINT message) const {
    std::vector<PassedMessage> found;
    if (auto* log = LogOf(window_)) {
        for (const auto& m : *log) {
            if (m.message == message) found.push_back(m);
        }
    }
    return found;
}

void SkinnedWindow::ClearPassed() {
    if (auto* log = LogOf(window_)) log->clear();
}

LRESULT SkinnedWindow::Mouse(UINT message, int x, int y, WPARAM keys) {
    return SendMessageA(window_, message, keys, MAKELPARAM(static_cast<short>(x), static_cast<short>(y)));
}

POINT SkinnedWindow::ButtonCentre(int number) const {
    const SkinRectF& r = record().captionButtons[number - 1].rect;
    return POINT{static_cast<LONG>(r.x + 13), static_cast<LONG>(r.y + r.height / 2)};
}

COLORREF SkinnedWindow::CachePixel(int x, int y) const { return GetPixel(record().backgroundCache.dc(), x, y); }

COLORREF SkinnedWindow::WindowPixel(int x, int y) const {
    HDC dc = GetDC(window_);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window_, dc);
    return c;
}

COLORREF SkinnedWindow::ScreenPixel(int x, int y) const {
    POINT p{x, y};
    ClientToScreen(window_, &p);
    HDC dc = GetDC(nullptr);
    const COLORREF c = GetPixel(dc, p.x, p.y);
    ReleaseDC(nullptr, dc);
    return c;
}

std::vector<COLORREF> SkinnedWindow::CacheSnapshot() const {
    RECT client{};
    GetClientRect(window_, &client);
    std::vector<COLORREF> pixels;
    pixels.reserve(static_cast<std::size_t>(client.right * client.bottom));
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) pixels.push_back(CachePixel(x, y));
    }
    return pixels;
}

int ColorDistance(COLORREF a, COLORREF b) {
    const int dr = std::abs(GetRValue(a) - GetRValue(b)), dg = std::abs(GetGValue(a) - GetGValue(b)),
              db = std::abs(GetBValue(a) - GetBValue(b));
    return std::max(dr, std::max(dg, db));
}

std::vector<std::uint8_t> MakePng(int width, int height, COLORREF (*colourAt)(int x, int y, int w, int h)) {
    StartSkinForTests();
    SkinCanvas canvas(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF c = colourAt(x, y, width, height);
            gdip::GdipBitmapSetPixel(canvas.Bitmap(), x, y,
                                     0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
        }
    }
    return canvas.EncodeToBytes(kPngFormat);
}

}  // namespace corvalin::testing
