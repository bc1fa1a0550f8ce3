#include "skin/skin_test_environment.h"
#include <gtest/gtest.h>
#include <winternl.h>
#include <cstring>
#include <objidl.h>
#include <gdiplus.h>
#include "skin/skin_settings.h"
#include "skin/skin_window_list.h"

namespace corvalin::testing {

namespace {

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) UnskinWindow(window);
    return DefWindowProcA(window, message, wParam, lParam);
}

const char* TestWindowClass() {
    static const char* name = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = TestWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        windowClass.lpszClassName = "CorvalinSkinTestWindow";
        RegisterClassA(&windowClass);
        return "CorvalinSkinTestWindow";
    }();
    return name;
}

class SkinEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (SkinGdiplusToken) return;
        CreateSkinTables();
        InitializeSkinModule();
    }
    void TearDown() override {
        FreeSkinTables();
        ShutDownSkinGdiplus();
    }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new SkinEnvironment);

}  // namespace

HWND CreateTestWindow(HWND parent, int x, int y, int width, int height, DWORD style) {
    const DWORD kind = parent ? (WS_CHILD | WS_VISIBLE) : (WS_POPUP | WS_VISIBLE);
    return CreateWindowExA(0, TestWindowClass(), "", kind | style, x, y, width, height, parent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

HWND CreateTestControl(HWND parent, const char* className, int x, int y, int width, int height, DWORD style,
                       DWORD exStyle) {
    return CreateWindowExA(exStyle, className, "", WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

std::vector<std::uint32_t> BitmapPixels(HBITMAP bitmap, int width, int height) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return pixels;
}

HBITMAP CreatePixelBitmap(int width, int height, std::uint32_t** pixels) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    *pixels = static_cast<std::uint32_t*>(bits);
    return bitmap;
}

DWORD GdiObjectCount() {
    if (const DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return count;
    // Wine keeps GetGuiResources at 0 but fills the table the PEB points to:
    // 0x10000 entries of 24 bytes, whose type word (offset 14) is non-zero
    // while the object lives.
    using QueryProcess = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    static const auto query = reinterpret_cast<QueryProcess>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (!query || query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof(basic), nullptr) != 0) return 0;
    const auto* peb = reinterpret_cast<const std::uint8_t*>(basic.PebBaseAddress);
    const std::size_t tableOffset = sizeof(void*) == 8 ? 0xF8 : 0x94;
    const auto* table = *reinterpret_cast<const std::uint8_t* const*>(peb + tableOffset);
    if (!table) return 0;
    DWORD count = 0;
    for (std::size_t i = 0; i < 0x10000; ++i) {
        USHORT type = 0;
        std::memcpy(&type, table + i * 24 + 14, sizeof(type));
        count += type != 0;
    }
    return count;
}

}  // namespace corvalin::testing
