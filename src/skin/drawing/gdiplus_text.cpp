#include "skin/drawing/gdiplus_text.h"
#include <windows.h>

namespace corvalin {

std::wstring ToGdiplusText(std::string_view ansi) {
    if (ansi.empty()) return {};
    const int size = static_cast<int>(ansi.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, wide.data(), length);
    // A NUL inside the text ends it, as lstrlenW would.
    wide.resize(wcsnlen(wide.c_str(), wide.size()));
    return wide;
}

std::string FromGdiplusText(const wchar_t* wide) {
    if (!wide || !*wide) return {};
    const int length = WideCharToMultiByte(CP_OEMCP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) return {};
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_OEMCP, 0, wide, -1, text.data(), length, nullptr, nullptr);
    text.resize(static_cast<std::size_t>(length) - 1);
    return text;
}

}  // namespace corvalin
